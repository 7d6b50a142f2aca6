// The window under QT_QPA_PLATFORM=offscreen: its start state and layout, the buttons
// against the batch tool, the Result box's batch appends, menus, shortcuts, pop-up menus,
// the clipboard, saving, the precision box, errors and the busy cursor.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <functional>
#include <memory>

#include "main_window.h"

namespace {

QString FromView(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QStringList FormLines(const Lines& lines) {
    QStringList out;
    for (const auto& l : lines) out << QString::fromStdString(l);
    return out;
}

QStringList MenuItems(const QMenu* menu) {
    QStringList items;
    for (const QAction* a : menu->actions())
        items << (a->isSeparator() ? QStringLiteral("-") : QString(a->text()).remove('&'));
    return items;
}

QAction* MenuItem(const QMenu* menu, const QString& text) {
    for (QAction* a : menu->actions())
        if (QString(a->text()).remove('&') == text) return a;
    return nullptr;
}

// What the batch tool prints for the same inputs and commands.
struct CliRun {
    QStringList lines;  // the Result box
    QString errors;     // the reported messages, one a line
};

}  // namespace

class WindowMainTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<QTemporaryDir> dir_;
    QStringList errors_;  // messages the window reported
    QList<QUrl> opened_;  // addresses handed to the desktop
    std::optional<QString> savePath_;
    QStringList unexpectedDialogs_;
    bool dialogExpected_ = false;
    QTimer watchdog_;

    QString resultText() const { return window_->resultBox()->toPlainText(); }

    // The widget must show exactly the form's Result lines.
    void verifyResultWidgetMirrorsForm() {
        const QStringList lines = FormLines(window_->form().RichEdit3);
        QCOMPARE(resultText(), lines.join('\n'));
    }

    void setInputs(const QString& a, const QString& b, const QString& x, const QString& p) {
        window_->matrixABox()->setPlainText(a);
        window_->matrixBBox()->setPlainText(b);
        window_->coefficientBox()->setText(x);
        window_->precisionBox()->setCurrentText(p);
    }

    CliRun runCli(const QString& a, const QString& b, const QString& x, const QString& p,
                  const QStringList& commands) {
        const QString fa = dir_->filePath("a.txt"), fb = dir_->filePath("b.txt");
        for (const auto& [file, text] : {std::pair{fa, a}, std::pair{fb, b}}) {
            QFile f(file);
            if (!f.open(QIODevice::WriteOnly)) return {};
            f.write(text.toUtf8());
        }
        QProcess cli;
        cli.start(QStringLiteral(QUILLMARK_CLI),
                  QStringList{"--a", fa, "--b", fb, "--x", x, "--precision", p,
                              "--decimal-separator", "."} +
                      commands);
        if (!cli.waitForFinished(60000)) return {};
        CliRun run;
        QString out = QString::fromUtf8(cli.readAllStandardOutput());
        if (out.endsWith('\n')) out.chop(1);
        if (!out.isEmpty() || cli.exitCode() != 0) run.lines = out.split('\n');
        if (out.isEmpty()) run.lines.clear();
        run.errors = QString::fromUtf8(cli.readAllStandardError()).trimmed();
        return run;
    }

    // Runs `check` when the next modal dialog opens, then closes it.
    void onNextDialog(std::function<void(QWidget*)> check) {
        dialogExpected_ = true;
        auto* poll = new QTimer(this);
        poll->setInterval(10);
        connect(poll, &QTimer::timeout, this, [this, poll, check] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr) return;
            poll->stop();
            poll->deleteLater();
            check(modal);
            dialogExpected_ = false;
        });
        poll->start();
    }

  private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        errors_.clear();
        opened_.clear();
        unexpectedDialogs_.clear();
        dialogExpected_ = false;
        savePath_.reset();
        window_ = std::make_unique<MainWindow>();
        window_->form().DecimalSeparator = '.';
        window_->setErrorPresenter([this](const QString& m) { errors_ << m; });
        window_->setUrlOpener([this](const QUrl& url) { opened_ << url; });
        window_->setSavePathChooser([this] { return savePath_; });
        // Watchdog: a modal dialog nobody expects fails the test (and is closed, so the
        // test does not hang).
        watchdog_.setInterval(50);
        connect(&watchdog_, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || dialogExpected_) return;
            unexpectedDialogs_ << QString::fromLatin1(modal->metaObject()->className());
            modal->close();
        });
        watchdog_.start();
        window_->show();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

    void cleanup() {
        watchdog_.stop();
        disconnect(&watchdog_, nullptr, this, nullptr);
        window_.reset();
        QVERIFY2(unexpectedDialogs_.isEmpty(), qPrintable(unexpectedDialogs_.join(", ")));
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    // ---- start state and layout ----

    void startState() {
        QCOMPARE(window_->windowTitle(), QStringLiteral("Quillmark"));
        QCOMPARE(window_->matrixABox()->toPlainText(), QStringLiteral("1 0 0\n0 1 0\n0 0 1"));
        QCOMPARE(window_->matrixBBox()->toPlainText(), QStringLiteral("1 0 0\n0 1 0\n0 0 1"));
        QCOMPARE(window_->coefficientBox()->text(), QStringLiteral("1"));
        QCOMPARE(window_->precisionBox()->currentText(), QStringLiteral("3"));
        QStringList items;
        for (int i = 0; i < window_->precisionBox()->count(); ++i)
            items << window_->precisionBox()->itemText(i);
        QCOMPARE(items, QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "e"}));
        QVERIFY(window_->precisionBox()->isEditable());
        QVERIFY(resultText().isEmpty());
        QVERIFY(window_->form().RichEdit3.empty());
        QVERIFY(window_->resultBox()->isReadOnly());
        QVERIFY(!window_->matrixABox()->isReadOnly());
        for (QPlainTextEdit* box :
             {window_->matrixABox(), window_->matrixBBox(), window_->resultBox()}) {
            QCOMPARE(box->lineWrapMode(), QPlainTextEdit::NoWrap);
            QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
            QCOMPARE(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        }
        QVERIFY(errors_.isEmpty());
    }

    void layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");  // in its parent
        QTest::newRow("Matrix(A)") << "MatrixAGroup" << QRect(0, 0, 209, 217);
        QTest::newRow("RichEdit1") << "RichEdit1" << QRect(8, 24, 193, 185);
        QTest::newRow("Matrix(B)") << "MatrixBGroup" << QRect(0, 217, 209, 224);
        QTest::newRow("RichEdit2") << "RichEdit2" << QRect(8, 32, 193, 177);
        QTest::newRow("Coefficient(x)") << "CoefficientGroup" << QRect(0, 441, 105, 65);
        QTest::newRow("Edit1") << "Edit1" << QRect(12, 28, 81, 24);
        QTest::newRow("Precision") << "PrecisionGroup" << QRect(104, 441, 105, 65);
        QTest::newRow("ComboBox1") << "ComboBox1" << QRect(12, 28, 81, 24);
        QTest::newRow("Calculate") << "CalculateGroup" << QRect(209, 0, 223, 506);
        QTest::newRow("Result") << "ResultGroup" << QRect(0, 0, 337, 506);
        QTest::newRow("RichEdit3") << "RichEdit3" << QRect(8, 24, 321, 473);
    }

    void layout() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        const auto* widget = window_->findChild<QWidget*>(name);
        QVERIFY(widget != nullptr);
        QCOMPARE(widget->geometry(), geometry);
    }

    void panelsFillTheClientArea() {
        // Menu bar 20, tool bar 25, panels 506; the right panel ends at the right edge.
        QCOMPARE(window_->menuBar()->height(), 20);
        const auto* bar = window_->findChild<QToolBar*>("toolBar");
        QVERIFY(bar != nullptr);
        QCOMPARE(bar->height(), 25);
        const QWidget* result = window_->findChild<QWidget*>("ResultGroup");
        const QRect inWindow(result->mapTo(window_.get(), QPoint(0, 0)), result->size());
        QCOMPARE(inWindow.right(), MainWindow::kClientWidth - 1);
        QCOMPARE(inWindow.bottom(), MainWindow::kClientHeight - 1);
        QCOMPARE(inWindow.top(), 45);
    }

    void fonts() {
        for (const char* name : {"MatrixAGroup", "MatrixBGroup", "CoefficientGroup",
                                 "PrecisionGroup", "ResultGroup"}) {
            const QFont f = window_->findChild<QWidget*>(name)->font();
            QCOMPARE(f.pixelSize(), 13);
            QCOMPARE(f.families().value(0), QStringLiteral("Arial"));
        }
        const auto* calculate = window_->findChild<QWidget*>("CalculateGroup");
        QCOMPARE(calculate->font().pixelSize(), 11);
        QCOMPARE(calculate->palette().color(QPalette::WindowText), QColor(0x80, 0x00, 0x00));
        // The Result box's cells line up only in a fixed-width face.
        QVERIFY(QFontInfo(window_->resultBox()->font()).fixedPitch());
        QCOMPARE(window_->resultBox()->font().pixelSize(), 13);
        QCOMPARE(window_->matrixABox()->font().pixelSize(), 13);
    }

    void sizeIsFixed() {
        const QSize designed(MainWindow::kClientWidth, MainWindow::kClientHeight);
        QCOMPARE(window_->size(), designed);
        QCOMPARE(window_->minimumSize(), designed);
        QCOMPARE(window_->maximumSize(), designed);
        QVERIFY(!(window_->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window_->windowFlags() & Qt::WindowMinimizeButtonHint);
        window_->resize(1000, 800);
        QApplication::processEvents();
        QCOMPARE(window_->size(), designed);
        window_->showMaximized();
        QApplication::processEvents();
        QCOMPARE(window_->size(), designed);
    }

    // ---- the command buttons ----

    void commandButtons() {
        QCOMPARE(AllCommands().size(), std::size_t{44});
        QSet<QString> objectNames;
        for (const CommandInfo& command : AllCommands()) {
            const QToolButton* button = window_->commandButton(command.name);
            QVERIFY2(button != nullptr, command.button.data());
            QCOMPARE(button->parentWidget()->objectName(), QStringLiteral("CalculateGroup"));
            const QRect expected(8 + 72 * command.column, 24 + 32 * command.row, 65,
                                 command.rowSpan == 2 ? 57 : 25);
            QCOMPARE(button->geometry(), expected);
            QCOMPARE(button->toolTip(), FromView(command.hint));
            QCOMPARE(button->accessibleName(), FromView(command.hint));
            if (command.name == "AuTo") {
                QCOMPARE(button->text(), QStringLiteral("AuTo"));
                QVERIFY(button->icon().isNull());
            } else {
                QVERIFY2(!button->icon().isNull(), command.button.data());
            }
            objectNames << button->objectName();
        }
        QCOMPARE(objectNames.size(), 44);
        // The "AuTo" button covers rows 13 and 14 of the right column.
        QCOMPARE(window_->commandButton("AuTo")->geometry(), QRect(152, 440, 65, 57));
    }

    void pictures_data() {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("96 dpi") << 1.0;
        QTest::newRow("high DPI x2") << 2.0;
        QTest::newRow("x1.5") << 1.5;
    }

    // Every picture is different from every other (no two commands share a picture), and
    // is painted at the device resolution, not scaled up.
    void pictures() {
        QFETCH(qreal, ratio);
        QHash<QByteArray, QString> seen;
        for (const CommandInfo& command : AllCommands()) {
            const QToolButton* button = window_->commandButton(command.name);
            if (button->icon().isNull()) continue;
            const QPixmap pm = button->icon().pixmap(button->iconSize(), ratio);
            QCOMPARE(pm.size(), button->iconSize() * ratio);
            QImage image = pm.toImage().convertToFormat(QImage::Format_ARGB32);
            const QByteArray bits(reinterpret_cast<const char*>(image.constBits()),
                                  image.sizeInBytes());
            QVERIFY2(!seen.contains(bits),
                     qPrintable(FromView(command.name) + " looks like " + seen.value(bits)));
            seen.insert(bits, FromView(command.name));
        }
        QCOMPARE(seen.size(), 43);
    }

    void clickMatchesBatchTool_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("precision");
        struct Inputs {
            const char* tag;
            const char* a;
            const char* b;
            const char* x;
            const char* precision;
        };
        const Inputs sets[] = {
            {"identity", "1 0 0\n0 1 0\n0 0 1", "1 0 0\n0 1 0\n0 0 1", "1", "3"},
            {"square", "4 -2 1\n3 6 -4\n2 1 8", "2 1 0\n1 3 1\n0 1 4\n", "2.5", "4"},
            {"shapes", "1 2 3\n4 5 6", "0 1 2\n1 0 1\n2 1 0", "-1", "e"},
            {"bad field", "1 2\n3 x", "1 0\n0 0", "3", "2"},
        };
        for (const Inputs& in : sets)
            for (const CommandInfo& command : AllCommands())
                QTest::addRow("%s %s", in.tag, command.name.data())
                    << FromView(command.name) << in.a << in.b << in.x << in.precision;
    }

    // A click gives the Result lines and the error that the batch tool gives for the
    // same inputs and command.
    void clickMatchesBatchTool() {
        QFETCH(QString, command);
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QString, x);
        QFETCH(QString, precision);
        setInputs(a, b, x, precision);
        QVERIFY(errors_.isEmpty());
        window_->commandButton(command.toStdString())->click();
        const CliRun cli = runCli(a, b, x, precision, {command});
        QCOMPARE(FormLines(window_->form().RichEdit3), cli.lines);
        verifyResultWidgetMirrorsForm();
        QCOMPARE(errors_.join('\n'), cli.errors);
    }

    // A session of clicks and clears: the widget keeps mirroring the form, and the whole
    // box is what the batch tool gives for the same sequence.
    void sessionMatchesBatchTool() {
        const QString a = "2 1\n1 3", b = "1 2\n3 4";
        setInputs(a, b, "2", "3");
        const QStringList session{"A", "inv(A)", "A*B", "Clear", "B", "Det(B)", "A+B"};
        for (const QString& step : session) {
            if (step == "Clear")
                window_->clearAction()->trigger();
            else
                window_->commandButton(step.toStdString())->click();
            verifyResultWidgetMirrorsForm();
        }
        const CliRun cli = runCli(a, b, "2", "3", session);
        QCOMPARE(FormLines(window_->form().RichEdit3), cli.lines);
        QCOMPARE(errors_.join('\n'), cli.errors);
    }

    // The automatic run empties the box first: what was there before goes, and a second
    // run replaces the first one's output (the widget keeps mirroring the form).
    void automaticRunReplacesTheResultBox() {
        const QString a = "2 1 0\n1 3 1\n0 1 4", b = "1 2\n3 4";
        setInputs(a, b, "2", "3");
        window_->commandButton("B")->click();
        window_->commandButton("AuTo")->click();
        verifyResultWidgetMirrorsForm();
        QVERIFY(resultText().startsWith("A=\n"));
        window_->commandButton("AuTo")->click();
        verifyResultWidgetMirrorsForm();
        QVERIFY(resultText().startsWith("A=\n"));
        const CliRun cli = runCli(a, b, "2", "3", {"B", "AuTo", "AuTo"});
        QCOMPARE(FormLines(window_->form().RichEdit3), cli.lines);
        QCOMPARE(errors_.join('\n'), cli.errors);
    }

    // After an error the lines appended so far stay, and the next command's lines follow.
    void errorKeepsLinesAppendedSoFar() {
        setInputs("1 2\n3 4", "1 x", "1", "3");
        window_->commandButton("A")->click();
        window_->commandButton("B")->click();
        window_->commandButton("A")->click();
        QCOMPARE(errors_, QStringList{"'x' is not a valid floating point value."});
        verifyResultWidgetMirrorsForm();
        const CliRun cli = runCli("1 2\n3 4", "1 x", "1", "3", {"A", "B", "A"});
        QCOMPARE(FormLines(window_->form().RichEdit3), cli.lines);
    }

    // The Result box grows by one insertion at its end per click: the text before it is
    // never touched again, however many lines a command prints.
    void newLinesAreOneInsertionAtTheEnd() {
        setInputs("1 2 3\n4 5 6\n7 8 10", "1", "1", "3");
        window_->commandButton("A")->click();
        QTextDocument* doc = window_->resultBox()->document();
        const int before = doc->characterCount();
        const QString firstLine = doc->firstBlock().text();
        QSignalSpy changes(doc, &QTextDocument::contentsChange);
        window_->commandButton("A")->click();
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.at(0).at(0).toInt(), before - 1);  // position: the old end
        QCOMPARE(changes.at(0).at(1).toInt(), 0);           // nothing removed
        QCOMPARE(doc->firstBlock().text(), firstLine);
        verifyResultWidgetMirrorsForm();
    }

    // ---- errors ----

    void errorShowsStopMessageBox() {
        window_->setErrorPresenter({});  // the real message box
        window_ = nullptr;               // (rebuilt below with the default presenter)
        window_ = std::make_unique<MainWindow>();
        window_->form().DecimalSeparator = '.';
        window_->show();
        window_->matrixABox()->setPlainText("1 2\n3 4y");
        QString text, title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        onNextDialog([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box != nullptr);
            text = box->text();
            title = box->windowTitle();
            icon = box->icon();
            buttons = box->standardButtons();
            box->button(QMessageBox::Ok)->click();
        });
        window_->commandButton("A")->click();
        QCOMPARE(text, QStringLiteral("'4y' is not a valid floating point value."));
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(title, QStringLiteral("Quillmark"));
        QCOMPARE(FormLines(window_->form().RichEdit3), QStringList{"A"});
        verifyResultWidgetMirrorsForm();
    }

    void precisionBox_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        QTest::addColumn<double>("scale");  // PrecisionScale afterwards
        QTest::newRow("item 5") << "5"
                                << "" << 100000.0;
        QTest::newRow("item 1") << "1"
                                << "" << 10.0;
        QTest::newRow("item e") << "e"
                                << "" << 0.0;
        QTest::newRow("typed 0") << "0"
                                 << "" << 1.0;
        QTest::newRow("upper-case E") << "E"
                                      << "'E' is not a valid floating point value." << 1000.0;
        QTest::newRow("emptied") << ""
                                 << "'' is not a valid floating point value." << 1000.0;
        QTest::newRow("words") << "two"
                               << "'two' is not a valid floating point value." << 1000.0;
    }

    void precisionBox() {
        QFETCH(QString, text);
        QFETCH(QString, error);
        QFETCH(double, scale);
        window_->precisionBox()->setCurrentText(text);
        QCOMPARE(errors_.join('\n'), error);
        QCOMPARE(static_cast<double>(window_->form().PrecisionScale), scale);
    }

    // Every keystroke is a change: typing "12" over "3" sets 10 and then 10^12; deleting
    // the text reports the empty text.
    void precisionBoxFiresOnEveryKeystroke() {
        QLineEdit* edit = window_->precisionBox()->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(errors_, QStringList{"'' is not a valid floating point value."});
        QCOMPARE(static_cast<double>(window_->form().PrecisionScale), 1000.0);
        QTest::keyClick(edit, Qt::Key_1);
        QCOMPARE(static_cast<double>(window_->form().PrecisionScale), 10.0);
        QTest::keyClick(edit, Qt::Key_2);
        QCOMPARE(static_cast<double>(window_->form().PrecisionScale), 1e12);
        QCOMPARE(errors_.size(), 1);
        QCOMPARE(window_->precisionBox()->currentText(), QStringLiteral("12"));
    }

    // ---- menus, shortcuts, tool bar ----

    void mainMenu() {
        QStringList menus;
        for (QAction* a : window_->menuBar()->actions()) menus << QString(a->text()).remove('&');
        QCOMPARE(menus, QStringList({"File", "Help"}));
        QCOMPARE(MenuItems(window_->menuBar()->actions()[0]->menu()),
                 QStringList({"Clear", "Exit"}));
        QCOMPARE(MenuItems(window_->menuBar()->actions()[1]->menu()),
                 QStringList({"Manual", "Homepage"}));
        QCOMPARE(window_->clearAction()->shortcut(), QKeySequence(Qt::Key_F8));
        QCOMPARE(window_->exitAction()->shortcut(), QKeySequence(Qt::Key_Escape));
        QCOMPARE(window_->manualAction()->shortcut(), QKeySequence(Qt::Key_F1));
        QVERIFY(window_->homepageAction()->shortcut().isEmpty());
    }

    void f8ClearsOnlyTheResultBox() {
        window_->commandButton("A")->click();
        QVERIFY(!resultText().isEmpty());
        window_->matrixABox()->setFocus();
        QTest::keyClick(window_->matrixABox(), Qt::Key_F8);
        QVERIFY(resultText().isEmpty());
        QVERIFY(window_->form().RichEdit3.empty());
        QCOMPARE(window_->matrixABox()->toPlainText(), QStringLiteral("1 0 0\n0 1 0\n0 0 1"));
        QCOMPARE(window_->matrixBBox()->toPlainText(), QStringLiteral("1 0 0\n0 1 0\n0 0 1"));
        // Lines after a clear start the box afresh.
        window_->commandButton("B")->click();
        QCOMPARE(resultText().section('\n', 0, 0), QStringLiteral("B="));
        verifyResultWidgetMirrorsForm();
    }

    void escClosesTheWindow() {
        window_->matrixBBox()->setFocus();
        QTest::keyClick(window_->matrixBBox(), Qt::Key_Escape);
        QVERIFY(!window_->isVisible());
    }

    void helpOpensManualAndHomepage() {
        QTest::keyClick(window_->matrixABox(), Qt::Key_F1);
        QCOMPARE(opened_.size(), 1);
        QVERIFY(opened_[0].isLocalFile());
        QCOMPARE(opened_[0].toLocalFile(), window_->manualPath());
        QVERIFY(window_->manualPath().endsWith(QStringLiteral("/manual.html")));

        window_->homepageAction()->trigger();
        auto* tool = window_->findChild<QToolButton*>("toolHomepage");
        QVERIFY(tool != nullptr);
        tool->click();
        QCOMPARE(opened_.size(), 3);
        QCOMPARE(opened_[1], QUrl("https://quillmark.example.org/"));
        QCOMPARE(opened_[2], QUrl("https://quillmark.example.org/"));
    }

    void toolBar() {
        for (const char* name : {"toolClear", "toolHomepage"}) {
            auto* button = window_->findChild<QToolButton*>(name);
            QVERIFY(button != nullptr);
            QCOMPARE(button->size(), QSize(25, 25));
            QVERIFY(button->autoRaise());
            QVERIFY(!button->icon().isNull());
        }
        QCOMPARE(window_->findChild<QToolButton*>("toolClear")->toolTip(), "Clear");
        QCOMPARE(window_->findChild<QToolButton*>("toolHomepage")->toolTip(), "Homepage");
        window_->commandButton("A")->click();
        window_->findChild<QToolButton*>("toolClear")->click();
        QVERIFY(resultText().isEmpty());
        QVERIFY(window_->form().RichEdit3.empty());
    }

    // ---- pop-up menus and the clipboard ----

    void popupMenus_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<bool>("pasteEnabled");
        QTest::newRow("A") << "RichEdit1" << QStringList{"Copy", "Paste", "-", "Clear"} << true;
        QTest::newRow("B") << "RichEdit2" << QStringList{"Copy", "Paste", "-", "Clear"} << true;
        QTest::newRow("Result") << "RichEdit3"
                                << QStringList{"Copy", "Paste", "-", "Save", "-", "Clear"} << false;
    }

    void popupMenus() {
        QFETCH(QString, box);
        QFETCH(QStringList, items);
        QFETCH(bool, pasteEnabled);
        const auto* edit = window_->findChild<QPlainTextEdit*>(box);
        QMenu* menu = window_->boxMenu(edit);
        QVERIFY(menu != nullptr);
        QCOMPARE(MenuItems(menu), items);
        QCOMPARE(MenuItem(menu, "Paste")->isEnabled(), pasteEnabled);
        // The right mouse button opens it.
        QCOMPARE(edit->contextMenuPolicy(), Qt::CustomContextMenu);
        QSignalSpy shown(menu, &QMenu::aboutToShow);
        emit const_cast<QPlainTextEdit*>(edit)->customContextMenuRequested(QPoint(5, 5));
        QCOMPARE(shown.count(), 1);
        menu->close();
    }

    void popupClearEmptiesOnlyItsBox_data() {
        QTest::addColumn<QString>("box");
        QTest::newRow("A") << "RichEdit1";
        QTest::newRow("B") << "RichEdit2";
        QTest::newRow("Result") << "RichEdit3";
    }

    void popupClearEmptiesOnlyItsBox() {
        QFETCH(QString, box);
        window_->commandButton("A")->click();
        QMap<QString, QString> before;
        for (const char* name : {"RichEdit1", "RichEdit2", "RichEdit3"})
            before[name] = window_->findChild<QPlainTextEdit*>(name)->toPlainText();
        auto* edit = window_->findChild<QPlainTextEdit*>(box);
        MenuItem(window_->boxMenu(edit), "Clear")->trigger();
        for (const char* name : {"RichEdit1", "RichEdit2", "RichEdit3"}) {
            const QString now = window_->findChild<QPlainTextEdit*>(name)->toPlainText();
            QCOMPARE(now, name == box ? QString() : before[name]);
        }
        verifyResultWidgetMirrorsForm();  // the Result box's Clear empties the form's too
    }

    void clipboardCopyAndPaste() {
        QClipboard* clipboard = QApplication::clipboard();
        clipboard->setText("unchanged");
        QPlainTextEdit* a = window_->matrixABox();
        QPlainTextEdit* b = window_->matrixBBox();
        // Copy with no selection copies nothing.
        a->moveCursor(QTextCursor::End);
        MenuItem(window_->boxMenu(a), "Copy")->trigger();
        QCOMPARE(clipboard->text(), QStringLiteral("unchanged"));
        // Copy the whole of A, paste it over B's selected first line.
        a->selectAll();
        MenuItem(window_->boxMenu(a), "Copy")->trigger();
        QCOMPARE(clipboard->text(), QStringLiteral("1 0 0\n0 1 0\n0 0 1"));
        clipboard->setText("7 8 9");
        QTextCursor first(b->document());
        first.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        b->setTextCursor(first);
        MenuItem(window_->boxMenu(b), "Paste")->trigger();
        QCOMPARE(b->toPlainText(), QStringLiteral("7 8 9\n0 1 0\n0 0 1"));
        // Copy from the Result box; pasting into it is refused.
        window_->commandButton("B")->click();
        QPlainTextEdit* r = window_->resultBox();
        r->selectAll();
        MenuItem(window_->boxMenu(r), "Copy")->trigger();
        QCOMPARE(clipboard->text(), resultText());
        const QString result = resultText();
        QAction* paste = MenuItem(window_->boxMenu(r), "Paste");
        QVERIFY(!paste->isEnabled());
        paste->trigger();
        r->paste();
        QCOMPARE(resultText(), result);
        verifyResultWidgetMirrorsForm();
    }

    // ---- saving ----

    void saveWritesCrLfLines() {
        window_->commandButton("A")->click();
        window_->commandButton("B")->click();
        const QString path = dir_->filePath("result.rtf");  // plain text whatever the type
        {
            QFile old(path);  // an existing file is replaced
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(QByteArray(5000, 'z'));
        }
        savePath_ = path;
        MenuItem(window_->boxMenu(window_->resultBox()), "Save")->trigger();
        QVERIFY(errors_.isEmpty());
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QByteArray expected;
        for (const auto& line : window_->form().RichEdit3)
            expected += QByteArray::fromStdString(line) + "\r\n";
        QCOMPARE(saved.readAll(), expected);
        QVERIFY(expected.startsWith("A=\r\n"));
    }

    void saveCancelledWritesNothing() {
        window_->commandButton("A")->click();
        savePath_.reset();
        window_->saveResult();
        QVERIFY(errors_.isEmpty());
        QVERIFY(QDir(dir_->path()).isEmpty());
    }

    void saveFailureIsReported() {
        window_->commandButton("A")->click();
        const QString before = resultText();
        const QString path = dir_->filePath("no-such-folder/result.txt");
        savePath_ = path;
        window_->saveResult();
        QCOMPARE(errors_,
                 QStringList{"Cannot create file \"" + path + "\". No such file or directory."});
        QCOMPARE(resultText(), before);
    }

    void saveDialogOffersTheThreeTypes() {
        window_ = std::make_unique<MainWindow>();  // with its own dialog
        window_->setErrorPresenter([this](const QString& m) { errors_ << m; });
        window_->show();
        QStringList filters;
        QString suffix;
        bool confirms = false;
        QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
        onNextDialog([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog != nullptr);
            filters = dialog->nameFilters();
            suffix = dialog->defaultSuffix();
            mode = dialog->acceptMode();
            confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
            dialog->reject();
        });
        window_->saveResult();
        QCOMPARE(filters, QStringList({"Text File(*.txt)", "Rtf File(*.rtf)", "All File(*.*)"}));
        QCOMPARE(suffix, QStringLiteral("txt"));
        QCOMPARE(mode, QFileDialog::AcceptSave);
        QVERIFY(confirms);
        QVERIFY(errors_.isEmpty());
    }

    // ---- the busy cursor ----

    // The automatic run shows the busy cursor while it runs and restores it however it
    // ends, here with a conversion error at its first command.
    void automaticRunRestoresCursor() {
        QList<bool> busyCalls;
        QList<int> shapes;
        auto windowHook = window_->form().OnBusyChanged;
        window_->form().OnBusyChanged = [&](bool busy) {
            windowHook(busy);
            busyCalls << busy;
            const QCursor* c = QApplication::overrideCursor();
            shapes << (c ? int(c->shape()) : -1);
        };
        setInputs("1 q", "1", "1", "3");
        window_->commandButton("AuTo")->click();
        QCOMPARE(errors_.size(), 1);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        if (!busyCalls.isEmpty()) {
            QCOMPARE(busyCalls.first(), true);
            QCOMPARE(shapes.first(), int(Qt::WaitCursor));
            QCOMPARE(FormLines(window_->form().RichEdit3), QStringList{"A"});
            verifyResultWidgetMirrorsForm();
        }
    }

    // A handler that turned busy and did not turn back (it ended in an error) still
    // leaves the normal cursor behind.
    void cursorRestoredAfterAnyHandler() {
        window_->form().OnBusyChanged(true);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        window_->matrixABox()->setPlainText("z");
        window_->commandButton("A")->click();
        QCOMPARE(errors_.size(), 1);
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }
};

QTEST_MAIN(WindowMainTest)
#include "window_main_test.moc"
