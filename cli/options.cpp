#include "cli/options.h"

#include "core/themes.h"
#include "platform/paths.h"

#include <QCommandLineParser>

#include <utility>

namespace CliOptions {

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
    for (int i = 0; i < Themes::ShippedCount; ++i) {
        const QStringView separator = i == 0 ? u" " : i == 2 ? u",\n" : u", ";
        text += separator;
        text += QStringLiteral("%1 «%2»").arg(i).arg(Themes::ShippedNames[size_t(i)]);
    }
    return text + QStringLiteral(";\nсвои темы 4 … 99 (--list-themes); по умолчанию 0");
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
    const QCommandLineOption listThemes = option(
        u"list-themes", u"", QStringLiteral("темы: номер, название и папка, откуда их слова"));
    const QCommandLineOption newTheme = option(u"new-theme", u"N",
        QStringLiteral("сделать свою тему N (4 … 99) из копии темы --from\nв своей папке слов"));
    const QCommandLineOption from = option(
        u"from", u"M", QStringLiteral("тема, которую копирует --new-theme; по умолчанию 0"));
    const QCommandLineOption name
        = option(u"name", u"ИМЯ", QStringLiteral("название новой темы в списке тем"));
    const QCommandLineOption words
        = option(u"words", u"ПАПКА", QStringLiteral("папка тем 00 … 99; без него — как у окна"));
    const QCommandLineOption encoding
        = option(u"encoding", u"E", QStringLiteral("utf-8 (по умолчанию) или cp1251"));
    const QCommandLineOption lineEnds = option(u"line-ends", u"L",
        QStringLiteral("lf или crlf; по умолчанию lf, а у cp1251 без --fortune — crlf"));
    const QCommandLineOption help = option(u"h help", u"", QStringLiteral("эта справка"));
    const QCommandLineOption version = option(u"v version", u"", QStringLiteral("версия"));

    QList<QCommandLineOption> all() const
    {
        return { theme, runs, seed, one, fortune, explain, stats, listThemes, newTheme, from, name,
            words, encoding, lineEnds, help, version };
    }
};

QString dashed(const QString& name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

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

// Reads the parsed arguments into Options, keeping the first complaint.
class Reader {
public:
    Reader(const OptionSet& set, const QCommandLineParser& p)
        : m_set(set)
        , m_p(p)
    {
    }

    Parsed read()
    {
        Options& o = m_parsed.options;
        o.mode = mode();
        o.theme = number(m_set.theme, 0, Themes::LastNumber, 0);
        o.themeGiven = m_p.isSet(m_set.theme);
        o.runs = number(m_set.runs, 0, 1000000, 1);
        // Far more than a fortune file needs; each sentence is kept in memory to be written once.
        o.fortunes = number(m_set.fortune, 1, 100000, 0);
        o.explain = m_p.isSet(m_set.explain);
        o.seed = seed();
        o.newTheme = number(m_set.newTheme, Themes::ShippedCount, Themes::LastNumber, 0);
        o.from = number(m_set.from, 0, Themes::LastNumber, 0);
        o.name = themeName(o.newTheme);
        o.wordsFolders = wordsFolders();
        o.wordsGiven = m_p.isSet(m_set.words);
        o.cp1251 = cp1251();
        o.lineEnd = lineEnd(o);
        rejectConflicts();
        if (!m_p.positionalArguments().isEmpty())
            reject(QStringLiteral("лишний аргумент «%1»").arg(m_p.positionalArguments().at(0)));
        return std::move(m_parsed);
    }

private:
    void reject(const QString& why)
    {
        if (m_parsed.error.isEmpty())
            m_parsed.error = why;
    }

    Mode mode() const
    {
        const std::pair<const QCommandLineOption*, Mode> modes[] = { { &m_set.help, Mode::Help },
            { &m_set.version, Mode::Version }, { &m_set.listThemes, Mode::ListThemes },
            { &m_set.newTheme, Mode::NewTheme }, { &m_set.stats, Mode::Stats },
            { &m_set.one, Mode::One }, { &m_set.fortune, Mode::Fortune } };
        for (const auto& [option, mode] : modes) {
            if (m_p.isSet(*option))
                return mode;
        }
        return Mode::Text;
    }

    void rejectConflicts()
    {
        const QList<const QCommandLineOption*> making
            = { &m_set.one, &m_set.fortune, &m_set.runs, &m_set.seed, &m_set.explain };
        const QList<const QCommandLineOption*> others
            = making + QList { &m_set.stats, &m_set.theme };
        const std::pair<const QCommandLineOption*, QList<const QCommandLineOption*>> conflicts[] = {
            { &m_set.listThemes, others + QList { &m_set.newTheme } },
            { &m_set.newTheme, others },
            { &m_set.stats, making },
            { &m_set.one, { &m_set.fortune, &m_set.runs, &m_set.explain } },
            { &m_set.fortune, { &m_set.runs, &m_set.explain } },
        };
        for (const auto& [mode, with] : conflicts) {
            for (const QCommandLineOption* other : with) {
                if (m_p.isSet(*mode) && m_p.isSet(*other)) {
                    reject(QStringLiteral("--%1 не сочетается с --%2")
                               .arg(mode->names().last(), other->names().last()));
                }
            }
        }
        for (const QCommandLineOption* part : { &m_set.from, &m_set.name }) {
            if (m_p.isSet(*part) && !m_p.isSet(m_set.newTheme))
                reject(QStringLiteral("--%1 нужен только с --new-theme").arg(part->names().last()));
        }
    }

    int number(const QCommandLineOption& option, int lo, int hi, int fallback)
    {
        if (!m_p.isSet(option))
            return fallback;
        bool ok = false;
        const int n = m_p.value(option).toInt(&ok);
        if (ok && n >= lo && n <= hi)
            return n;
        reject(QStringLiteral("--%1 ждёт число от %2 до %3, а не «%4»")
                   .arg(option.names().last())
                   .arg(lo)
                   .arg(hi)
                   .arg(m_p.value(option)));
        return fallback;
    }

    std::optional<quint32> seed()
    {
        if (!m_p.isSet(m_set.seed))
            return std::nullopt;
        const QString value = m_p.value(m_set.seed);
        bool ok = false;
        // Base 10 only, and no sign: "-1" must not quietly become 4294967295.
        const quint32 n = value.startsWith(u'-') || value.startsWith(u'+') ? 0 : value.toUInt(&ok);
        if (ok)
            return n;
        reject(QStringLiteral("--seed ждёт целое число от 0 до 4294967295, а не «%1»").arg(value));
        return std::nullopt;
    }

    // The name a new theme gets: the one given, or what the list would call it without one.
    QString themeName(int number)
    {
        if (!m_p.isSet(m_set.name))
            return QStringLiteral("Тема %1").arg(Themes::folderName(number));
        const Themes::Name name = Themes::cleanName(m_p.value(m_set.name));
        if (!name.problem.isEmpty())
            reject(QStringLiteral("--name: %1")
                       .arg(name.text.isEmpty()
                               ? QStringLiteral("нужно непустое название")
                               : QStringLiteral("название длиннее %1 знаков или с управляющими "
                                                "символами")
                                     .arg(Themes::MaxNameLength)));
        return name.text;
    }

    QStringList wordsFolders()
    {
        if (!m_p.isSet(m_set.words))
            return Paths::wordsFolders();
        if (m_p.value(m_set.words).isEmpty())
            reject(QStringLiteral("--words ждёт папку, а не пустую строку"));
        return { m_p.value(m_set.words) };
    }

    bool cp1251()
    {
        const QString encoding = m_p.value(m_set.encoding).toLower();
        const bool cp1251 = encoding == u"cp1251" || encoding == u"windows-1251";
        if (m_p.isSet(m_set.encoding) && !cp1251 && encoding != u"utf-8" && encoding != u"utf8")
            reject(
                QStringLiteral("неизвестная кодировка «%1»: нужна utf-8 или cp1251").arg(encoding));
        return cp1251;
    }

    QByteArrayView lineEnd(const Options& o)
    {
        // CR LF is what a save writes; a fortune file is read by Unix lines.
        const QString lineEnds = m_p.isSet(m_set.lineEnds)
            ? m_p.value(m_set.lineEnds).toLower()
            : QString::fromUtf16(o.cp1251 && o.mode != Mode::Fortune ? u"crlf" : u"lf");
        if (lineEnds == u"crlf")
            return "\r\n";
        if (lineEnds != u"lf")
            reject(QStringLiteral("--line-ends ждёт lf или crlf, а не «%1»").arg(lineEnds));
        return "\n";
    }

    const OptionSet& m_set;
    const QCommandLineParser& m_p;
    Parsed m_parsed;
};

} // namespace

Parsed parse(const QStringList& args)
{
    const OptionSet set;
    QCommandLineParser p;
    p.addOptions(set.all());
    if (!p.parse(args))
        return { {}, parseError(p, set.all(), args) };
    return Reader(set, p).read();
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

} // namespace CliOptions
