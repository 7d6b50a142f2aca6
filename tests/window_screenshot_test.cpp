// Pictures of the real window: at start and after the automatic run.  Under ctest this runs
// offscreen and checks what the window paints; bench/screenshot.sh runs it on an X server
// (Xvfb) with QUILLMARK_SHOT_DIR set, and then it also saves the screen as PNG files.
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "main_window.h"

class WindowScreenshotTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<MainWindow> window_;
    QStringList errors_;

    // Saves the picture of the screen (X servers: `import -window root`) or of the window.
    void shoot(const QString& name) {
        const QString dir = qEnvironmentVariable("QUILLMARK_SHOT_DIR");
        if (dir.isEmpty()) return;
        QDir().mkpath(dir);
        const QString file = QDir(dir).filePath(name + ".png");
        QApplication::processEvents();
        QTest::qWait(300);  // let the X server draw everything
        const QString import = QStandardPaths::findExecutable(QStringLiteral("import"));
        if (QGuiApplication::platformName() == QLatin1String("xcb") && !import.isEmpty()) {
            QVERIFY(QProcess::execute(import, {"-window", "root", file}) == 0);
        } else {
            QVERIFY(window_->grab().save(file));
        }
        qInfo("saved %s", qPrintable(file));
    }

    QImage picture() const { return window_->grab().toImage(); }

  private slots:
    void initTestCase() {
        window_ = std::make_unique<MainWindow>();
        window_->setErrorPresenter([this](const QString& m) { errors_ << m; });
        window_->setUrlOpener([](const QUrl&) {});
        window_->move(0, 0);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    void startPicture() {
        shoot(QStringLiteral("start"));
        const QImage image = picture();
        const qreal dpr = image.devicePixelRatio();
        // Between two grid buttons of the "Calculate" group lies the sky-blue background.
        const auto* calculate = window_->findChild<QToolButton*>("SpeedButton1")->parentWidget();
        const QPoint gap =
            calculate->mapTo(window_.get(), QPoint(76, 36));  // between columns 0 and 1
        const QColor c = image.pixelColor(gap * dpr);
        QVERIFY2(c.blue() > c.red() + 40 && c.blue() > 200,
                 qPrintable(QStringLiteral("background is %1").arg(c.name())));
        // Every button with a picture paints its operand letter in its own colour: the
        // picture of a command on B holds green, one on A navy.
        for (const CommandInfo& command : AllCommands()) {
            const QImage face = window_->commandButton(command.name)->grab().toImage();
            int navy = 0, green = 0;
            for (int y = 0; y < face.height(); ++y)
                for (int x = 0; x < face.width(); ++x) {
                    const QColor p = face.pixelColor(x, y);
                    if (p.blue() > 100 && p.red() < 60 && p.green() < 80) ++navy;
                    if (p.green() > 80 && p.red() < 60 && p.blue() < 80) ++green;
                }
            const bool usesA =
                command.name.find('A') != std::string_view::npos && command.name != "AuTo";
            const bool usesB = command.name.find('B') != std::string_view::npos;
            QVERIFY2(!usesA || navy > 0, command.button.data());
            QVERIFY2(!usesB || green > 0, command.button.data());
        }
    }

    void afterAutomaticRun() {
        window_->commandButton("AuTo")->click();
        shoot(QStringLiteral("auto"));
        QVERIFY2(errors_.isEmpty(), qPrintable(errors_.join('\n')));
        QVERIFY(window_->resultBox()->toPlainText().startsWith(QStringLiteral("A=\n")));
        // The Result box paints dark text on white.
        const QImage box = window_->resultBox()->viewport()->grab().toImage();
        int dark = 0;
        for (int y = 0; y < box.height(); ++y)
            for (int x = 0; x < box.width(); ++x)
                if (box.pixelColor(x, y).lightness() < 100) ++dark;
        QVERIFY(dark > 50);
    }

    void cleanupTestCase() { window_.reset(); }
};

QTEST_MAIN(WindowScreenshotTest)
#include "window_screenshot_test.moc"
