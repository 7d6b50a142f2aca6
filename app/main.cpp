// quillmark: the calculator's window.
#include <QApplication>

#include "main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    QApplication::setDesktopFileName(QStringLiteral("quillmark"));
    MainWindow window;
    window.show();
    return QApplication::exec();
}
