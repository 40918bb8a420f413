// zurevavud-cli: the text a window would show, on standard output.
#include "modules/mdlsubs.h"
#include "platform/codepage.h"
#include "platform/failure.h"
#include "platform/paths.h"
#include "window/generator.h"
#include "window/themes.h"
#include "window/wordstore.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>

namespace {

const char Usage[] = R"(Использование: zurevavud-cli [--words ПАПКА] [--theme N] [--runs K] [--encoding utf-8|cp1251]

Печатает в стандартный вывод ровно тот текст, который оказался бы в поле первого окна
программы, если сразу после запуска выбрать тему N и нажать «Генерировать» K раз.
Строки разделены CR LF, как в окне.

  --words ПАПКА   папка с темами 00 … 03 (по умолчанию words/ рядом с программой)
  --theme N       тема: 0 «Всё одной кучей», 1 «Философия», 2 «Зверюшки», 3 «Техника»
                  (по умолчанию 0)
  --runs K        сколько раз нажать «Генерировать» (по умолчанию 1)
  --encoding E    кодировка вывода: utf-8 (по умолчанию) или cp1251
  --help          эта справка

Пример:
  zurevavud-cli --theme 2 --runs 3

Коды выхода: 0 — всё получилось; 1 — ошибка в словах или при выборе слова (то, что
успело получиться, всё равно напечатано, а причина — одной строкой в stderr);
2 — неверные аргументы.
)";

struct Options {
    QString wordsFolder;
    int theme = 0;
    int runs = 1;
    bool cp1251 = false;
};

[[noreturn]] void badArguments(const QString& why)
{
    std::fprintf(stderr, "zurevavud-cli: %s\nПодробнее: zurevavud-cli --help\n", why.toLocal8Bit().constData());
    std::exit(2);
}

int toNumber(const QString& option, const QString& value, int lo, int hi)
{
    bool ok = false;
    const int n = value.toInt(&ok);
    if (!ok || n < lo || n > hi)
        badArguments(QStringLiteral("%1 ждёт число от %2 до %3, а не «%4»").arg(option).arg(lo).arg(hi).arg(value));
    return n;
}

Options parse(const QStringList& args)
{
    Options o;
    o.wordsFolder = Paths::WordsFolder();
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == u"--help" || a == u"-h") {
            std::fputs(Usage, stdout);
            std::exit(0);
        }
        auto value = [&]() -> QString {
            if (i + 1 >= args.size())
                badArguments(QStringLiteral("после %1 нужно значение").arg(a));
            return args.at(++i);
        };
        if (a == u"--words")
            o.wordsFolder = value();
        else if (a == u"--theme")
            o.theme = toNumber(a, value(), 0, Themes::Count - 1);
        else if (a == u"--runs")
            o.runs = toNumber(a, value(), 0, 1000000);
        else if (a == u"--encoding") {
            const QString e = value().toLower();
            if (e == u"utf-8" || e == u"utf8")
                o.cp1251 = false;
            else if (e == u"cp1251" || e == u"windows-1251")
                o.cp1251 = true;
            else
                badArguments(QStringLiteral("неизвестная кодировка «%1»: нужна utf-8 или cp1251").arg(e));
        } else
            badArguments(QStringLiteral("неизвестный аргумент «%1»").arg(a));
    }
    return o;
}

void loadTheme(WordStore& store, const Options& o, int theme)
{
    mdlSubs::WordsPath = Themes::ThemePath(o.wordsFolder, theme);
    store.dbLoad();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const Options o = parse(QCoreApplication::arguments());

    WordStore store;
    StringOutput out;
    int status = 0;
    try {
        // A window starts on theme 00 and then switches; the switch keeps words of 00 in the
        // slots the new theme does not reach, so load both to print what the window shows.
        if (o.theme != 0) {
            try {
                loadTheme(store, o, 0);
            } catch (const Failure&) {
                // The window opens without words then; choosing the theme still works.
            }
        }
        loadTheme(store, o, o.theme);
        if (!store.hasWords())
            throw Failure(FailureKind::NoWordsLoaded, QStringLiteral("В теме %1 нет ни одного слова").arg(Themes::FolderName(o.theme)));
        const SentenceGenerator generator(store);
        for (int run = 0; run < o.runs; ++run)
            generator.GenerateText(out);
    } catch (const Failure& f) {
        std::fprintf(stderr, "zurevavud-cli: %s\n", f.message().toLocal8Bit().constData());
        status = 1;
    }

    const QByteArray bytes = o.cp1251 ? CodePage::EncodeAnsi(out.text()) : out.text().toUtf8();
    QFile stdOut;
    if (!stdOut.open(stdout, QIODevice::WriteOnly) || stdOut.write(bytes) != bytes.size() || !stdOut.flush()) {
        std::fprintf(stderr, "zurevavud-cli: не удалось записать в стандартный вывод\n");
        return 1;
    }
    return status;
}
