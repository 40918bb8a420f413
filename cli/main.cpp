// zurevavud-cli: the text a window would show, on standard output; single sentences and fortune
// files made of the same sentences; and tools for the people who write word lists.
#include "cli/stats.h"
#include "cli/textwriter.h"
#include "core/session.h"
#include "core/themes.h"
#include "modules/mdlsubs.h"
#include "platform/codepage.h"
#include "platform/failure.h"
#include "platform/paths.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>

#include <cstdio>
#include <optional>
#include <string>
#include <unordered_set>

namespace {

const char16_t Intro[] = uR"(Использование: zurevavud-cli [ПАРАМЕТРЫ]
Печатает текст, который показало бы первое окно программы, если выбрать тему N
и нажать «Генерировать» K раз; или одно предложение; или файл для fortune(6).

)";

const char16_t Outro[] = uR"(
Без --seed текст окна всегда один и тот же, а --one и --fortune всякий раз новые.
Примеры:
  zurevavud-cli --one
  zurevavud-cli -t 2 -r 3
  zurevavud-cli --fortune 5000 > ~/wisdom && strfile ~/wisdom && fortune ~/wisdom
Коды выхода: 0 — всё получилось; 1 — ошибка в словах или при записи, у --stats —
нарушенное правило; 2 — неверные аргументы. Правила и подробности: man zurevavud-cli.
)";

QCommandLineOption option(QStringView names, QStringView valueName, const QString& description)
{
    return QCommandLineOption(names.toString().split(u' '), description, valueName.toString());
}

// "тема: 0 «Всё одной кучей», 1 «Философия»," and the other two on a second line.
QString themeHelp()
{
    QString text = QStringLiteral("тема:");
    const QStringList names = Themes::names();
    for (int i = 0; i < names.size(); ++i) {
        const QStringView separator = i == 0 ? u" " : i == 2 ? u",\n" : u", ";
        text += separator;
        text += QStringLiteral("%1 «%2»").arg(i).arg(names.at(i));
    }
    return text + QStringLiteral("; по умолчанию 0");
}

// Every option once: its names, the name of its value and its lines in --help.
struct OptionSet {
    const QCommandLineOption theme = option(u"t theme", u"N", themeHelp());
    const QCommandLineOption runs = option(
        u"r runs", u"K", QStringLiteral("сколько раз нажать «Генерировать»; по умолчанию 1"));
    const QCommandLineOption seed
        = option(u"s seed", u"S", QStringLiteral("начать случайные числа с S (0 … 4294967295)"));
    const QCommandLineOption one
        = option(u"one", u"", QStringLiteral("одно предложение и перевод строки"));
    const QCommandLineOption fortune = option(
        u"fortune", u"N", QStringLiteral("N разных предложений: файл для strfile(1) и fortune(6)"));
    const QCommandLineOption explain = option(
        u"explain", u"", QStringLiteral("после каждого предложения — откуда каждое его слово"));
    const QCommandLineOption stats
        = option(u"stats", u"", QStringLiteral("проверить темы и сосчитать разные предложения"));
    const QCommandLineOption words
        = option(u"words", u"ПАПКА", QStringLiteral("папка тем 00 … 03; без него — как у окна"));
    const QCommandLineOption encoding
        = option(u"encoding", u"E", QStringLiteral("utf-8 (по умолчанию) или cp1251"));
    const QCommandLineOption lineEnds = option(u"line-ends", u"L",
        QStringLiteral("lf или crlf; по умолчанию lf, а у cp1251 без --fortune — crlf"));
    const QCommandLineOption help = option(u"h help", u"", QStringLiteral("эта справка"));
    const QCommandLineOption version = option(u"v version", u"", QStringLiteral("версия"));

    QList<QCommandLineOption> all() const
    {
        return { theme, runs, seed, one, fortune, explain, stats, words, encoding, lineEnds, help,
            version };
    }
};

QString dashed(const QString& name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString helpText()
{
    constexpr int Column = 24;
    QString text = QString::fromUtf16(Intro);
    for (const QCommandLineOption& o : OptionSet().all()) {
        QStringList names = o.names();
        for (QString& name : names)
            name = dashed(name);
        QString left = names.join(QStringLiteral(", "));
        if (names.size() == 1)
            left.prepend(QStringLiteral("    ")); // under the long names of "-t, --theme"
        if (!o.valueName().isEmpty())
            left += u'=' + o.valueName();
        text += QStringLiteral("  ") + left.leftJustified(Column - 3) + u' '
            + QString(o.description()).replace(u'\n', u'\n' + QString(Column, u' ')) + u'\n';
    }
    return text + QString::fromUtf16(Outro);
}

// What the program is asked to do.
enum class Mode { Text, One, Fortune, Stats, Help, Version };

struct Options {
    Mode mode = Mode::Text;
    QStringList wordsFolders;
    int theme = 0;
    bool themeGiven = false;
    int runs = 1;
    int fortunes = 0;
    bool cp1251 = false;
    QByteArrayView lineEnd = "\n";
    bool explain = false;
    std::optional<quint32> seed;
};

// The options, or why the arguments are wrong.
struct Parsed {
    Options options;
    QString error; // empty when the arguments are right
};

// QCommandLineParser words its errors in English; the three it finds, said in Russian.
QString parseError(
    const QCommandLineParser& p, const QList<QCommandLineOption>& options, const QStringList& args)
{
    if (!p.unknownOptionNames().isEmpty()) {
        const QString name = p.unknownOptionNames().at(0);
        const QString spelled = QStringLiteral("--") + name; // "--x" is no "-x"
        return QStringLiteral("неизвестный параметр «%1»")
            .arg(args.contains(spelled) ? spelled : dashed(name));
    }
    for (const QString& a : args.sliced(1)) {
        if (a == u"--")
            break;
        if (!a.startsWith(u"--") || !a.contains(u'='))
            continue;
        const QString name = a.mid(2).section(u'=', 0, 0);
        for (const QCommandLineOption& o : options) {
            if (o.valueName().isEmpty() && o.names().contains(name))
                return QStringLiteral("--%1 не принимает значения, а дано «%2»").arg(name, a);
        }
    }
    return QStringLiteral("после %1 нужно значение").arg(args.last());
}

Parsed parse(const QStringList& args)
{
    const OptionSet set;
    QCommandLineParser p;
    p.addOptions(set.all());
    Parsed r;
    Options& o = r.options;
    if (!p.parse(args)) {
        r.error = parseError(p, set.all(), args);
        return r;
    }
    // Only the first wrong argument is reported.
    auto reject = [&r](const QString& why) {
        if (r.error.isEmpty())
            r.error = why;
    };
    if (!p.positionalArguments().isEmpty())
        reject(QStringLiteral("лишний аргумент «%1»").arg(p.positionalArguments().at(0)));
    if (p.isSet(set.help))
        o.mode = Mode::Help;
    else if (p.isSet(set.version))
        o.mode = Mode::Version;
    else if (p.isSet(set.stats))
        o.mode = Mode::Stats;
    else if (p.isSet(set.one))
        o.mode = Mode::One;
    else if (p.isSet(set.fortune))
        o.mode = Mode::Fortune;

    const std::pair<const QCommandLineOption*, QList<const QCommandLineOption*>> conflicts[] = {
        { &set.stats, { &set.one, &set.fortune, &set.runs, &set.seed, &set.explain } },
        { &set.one, { &set.fortune, &set.runs, &set.explain } },
        { &set.fortune, { &set.runs, &set.explain } },
    };
    for (const auto& [mode, others] : conflicts) {
        for (const QCommandLineOption* other : others) {
            if (p.isSet(*mode) && p.isSet(*other)) {
                reject(QStringLiteral("--%1 не сочетается с --%2")
                           .arg(mode->names().last(), other->names().last()));
            }
        }
    }

    auto number = [&](const QCommandLineOption& option, int lo, int hi, int fallback) {
        if (!p.isSet(option))
            return fallback;
        bool ok = false;
        const int n = p.value(option).toInt(&ok);
        if (ok && n >= lo && n <= hi)
            return n;
        reject(QStringLiteral("--%1 ждёт число от %2 до %3, а не «%4»")
                   .arg(option.names().last())
                   .arg(lo)
                   .arg(hi)
                   .arg(p.value(option)));
        return fallback;
    };
    o.theme = number(set.theme, 0, Themes::Count - 1, 0);
    o.themeGiven = p.isSet(set.theme);
    o.explain = p.isSet(set.explain);
    o.runs = number(set.runs, 0, 1000000, 1);
    // Far more than a fortune file needs; each sentence is kept in memory to be written once.
    o.fortunes = number(set.fortune, 1, 100000, 0);

    if (p.isSet(set.seed)) {
        const QString value = p.value(set.seed);
        bool ok = false;
        // Base 10 only, and no sign: "-1" must not quietly become 4294967295.
        const quint32 n = value.startsWith(u'-') || value.startsWith(u'+') ? 0 : value.toUInt(&ok);
        if (ok)
            o.seed = n;
        else
            reject(
                QStringLiteral("--seed ждёт целое число от 0 до 4294967295, а не «%1»").arg(value));
    } else if (o.mode == Mode::One || o.mode == Mode::Fortune) {
        // The window never seeds; a sentence of the day must differ from call to call.
        o.seed = QRandomGenerator::system()->generate();
    }

    o.wordsFolders
        = p.isSet(set.words) ? QStringList { p.value(set.words) } : Paths::wordsFolders();
    if (o.wordsFolders.contains(QString()))
        reject(QStringLiteral("--words ждёт папку, а не пустую строку"));

    const QString encoding = p.value(set.encoding).toLower();
    o.cp1251 = encoding == u"cp1251" || encoding == u"windows-1251";
    if (p.isSet(set.encoding) && !o.cp1251 && encoding != u"utf-8" && encoding != u"utf8")
        reject(QStringLiteral("неизвестная кодировка «%1»: нужна utf-8 или cp1251").arg(encoding));

    // CR LF is what a save writes; a fortune file is read by Unix lines.
    const QString lineEnds = p.isSet(set.lineEnds)
        ? p.value(set.lineEnds).toLower()
        : QString::fromUtf16(o.cp1251 && o.mode != Mode::Fortune ? u"crlf" : u"lf");
    if (lineEnds == u"lf")
        o.lineEnd = "\n";
    else if (lineEnds == u"crlf")
        o.lineEnd = "\r\n";
    else
        reject(QStringLiteral("--line-ends ждёт lf или crlf, а не «%1»").arg(lineEnds));
    return r;
}

void complain(const QString& why)
{
    std::fprintf(stderr, "zurevavud-cli: %s\n", why.toLocal8Bit().constData());
}

// Standard output, as the command line writes everything.
class StandardOutput {
public:
    explicit StandardOutput(const Options& o, const Session* explainFrom = nullptr)
        : m_writer(openedStdout(m_file), formatOf(o), explainFrom)
    {
    }
    TextWriter* operator->() { return &m_writer; }
    TextWriter& operator*() { return m_writer; }
    // False, with a message, once a write has failed.
    bool flush()
    {
        const bool ok = m_writer.flush() && m_file.flush();
        if (!ok && !m_complained) {
            complain(QStringLiteral("не удалось записать в стандартный вывод"));
            m_complained = true;
        }
        return ok;
    }

private:
    static QFile& openedStdout(QFile& file)
    {
        file.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
        return file;
    }
    static TextWriter::Format formatOf(const Options& o) { return { o.cp1251, o.lineEnd }; }

    QFile m_file;
    TextWriter m_writer;
    bool m_complained = false;
};

// Status 0 when all of text reached standard output, 1 when not.
int print(const QString& text)
{
    Options plain;
    StandardOutput out(plain);
    out->write(text);
    return out.flush() ? 0 : 1;
}

// The finished sentences of a press, without the space that joins them in the window.
class SentenceList final : public TextOutput {
public:
    void sentence(const Sentence& s) override { texts << s.text().chopped(1).toByteArray(); }
    void paragraphBreak() override { }
    QList<QByteArray> texts;
};

// A fortune data file: each sentence not written before, then a line holding "%", until there
// are as many as wanted; written a press at a time.
class FortuneOutput final : public TextOutput {
public:
    FortuneOutput(TextWriter& out, int wanted)
        : m_out(out)
        , m_wanted(wanted)
    {
    }
    void sentence(const Sentence& s) override
    {
        const QByteArrayView text = s.text().chopped(1);
        if (!done() && m_written.emplace(text.data(), size_t(text.size())).second) {
            m_out.writeLine(text);
            m_out.writeLine("%");
        }
    }
    void paragraphBreak() override { }
    void runEnded() override { m_out.runEnded(); }
    qsizetype written() const { return qsizetype(m_written.size()); }
    bool done() const { return written() == m_wanted; }

private:
    TextWriter& m_out;
    int m_wanted;
    std::unordered_set<std::string> m_written;
};

int stats(const Options& o)
{
    StandardOutput out(o);
    bool broken = false;
    for (int theme = 0; theme < Themes::Count; ++theme) {
        if (o.themeGiven && theme != o.theme)
            continue;
        if (!o.themeGiven && theme > 0)
            out->write(u"\n");
        const ThemeStats::Report report = ThemeStats::examine(o.wordsFolders, theme);
        out->write(report.text);
        broken = broken || report.brokenRules > 0;
    }
    if (!out.flush())
        return 1;
    return broken ? 1 : 0;
}

int generate(const Options& o)
{
    if (o.seed)
        mdlSubs::setUniformSource(mdlSubs::seededSource(*o.seed));

    Session session(o.wordsFolders);
    StandardOutput out(o, o.explain ? &session : nullptr);
    int status = 0;
    try {
        // A window starts on theme 00 and then switches; the switch keeps words of 00 in the
        // slots the new theme does not reach, so load both to print what the window shows.
        if (o.theme != 0) {
            try {
                session.start();
            } catch (const Failure&) {
                // The window opens without words then; choosing the theme still works.
            }
        }
        session.select(o.theme);
        if (o.mode == Mode::One) {
            // Any sentence of a press, so that openers, which never start one, appear too.
            SentenceList press;
            while (press.texts.isEmpty()) // a press makes no sentence once in 10^10
                session.generate(press);
            const qint16 last = qint16(press.texts.size() - 1);
            out->writeLine(press.texts.at(mdlSubs::RandomBetween(last, 0)));
        } else if (o.mode == Mode::Fortune) {
            FortuneOutput fortunes(*out, o.fortunes);
            // A theme may make fewer different sentences than asked for.
            constexpr int IdleLimit = 1000;
            for (int idle = 0; !fortunes.done() && !out->failed() && idle < IdleLimit;) {
                const qsizetype before = fortunes.written();
                session.generate(fortunes);
                idle = fortunes.written() == before ? idle + 1 : 0;
            }
            if (!fortunes.done() && !out->failed()) {
                complain(QStringLiteral("за %1 нажатий подряд не нашлось нового предложения; "
                                        "в теме их, похоже, только %2")
                             .arg(IdleLimit)
                             .arg(fortunes.written()));
                status = 1;
            }
        } else {
            session.setUtf8(!o.cp1251);
            for (int run = 0; run < o.runs && !out->failed(); ++run)
                session.generate(*out);
        }
    } catch (const Failure& f) {
        out.flush();
        complain(f.message());
        status = 1;
    }
    if (!out.flush())
        return 1;
    return status;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const Parsed parsed = parse(QCoreApplication::arguments());
    if (!parsed.error.isEmpty()) {
        complain(parsed.error + QStringLiteral("; справка: zurevavud-cli --help"));
        return 2;
    }
    const Options& o = parsed.options;
    switch (o.mode) {
    case Mode::Help:
        return print(helpText());
    case Mode::Version:
        return print(QStringLiteral("zurevavud-cli (Zurevavud) " ZUREVAVUD_VERSION "\n"));
    case Mode::Stats:
        return stats(o);
    default:
        return generate(o);
    }
}
