#include "glyphs.h"

#include <QFontMetricsF>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>
#include <vector>

namespace {

// ---- icon engine that paints on demand ----

using PaintFn = std::function<void(QPainter&, const QRectF&)>;

class PaintedIconEngine : public QIconEngine {
  public:
    explicit PaintedIconEngine(PaintFn paint) : paint_(std::move(paint)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setRenderHint(QPainter::TextAntialiasing);
        if (mode == QIcon::Disabled) painter->setOpacity(0.4);
        paint_(*painter, QRectF(rect));
        painter->restore();
    }

    // QIcon asks for size × device pixel ratio on high-DPI screens, so painting at the
    // requested size gives one picture pixel per device pixel.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        paint(&p, QRect(QPoint(0, 0), size), mode, state);
        return pm;
    }

    QIconEngine* clone() const override { return new PaintedIconEngine(paint_); }
    QString key() const override { return QStringLiteral("QuillmarkPainted"); }

  private:
    PaintFn paint_;
};

QIcon PaintedIcon(PaintFn paint) {
    return QIcon(new PaintedIconEngine(std::move(paint)));
}

// ---- formula pictures ----

// A picture is a short formula: a row of runs, each drawn in its own role.
enum class Role {
    A,         // the operand A: bold navy
    B,         // the operand B: bold green
    X,         // the coefficient x: italic maroon
    Op,        // operators and brackets: dark grey
    Fn,        // function names ("max", "det"): dark grey, slightly smaller
    SupOp,     // superscript operator text ("T", "−1")
    SupX,      // superscript coefficient
    Sub,       // subscript ("2" of the 2-norm)
    Factor,    // factor letters of a decomposition ("QR", "LU"): purple
    SupFactor  // superscript on a factor ("T" of LDLᵀ)
};

struct Run {
    Role role;
    QString text;
};
using Formula = std::vector<Run>;

QColor ColorOf(Role role) {
    switch (role) {
        case Role::A:
            return QColor(0x10, 0x2a, 0x8c);
        case Role::B:
            return QColor(0x0b, 0x6b, 0x2e);
        case Role::X:
        case Role::SupX:
            return QColor(0x80, 0x00, 0x00);
        case Role::Factor:
        case Role::SupFactor:
            return QColor(0x5a, 0x1d, 0x8a);
        default:
            return QColor(0x30, 0x30, 0x30);
    }
}

bool IsRaised(Role r) {
    return r == Role::SupOp || r == Role::SupX || r == Role::SupFactor;
}
bool IsSmall(Role r) {
    return IsRaised(r) || r == Role::Sub;
}

QFont FontOf(Role role, qreal pixelSize) {
    QFont f;
    f.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                   QStringLiteral("DejaVu Sans")});
    f.setStyleHint(QFont::SansSerif);
    qreal size = pixelSize;
    if (IsSmall(role)) size *= 0.68;
    if (role == Role::Fn) size *= 0.86;
    f.setPixelSize(qMax(1, qRound(size)));
    f.setBold(role == Role::A || role == Role::B || role == Role::Factor);
    f.setItalic(role == Role::X || role == Role::SupX);
    return f;
}

// Operand letter of a one-operand command: the command's label names it ("Det(B)").
Run Operand(bool onB) {
    return onB ? Run{Role::B, QStringLiteral("B")} : Run{Role::A, "A"};
}

// The formula for each command, by its label name.  Returns an empty formula for a name
// without a picture.
Formula FormulaFor(std::string_view name) {
    const QString minus = QStringLiteral("\u2212");
    // Two-operand and coefficient commands.
    const Run a = Operand(false), b = Operand(true);
    const Run x{Role::X, QStringLiteral("x")};
    if (name == "A+B") return {a, {Role::Op, "+"}, b};
    if (name == "A-B") return {a, {Role::Op, minus}, b};
    if (name == "A*B") return {a, {Role::Op, QStringLiteral("\u00b7")}, b};
    if (name == "A.*B") return {a, {Role::Op, QStringLiteral(".\u2217")}, b};
    if (name == "A./B") return {a, {Role::Op, "./"}, b};
    if (name == "A/B") return {a, b, {Role::SupOp, minus + "1"}};
    if (name == "A&B") return {a, {Role::Op, QStringLiteral(" \u2227 ")}, b};
    if (name == "A|B") return {a, {Role::Op, QStringLiteral(" \u2228 ")}, b};
    if (name == "A#B") return {a, {Role::Op, QStringLiteral(" \u2295 ")}, b};
    if (name == "A*x") return {x, {Role::Op, QStringLiteral("\u00b7")}, a};
    if (name == "B*x") return {x, {Role::Op, QStringLiteral("\u00b7")}, b};
    if (name == "A^x") return {a, {Role::SupX, "x"}};
    if (name == "B^x") return {b, {Role::SupX, "x"}};
    if (name == "A") return {{Role::Op, "[ "}, a, {Role::Op, " ]"}};
    if (name == "B") return {{Role::Op, "[ "}, b, {Role::Op, " ]"}};

    // One-operand commands: "<kind>(A)" / "<kind>(B)", and "A'" / "B'".
    if (name == "A'" || name == "B'") return {Operand(name[0] == 'B'), {Role::SupOp, "T"}};
    const auto open = name.find('(');
    if (open == std::string_view::npos || name.size() != open + 3 || name.back() != ')') return {};
    const bool onB = name[open + 1] == 'B';
    const std::string_view kind = name.substr(0, open);
    const Run m = Operand(onB);
    const Run eq{Role::Op, "="};
    auto fn = [](const char* text) { return Run{Role::Fn, QString::fromUtf8(text)}; };
    auto factors = [](const char* text) { return Run{Role::Factor, QString::fromUtf8(text)}; };
    if (kind == "inv") return {m, {Role::SupOp, minus + "1"}};
    if (kind == "Max") return {fn("max "), m};
    if (kind == "Min") return {fn("min "), m};
    if (kind == "Norm")
        return {{Role::Op, QStringLiteral("\u2016")},
                m,
                {Role::Op, QStringLiteral("\u2016")},
                {Role::Sub, "2"}};
    if (kind == "Dim") return {fn("dim "), m};
    if (kind == "Trace") return {fn("tr "), m};
    if (kind == "Det") return {fn("det "), m};
    if (kind == "Rank") return {fn("rank "), m};
    if (kind == "Eig") return {{Role::Fn, QStringLiteral("\u03bb(")}, m, {Role::Fn, ")"}};
    if (kind == "QR") return {m, eq, factors("QR")};
    if (kind == "LU") return {m, eq, factors("LU")};
    if (kind == "Chol") return {m, eq, factors("LDL"), {Role::SupFactor, "T"}};
    if (kind == "Svd") return {m, eq, factors("USV")};
    return {};
}

// Lays the runs out on one baseline, centred in rect; shrinks the type when the formula
// would not fit the width.
void PaintFormula(QPainter& p, const QRectF& rect, const Formula& formula) {
    qreal pixelSize = rect.height() * 0.66;
    auto widthAt = [&](qreal size) {
        qreal w = 0;
        for (const auto& run : formula)
            w += QFontMetricsF(FontOf(run.role, size)).horizontalAdvance(run.text);
        return w;
    };
    qreal width = widthAt(pixelSize);
    const qreal room = rect.width() * 0.94;
    if (width > room) {
        pixelSize *= room / width;
        width = widthAt(pixelSize);
    }
    const QFontMetricsF base(FontOf(Role::A, pixelSize));
    const qreal baseline = rect.center().y() + (base.ascent() - base.descent()) / 2;
    qreal xPos = rect.center().x() - width / 2;
    for (const auto& run : formula) {
        const QFont font = FontOf(run.role, pixelSize);
        qreal y = baseline;
        if (IsRaised(run.role)) y -= base.ascent() * 0.45;
        if (run.role == Role::Sub) y += base.descent() * 0.9;
        p.setFont(font);
        p.setPen(ColorOf(run.role));
        p.drawText(QPointF(xPos, y), run.text);
        xPos += QFontMetricsF(font).horizontalAdvance(run.text);
    }
}

// ---- tool bar pictures ----

void PaintClear(QPainter& p, const QRectF& r) {
    // A sheet with ruled lines, crossed out in red.
    const qreal s = qMin(r.width(), r.height());
    const QRectF sq(r.center().x() - s / 2, r.center().y() - s / 2, s, s);
    const QRectF sheet = sq.adjusted(s * 0.18, s * 0.08, -s * 0.18, -s * 0.08);
    p.setPen(QPen(QColor(0x50, 0x50, 0x50), qMax(1.0, s / 16)));
    p.setBrush(Qt::white);
    p.drawRect(sheet);
    p.setPen(QPen(QColor(0x70, 0x90, 0xc0), qMax(1.0, s / 20)));
    for (int i = 1; i <= 4; ++i) {
        const qreal y = sheet.top() + sheet.height() * i / 5.0;
        p.drawLine(QPointF(sheet.left() + s * 0.1, y), QPointF(sheet.right() - s * 0.1, y));
    }
    p.setPen(QPen(QColor(0xc0, 0x10, 0x10), qMax(1.5, s / 8), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(sq.topLeft() + QPointF(s * 0.22, s * 0.22),
               sq.bottomRight() - QPointF(s * 0.22, s * 0.22));
    p.drawLine(sq.topRight() + QPointF(-s * 0.22, s * 0.22),
               sq.bottomLeft() + QPointF(s * 0.22, -s * 0.22));
}

void PaintHomepage(QPainter& p, const QRectF& r) {
    // A house: roof, walls, door.
    const qreal s = qMin(r.width(), r.height());
    const QPointF o(r.center().x() - s / 2, r.center().y() - s / 2);
    auto at = [&](qreal x, qreal y) { return o + QPointF(x * s, y * s); };
    QPainterPath roof;
    roof.moveTo(at(0.08, 0.5));
    roof.lineTo(at(0.5, 0.1));
    roof.lineTo(at(0.92, 0.5));
    roof.closeSubpath();
    p.setPen(QPen(QColor(0x70, 0x10, 0x10), qMax(1.0, s / 16)));
    p.setBrush(QColor(0xc0, 0x30, 0x20));
    p.drawPath(roof);
    p.setBrush(QColor(0xf4, 0xe8, 0xc8));
    p.setPen(QPen(QColor(0x50, 0x40, 0x20), qMax(1.0, s / 16)));
    p.drawRect(QRectF(at(0.2, 0.48), at(0.8, 0.9)));
    p.setBrush(QColor(0x2a, 0x5d, 0xa8));
    p.drawRect(QRectF(at(0.42, 0.62), at(0.58, 0.9)));
}

void PaintApplicationIcon(QPainter& p, const QRectF& r) {
    const qreal s = qMin(r.width(), r.height());
    const QRectF sq(r.center().x() - s / 2, r.center().y() - s / 2, s, s);
    QLinearGradient sky(sq.topLeft(), sq.bottomLeft());
    sky.setColorAt(0, QColor(0xc8, 0xe0, 0xf8));
    sky.setColorAt(1, QColor(0x86, 0xb4, 0xe6));
    p.setPen(QPen(QColor(0x2a, 0x4a, 0x80), s / 32));
    p.setBrush(sky);
    p.drawRoundedRect(sq.adjusted(s / 32, s / 32, -s / 32, -s / 32), s / 6, s / 6);
    // Brackets and a 3 × 3 grid of dots: a matrix.
    p.setPen(QPen(QColor(0x10, 0x2a, 0x8c), s / 14, Qt::SolidLine, Qt::SquareCap));
    p.setBrush(Qt::NoBrush);
    const qreal t = s * 0.2, b = s * 0.8, l = s * 0.2, rr = s * 0.8, arm = s * 0.08;
    const QPointF o = sq.topLeft();
    p.drawPolyline(QPolygonF(
        {o + QPointF(l + arm, t), o + QPointF(l, t), o + QPointF(l, b), o + QPointF(l + arm, b)}));
    p.drawPolyline(QPolygonF({o + QPointF(rr - arm, t), o + QPointF(rr, t), o + QPointF(rr, b),
                              o + QPointF(rr - arm, b)}));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            p.setBrush(i == j ? QColor(0x80, 0x00, 0x00) : QColor(0x30, 0x30, 0x30));
            p.drawEllipse(o + QPointF(s * (0.35 + 0.15 * j), s * (0.35 + 0.15 * i)), s * 0.045,
                          s * 0.045);
        }
}

}  // namespace

bool PaintCommandGlyph(QPainter& painter, const QRectF& rect, std::string_view name) {
    const Formula formula = FormulaFor(name);
    if (formula.empty()) return false;
    PaintFormula(painter, rect, formula);
    return true;
}

QIcon CommandGlyph(std::string_view name) {
    if (FormulaFor(name).empty()) return QIcon();
    return PaintedIcon([formula = FormulaFor(name)](QPainter& p, const QRectF& r) {
        PaintFormula(p, r, formula);
    });
}

QIcon ToolBarGlyph(ToolGlyph which) {
    return PaintedIcon(which == ToolGlyph::Clear ? PaintFn(PaintClear) : PaintFn(PaintHomepage));
}

QIcon ApplicationIcon() {
    return PaintedIcon(PaintApplicationIcon);
}
