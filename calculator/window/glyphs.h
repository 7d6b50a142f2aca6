// The pictures of the calculator's buttons, the tool bar and the window icon, drawn in code
// with QPainter.  Each picture is an icon whose engine paints at whatever pixel size Qt asks
// for, so the pictures stay crisp at any device pixel ratio.
#pragma once

#include <QIcon>
#include <QRectF>
#include <string_view>

class QPainter;

// Paints the picture of the command named `name` (a CommandInfo::name such as "inv(A)" or
// "A^x") centred in `rect`.  Returns false, painting nothing, for a name without a picture
// ("AuTo", which shows a caption).
bool PaintCommandGlyph(QPainter& painter, const QRectF& rect, std::string_view name);

// The command's picture as an icon; a null icon for a name without a picture.
QIcon CommandGlyph(std::string_view name);

enum class ToolGlyph { Clear, Homepage };
QIcon ToolBarGlyph(ToolGlyph which);

// The program's icon: a bracketed matrix on a sky-blue tile.
QIcon ApplicationIcon();
