#include "window/frmmain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Names the installed .desktop file, through which a Wayland desktop finds the icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.zurevavud.Zurevavud"));
    // The program speaks Russian, so Qt's own texts (the text box's menu, the message boxes'
    // buttons) do too, wherever the translations are installed; without them they stay English.
    QTranslator qtTexts;
    if (qtTexts.load(
            QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);
    frmMain::openNew();
    return app.exec();
}
