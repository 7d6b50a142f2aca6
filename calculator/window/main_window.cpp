#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QLinearGradient>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolBar>
#include <QToolButton>
#include <clocale>

#include "glyphs.h"
#include "result_file.h"

namespace {

const QColor kSkyBlue(0xa6, 0xca, 0xf0);
const QColor kMaroon(0x80, 0x00, 0x00);

QFont ArialFont(int pixelSize) {
    QFont f;
    f.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixelSize);
    return f;
}

// The Result box lays its numbers out in fixed-width cells, so it needs a monospaced face.
QFont ResultFont() {
    QFont f;
    f.setFamilies({QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
    f.setStyleHint(QFont::Monospace);
    f.setFixedPitch(true);
    f.setPixelSize(13);
    // Result lines are plain Latin text, often thousands of characters long: laying them
    // out without shaping and kerning makes painting a screenful several times cheaper.
    f.setStyleStrategy(QFont::PreferNoShaping);
    f.setKerning(false);
    return f;
}

// A widget filled with a soft vertical gradient around the sky-blue of the window: the
// background pictures behind the window and the side panels.
class GradientPanel : public QWidget {
  public:
    GradientPanel(QColor top, QColor bottom, QWidget* parent)
        : QWidget(parent), top_(top), bottom_(bottom) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, top_);
        g.setColorAt(1, bottom_);
        p.fillRect(rect(), g);
    }

  private:
    QColor top_, bottom_;
};

// The 8-pixel separator of the tool bar: an etched vertical line.
class ToolBarGap : public QWidget {
  public:
    explicit ToolBarGap(QWidget* parent) : QWidget(parent) { setFixedSize(8, 25); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(3, 3, 3, height() - 4);
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(4, 3, 4, height() - 4);
    }
};

QPlainTextEdit* MakeBox(QWidget* parent, const QRect& geometry, const QFont& font) {
    auto* box = new QPlainTextEdit(parent);
    box->setGeometry(geometry);
    box->setFont(font);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    return box;
}

QGroupBox* MakeGroup(const QString& title, const char* name, QWidget* parent,
                     const QRect& geometry) {
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(geometry);
    group->setFont(ArialFont(13));
    return group;
}

// A box's text as form lines: one line per text block, UTF-8.
Lines BoxLines(const QPlainTextEdit* box) {
    Lines lines;
    const QTextDocument* doc = box->document();
    lines.reserve(static_cast<std::size_t>(doc->blockCount()));
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        lines.push_back(b.text().toStdString());
    return lines;
}

QString JoinLines(const Lines& lines, std::size_t from) {
    std::string text;
    std::size_t total = 0;
    for (std::size_t i = from; i < lines.size(); ++i) total += lines[i].size() + 1;
    text.reserve(total);
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (i > from) text += '\n';
        text += lines[i];
    }
    return QString::fromStdString(text);
}

// The decimal separator of the user's locale; '.' when it is not a single ASCII character.
char LocaleDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    if (point.size() == 1 && point[0].unicode() > 32 && point[0].unicode() < 127)
        return static_cast<char>(point[0].unicode());
    return '.';
}

std::optional<QString> AskSavePath(QWidget* parent) {
    QFileDialog dialog(parent, QObject::tr("Save Result"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({QStringLiteral("Text File(*.txt)"), QStringLiteral("Rtf File(*.rtf)"),
                           QStringLiteral("All File(*.*)")});
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint) {
    // The application object sets the C library's locale from the environment; the core
    // formats and reads numbers with its own decimal separator and must see the C rules.
    std::setlocale(LC_NUMERIC, "C");
    form_.DecimalSeparator = LocaleDecimalSeparator();
    form_.OnBusyChanged = [this](bool busy) {
        // The automatic run empties the Result box right after it turns busy.  The busy
        // cursor stays until runHandler() has shown the run's lines, so the end of the
        // run is left to it.
        if (!busy) return;
        resultCleared_ = true;
        setBusy(true);
    };

    presentError_ = [this](const QString& message) {
        QMessageBox::critical(this, windowTitle(), message, QMessageBox::Ok);
    };
    chooseSavePath_ = [this] { return AskSavePath(this); };
    openUrl_ = [](const QUrl& url) { QDesktopServices::openUrl(url); };

    setWindowTitle(QStringLiteral("Quillmark"));
    setWindowIcon(ApplicationIcon());
    setFont(ArialFont(13));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kSkyBlue);
    setPalette(pal);
    setContextMenuPolicy(Qt::PreventContextMenu);  // no tool bar toggling menu

    buildMenus();
    buildToolBar();
    buildPanels();

    // The window keeps its designed size: no resizing, no maximising.
    setFixedSize(kClientWidth, kClientHeight);
}

MainWindow::~MainWindow() {
    if (busy_) QApplication::restoreOverrideCursor();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    const Qt::WindowStates grown = Qt::WindowMaximized | Qt::WindowFullScreen;
    if (windowState() & grown) {
        setWindowState(windowState() & ~grown);
        resize(kClientWidth, kClientHeight);
    }
}

// ---- construction ----

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setFixedHeight(20);
    QMenu* file = bar->addMenu(tr("&File"));
    clearAction_ = file->addAction(tr("&Clear"), this, &MainWindow::clearResult);
    clearAction_->setShortcut(QKeySequence(Qt::Key_F8));
    clearAction_->setIcon(ToolBarGlyph(ToolGlyph::Clear));
    exitAction_ = file->addAction(tr("E&xit"), this, &QWidget::close);
    exitAction_->setShortcut(QKeySequence(Qt::Key_Escape));

    QMenu* help = bar->addMenu(tr("&Help"));
    manualAction_ = help->addAction(tr("&Manual"), this, &MainWindow::openManual);
    manualAction_->setShortcut(QKeySequence(Qt::Key_F1));
    homepageAction_ = help->addAction(tr("&Homepage"), this, &MainWindow::openHomepage);
    homepageAction_->setIcon(ToolBarGlyph(ToolGlyph::Homepage));
}

void MainWindow::buildToolBar() {
    QToolBar* bar = addToolBar(tr("Tools"));
    bar->setObjectName(QStringLiteral("toolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFixedHeight(25);
    bar->setIconSize(QSize(18, 18));
    bar->setContentsMargins(0, 0, 0, 0);
    if (bar->layout() != nullptr) {
        bar->layout()->setContentsMargins(0, 0, 0, 0);
        bar->layout()->setSpacing(0);
    }
    auto addButton = [&](const QIcon& icon, const QString& hint, void (MainWindow::*slot)()) {
        auto* button = new QToolButton(bar);
        button->setIcon(icon);
        button->setToolTip(hint);
        button->setAccessibleName(hint);
        button->setAutoRaise(true);  // flat
        button->setFixedSize(25, 25);
        button->setIconSize(QSize(18, 18));
        connect(button, &QToolButton::clicked, this, slot);
        bar->addWidget(button);
        return button;
    };
    addButton(ToolBarGlyph(ToolGlyph::Clear), tr("Clear"), &MainWindow::clearResult)
        ->setObjectName(QStringLiteral("toolClear"));
    bar->addWidget(new ToolBarGap(bar));
    addButton(ToolBarGlyph(ToolGlyph::Homepage), tr("Homepage"), &MainWindow::openHomepage)
        ->setObjectName(QStringLiteral("toolHomepage"));
}

void MainWindow::buildPanels() {
    auto* central = new GradientPanel(kSkyBlue.lighter(108), kSkyBlue.darker(104), this);
    setCentralWidget(central);

    // Left panel: the two matrices, the coefficient and the precision.
    auto* left = new GradientPanel(QColor(0xd2, 0xe6, 0xfa), kSkyBlue, central);
    left->setGeometry(0, 0, 209, 506);
    QGroupBox* groupA = MakeGroup(tr("Matrix(A)"), "MatrixAGroup", left, QRect(0, 0, 209, 217));
    richEdit1_ = MakeBox(groupA, QRect(8, 24, 193, 185), ArialFont(13));
    richEdit1_->setObjectName(QStringLiteral("RichEdit1"));
    QGroupBox* groupB = MakeGroup(tr("Matrix(B)"), "MatrixBGroup", left, QRect(0, 217, 209, 224));
    richEdit2_ = MakeBox(groupB, QRect(8, 32, 193, 177), ArialFont(13));
    richEdit2_->setObjectName(QStringLiteral("RichEdit2"));

    QGroupBox* groupX =
        MakeGroup(tr("Coefficient(x)"), "CoefficientGroup", left, QRect(0, 441, 105, 65));
    edit1_ = new QLineEdit(QString::fromStdString(form_.Edit1), groupX);
    edit1_->setObjectName(QStringLiteral("Edit1"));
    edit1_->setGeometry(12, 28, 81, 24);
    edit1_->setToolTip(tr("The coefficient x of A*x, B*x and the powers"));

    QGroupBox* groupP =
        MakeGroup(tr("Precision"), "PrecisionGroup", left, QRect(104, 441, 105, 65));
    comboBox1_ = new QComboBox(groupP);
    comboBox1_->setObjectName(QStringLiteral("ComboBox1"));
    comboBox1_->setGeometry(12, 28, 81, 24);
    comboBox1_->setEditable(true);
    comboBox1_->setInsertPolicy(QComboBox::NoInsert);
    comboBox1_->setCompleter(nullptr);  // the text is exactly what the user types
    comboBox1_->addItems({"1", "2", "3", "4", "5", "6", "7", "8", "e"});
    comboBox1_->setCurrentText(QString::fromStdString(form_.ComboBox1));
    comboBox1_->setToolTip(tr("Decimal places of the results; \"e\" for the exponent form"));
    connect(comboBox1_, &QComboBox::currentTextChanged, this, &MainWindow::precisionChanged);

    // Middle panel: the command buttons.
    auto* calculate = new QGroupBox(tr("Calculate"), central);
    calculate->setObjectName(QStringLiteral("CalculateGroup"));
    calculate->setGeometry(209, 0, 223, 506);
    calculate->setFont(ArialFont(11));
    QPalette maroon = calculate->palette();
    maroon.setColor(QPalette::WindowText, kMaroon);
    calculate->setPalette(maroon);
    for (const CommandInfo& command : AllCommands()) {
        QToolButton* button = makeCommandButton(command, calculate);
        buttons_.emplace(std::string(command.name), button);
    }

    // Right panel: the Result box.
    auto* right = new GradientPanel(QColor(0xd2, 0xe6, 0xfa), kSkyBlue, central);
    right->setGeometry(432, 0, 337, 506);
    QGroupBox* groupR = MakeGroup(tr("Result"), "ResultGroup", right, QRect(0, 0, 337, 506));
    richEdit3_ = MakeBox(groupR, QRect(8, 24, 321, 473), ResultFont());
    richEdit3_->setObjectName(QStringLiteral("RichEdit3"));
    richEdit3_->setReadOnly(true);
    // The Result box is only appended to; an undo history of it would just cost memory.
    richEdit3_->setUndoRedoEnabled(false);
    // Selection and copying still work in the read-only box.
    richEdit3_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    richEdit1_->setPlainText(JoinLines(form_.RichEdit1, 0));
    richEdit2_->setPlainText(JoinLines(form_.RichEdit2, 0));
    resetResultBox();

    buildBoxMenu(richEdit1_, false);
    buildBoxMenu(richEdit2_, false);
    buildBoxMenu(richEdit3_, true);
}

// One grid button from its command data: place, size, picture, hint, handler.
QToolButton* MainWindow::makeCommandButton(const CommandInfo& command, QWidget* group) {
    auto* button = new QToolButton(group);
    const QString hint =
        QString::fromUtf8(command.hint.data(), static_cast<qsizetype>(command.hint.size()));
    const QString name =
        QString::fromUtf8(command.name.data(), static_cast<qsizetype>(command.name.size()));
    button->setObjectName(
        QString::fromUtf8(command.button.data(), static_cast<qsizetype>(command.button.size())));
    const int height = 25 + 32 * (command.rowSpan - 1);
    button->setGeometry(8 + 72 * command.column, 24 + 32 * command.row, 65, height);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setAccessibleDescription(name);
    button->setFocusPolicy(Qt::NoFocus);  // like a speed button: the boxes keep the focus
    const QIcon glyph = CommandGlyph(command.name);
    if (glyph.isNull()) {
        button->setText(name);  // "AuTo" shows its caption
        QFont bold = ArialFont(13);
        bold.setBold(true);
        button->setFont(bold);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    } else {
        button->setIcon(glyph);
        button->setIconSize(QSize(61, 21));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    const auto handler = command.handler;
    connect(button, &QToolButton::clicked, this, [this, handler] { runHandler(handler); });
    return button;
}

void MainWindow::buildBoxMenu(QPlainTextEdit* box, bool isResult) {
    auto* menu = new QMenu(box);
    menu->addAction(tr("Copy"), box, &QPlainTextEdit::copy);
    QAction* paste = menu->addAction(tr("Paste"), box, &QPlainTextEdit::paste);
    // The read-only Result box refuses pasting.
    paste->setEnabled(!isResult);
    menu->addSeparator();
    if (isResult) {
        menu->addAction(tr("Save"), this, &MainWindow::saveResult);
        menu->addSeparator();
        menu->addAction(tr("Clear"), this, &MainWindow::clearResult);
    } else {
        menu->addAction(tr("Clear"), box, &QPlainTextEdit::clear);
    }
    boxMenus_[box] = menu;
    connect(box, &QWidget::customContextMenuRequested, this,
            [box, menu](const QPoint& pos) { menu->popup(box->viewport()->mapToGlobal(pos)); });
}

QToolButton* MainWindow::commandButton(std::string_view name) const {
    const auto it = buttons_.find(name);
    return it == buttons_.end() ? nullptr : it->second;
}

QMenu* MainWindow::boxMenu(const QPlainTextEdit* box) const {
    const auto it = boxMenus_.find(box);
    return it == boxMenus_.end() ? nullptr : it->second;
}

// ---- running handlers ----

bool MainWindow::dispatch(const std::function<void()>& action, std::optional<QString>& error) {
    return Dispatch(action,
                    [&](const std::string& message) { error = QString::fromStdString(message); });
}

bool MainWindow::runHandler(void (TForm1::*handler)()) {
    copyInputsToForm();
    resultCleared_ = false;
    std::optional<QString> error;
    bool ok = false;
    {
        // However the handler ends, the busy cursor goes once its lines are shown.
        struct BusyEnd {
            MainWindow* window;
            ~BusyEnd() { window->setBusy(false); }
        } busyEnd{this};
        ok = dispatch([&] { (form_.*handler)(); }, error);
        showNewResultLines();
    }
    if (error) reportError(*error);
    return ok;
}

void MainWindow::copyInputsToForm() {
    form_.RichEdit1 = BoxLines(richEdit1_);
    form_.RichEdit2 = BoxLines(richEdit2_);
    form_.Edit1 = edit1_->text().toStdString();
    form_.ComboBox1 = comboBox1_->currentText().toStdString();
}

// Brings the Result widget up to date with form_.RichEdit3.  Normally a handler only adds
// lines at the end (and completes its own label line), so the new text goes in with one
// insertion at the end; only a handler that emptied the box first makes the whole text be
// set again.
void MainWindow::showNewResultLines() {
    const Lines& lines = form_.RichEdit3;
    const bool prefixKept = !resultCleared_ && lines.size() >= shownLines_ &&
                            (shownLines_ == 0 || lines[shownLines_ - 1].starts_with(shownLast_));
    if (!prefixKept) {
        resetResultBox();
        return;
    }
    std::string text;
    if (shownLines_ > 0) text = lines[shownLines_ - 1].substr(shownLast_.size());
    std::size_t total = text.size();
    for (std::size_t i = shownLines_; i < lines.size(); ++i) total += lines[i].size() + 1;
    text.reserve(total);
    for (std::size_t i = shownLines_; i < lines.size(); ++i) {
        if (i > 0) text += '\n';
        text += lines[i];
    }
    if (!text.empty()) {
        QTextCursor cursor(richEdit3_->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QString::fromStdString(text));
        richEdit3_->moveCursor(QTextCursor::End);
        richEdit3_->ensureCursorVisible();
    }
    shownLines_ = lines.size();
    shownLast_ = lines.empty() ? std::string() : lines.back();
}

void MainWindow::resetResultBox() {
    const Lines& lines = form_.RichEdit3;
    richEdit3_->setPlainText(JoinLines(lines, 0));
    richEdit3_->moveCursor(QTextCursor::End);
    richEdit3_->ensureCursorVisible();
    shownLines_ = lines.size();
    shownLast_ = lines.empty() ? std::string() : lines.back();
    resultCleared_ = false;
}

void MainWindow::setBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void MainWindow::reportError(const QString& message) {
    if (presentError_) presentError_(message);
}

// Every change of the precision text, picked or typed, sets the precision; a text that
// does not convert is reported and the precision stays.
void MainWindow::precisionChanged(const QString& text) {
    form_.ComboBox1 = text.toStdString();
    std::optional<QString> error;
    dispatch([this] { form_.ComboBox1Change(); }, error);
    if (error) reportError(*error);
}

// ---- menu and tool bar commands ----

void MainWindow::clearResult() {
    std::optional<QString> error;
    dispatch([this] { form_.Clear1Click(); }, error);
    resetResultBox();
    if (error) reportError(*error);
}

void MainWindow::saveResult() {
    const std::optional<QString> path = chooseSavePath_ ? chooseSavePath_() : std::nullopt;
    if (!path) return;
    std::optional<QString> error;
    dispatch([&] { SaveLines(form_.RichEdit3, QFile::encodeName(*path).toStdString()); }, error);
    if (error) reportError(*error);
}

QString MainWindow::manualPath() const {
    const QDir dir(QCoreApplication::applicationDirPath());
    const QString beside = dir.filePath(QStringLiteral("manual.html"));
    const QString installed =
        QDir::cleanPath(dir.filePath(QStringLiteral("../share/doc/quillmark/manual.html")));
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed)) return installed;
    return beside;
}

// The outcome of opening is not checked: the desktop reports its own failures.
void MainWindow::openManual() {
    if (openUrl_) openUrl_(QUrl::fromLocalFile(manualPath()));
}

void MainWindow::openHomepage() {
    if (openUrl_) openUrl_(QUrl(QString::fromLatin1(kHomePage)));
}
