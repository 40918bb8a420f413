#include "window/frmmain.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <optional>

namespace {

// Prints text on standard output; status 0 when all of it got there.
int print(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    const bool written
        = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
    return std::fflush(stdout) == 0 && written ? 0 : 1;
}

// --help and --version are answered before QApplication exists, so they need no display. The
// options Qt itself takes (-platform, -style...) are left for QApplication, with one dash or two.
std::optional<int> answerOptions(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(
        QStringList { QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?") });
    const QCommandLineOption version(
        QStringList { QStringLiteral("v"), QStringLiteral("version") });
    parser.addOptions({ help, version });
    // Qt's options are unknown here; that is no error of ours.
    parser.parse(arguments);
    if (parser.isSet(help))
        return print(QStringLiteral(
            "Использование: zurevavud [ПАРАМЕТР_QT ...]\n"
            "Открывает окно, в котором каждое нажатие «Генерировать» сочиняет согласованную\n"
            "бессмыслицу по-русски.\n"
            "\n"
            "  -h, --help       эта справка\n"
            "  -v, --version    версия\n"
            "\n"
            "Понимаются и стандартные параметры Qt: -platform, -display, -style и другие.\n"
            "Без экрана тот же текст печатает zurevavud-cli. Подробности: man zurevavud.\n"));
    if (parser.isSet(version))
        return print(QStringLiteral("zurevavud (Zurevavud) " ZUREVAVUD_VERSION "\n"));
    return std::nullopt;
}

// Qt's messages while QApplication starts. Without a display Qt would print several English lines
// and abort; one Russian line and status 1 say it instead. Once started, the messages held back
// go out as Qt would have printed them.
struct HeldMessage {
    QtMsgType type;
    const char* category;
    QString text;
};
QList<HeldMessage> heldMessages;

void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtFatalMsg) {
        heldMessages.append({ type, context.category, text });
        return;
    }
    std::fputs("zurevavud: окну негде открыться: Qt не подключился ни к одному экрану "
               "(проверьте DISPLAY, WAYLAND_DISPLAY и QT_QPA_PLATFORM); без окна текст "
               "печатает zurevavud-cli.\n",
        stderr);
    std::fflush(stderr);
    // Nothing has been made that needs to be ended: the application is not even constructed.
    std::_Exit(1);
}

void releaseMessages()
{
    qInstallMessageHandler(nullptr);
    for (const HeldMessage& m : std::as_const(heldMessages))
        qt_message_output(m.type, QMessageLogContext(nullptr, 0, nullptr, m.category), m.text);
    heldMessages.clear();
}

} // namespace

int main(int argc, char* argv[])
{
    if (const std::optional<int> status = answerOptions(argc, argv))
        return *status;
    qInstallMessageHandler(holdMessage);
    QApplication app(argc, argv);
    releaseMessages();
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
