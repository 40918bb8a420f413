#include "window/frmmain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Names the installed .desktop file, through which a Wayland desktop finds the icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.zurevavud.Zurevavud"));
    frmMain::openNew();
    return app.exec();
}
