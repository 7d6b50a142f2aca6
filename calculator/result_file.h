// Saving the Result box: its lines as plain text, each ended by CR LF.
#pragma once

#include <string>

#include "text_input.h"

// Writes `lines` to `path`, replacing an existing file.  Throws
// CalcError("Cannot create file \"<path>\". <reason>") when the file cannot be created or
// written; the reason is the system's.
void SaveLines(const Lines& lines, const std::string& path);
