// The calculator's window: the fixed-size main window over the Qt-free core TForm1.  It
// copies the input widgets' text into the form before a handler runs, runs the handler
// through Dispatch(), appends the Result lines the handler produced to the Result box in one
// batch, and reports an error in a message box.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QUrl>
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "commands.h"
#include "form.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QToolButton;

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    // The project's home page, opened by Help → Homepage and the tool bar.
    static constexpr const char* kHomePage = "https://quillmark.example.org/";
    // The size of the client area: 769 wide (panels 209 + 223 + 337), and a 20-pixel menu
    // bar, a 25-pixel tool bar and 506 pixels of panels high.  With a 4-pixel frame and a
    // 31-pixel caption this is an outer size of 777 × 586.
    static constexpr int kClientWidth = 769;
    static constexpr int kClientHeight = 551;

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    TForm1& form() { return form_; }

    // ---- the widgets (tests and benchmarks drive them) ----
    QPlainTextEdit* matrixABox() const { return richEdit1_; }
    QPlainTextEdit* matrixBBox() const { return richEdit2_; }
    QPlainTextEdit* resultBox() const { return richEdit3_; }
    QLineEdit* coefficientBox() const { return edit1_; }
    QComboBox* precisionBox() const { return comboBox1_; }
    // The button of the command whose CommandInfo::name is `name`, or nullptr.
    QToolButton* commandButton(std::string_view name) const;
    // The pop-up menu of one of the three boxes.
    QMenu* boxMenu(const QPlainTextEdit* box) const;
    QAction* clearAction() const { return clearAction_; }
    QAction* exitAction() const { return exitAction_; }
    QAction* manualAction() const { return manualAction_; }
    QAction* homepageAction() const { return homepageAction_; }

    // ---- what reaches outside the window; each can be replaced (the tests do) ----
    // Shows an error message (the reported text, ending in a full stop).  Default: a
    // critical message box with an OK button.
    using ErrorPresenter = std::function<void(const QString& message)>;
    void setErrorPresenter(ErrorPresenter presenter) { presentError_ = std::move(presenter); }
    // Asks where to save the Result box; no value when the user cancels.  Default: the
    // save dialog.
    using SavePathChooser = std::function<std::optional<QString>()>;
    void setSavePathChooser(SavePathChooser chooser) { chooseSavePath_ = std::move(chooser); }
    // Hands a file or web address to the desktop.  Default: QDesktopServices::openUrl.
    using UrlOpener = std::function<void(const QUrl& url)>;
    void setUrlOpener(UrlOpener opener) { openUrl_ = std::move(opener); }

    // Where the user manual is looked for: beside the executable (the build tree), then in
    // the installed documentation folder.
    QString manualPath() const;

    // Runs one form handler as a click would: inputs in, handler, new Result lines out,
    // error reported.  Returns false when the handler reported an error.
    bool runHandler(void (TForm1::*handler)());

  public slots:
    void clearResult();   // File → Clear, F8, the Result box's "Clear"
    void saveResult();    // the Result box's "Save"
    void openManual();    // Help → Manual, F1
    void openHomepage();  // Help → Homepage and the tool bar

  protected:
    // The window keeps its designed size: a request to maximise it or fill the screen is
    // turned back into the normal state.
    void changeEvent(QEvent* event) override;

  private:
    void buildMenus();
    void buildToolBar();
    void buildPanels();
    QToolButton* makeCommandButton(const CommandInfo& command, QWidget* group);
    void buildBoxMenu(QPlainTextEdit* box, bool isResult);
    void precisionChanged(const QString& text);

    void copyInputsToForm();
    void showNewResultLines();
    void resetResultBox();
    void setBusy(bool busy);
    void reportError(const QString& message);
    // Dispatches `action`; the error text (if any) is stored in `error`.
    bool dispatch(const std::function<void()>& action, std::optional<QString>& error);

    TForm1 form_;

    QPlainTextEdit* richEdit1_ = nullptr;
    QPlainTextEdit* richEdit2_ = nullptr;
    QPlainTextEdit* richEdit3_ = nullptr;
    QLineEdit* edit1_ = nullptr;
    QComboBox* comboBox1_ = nullptr;
    QAction* clearAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QAction* manualAction_ = nullptr;
    QAction* homepageAction_ = nullptr;
    std::map<std::string, QToolButton*, std::less<>> buttons_;
    std::map<const QPlainTextEdit*, QMenu*> boxMenus_;

    // How much of form_.RichEdit3 the Result widget shows: its first shownLines_ lines, the
    // last of them as shownLast_ (a handler may extend that line).
    std::size_t shownLines_ = 0;
    std::string shownLast_;
    // Set when a handler emptied the Result box while it ran (the automatic run does).
    bool resultCleared_ = false;
    bool busy_ = false;

    ErrorPresenter presentError_;
    SavePathChooser chooseSavePath_;
    UrlOpener openUrl_;
};
