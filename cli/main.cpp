// zurevavud-cli: the text a window would show, on standard output; single sentences and fortune
// files made of the same sentences; and tools for the people who write word lists.
#include "cli/explain.h"
#include "cli/options.h"
#include "cli/stats.h"
#include "cli/textwriter.h"
#include "core/session.h"
#include "core/themes.h"
#include "modules/mdlsubs.h"
#include "platform/failure.h"
#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cstdio>
#include <string>
#include <unordered_set>

using CliOptions::Mode;
using CliOptions::Options;

namespace {

void complain(const QString& why)
{
    std::fprintf(stderr, "zurevavud-cli: %s\n", why.toLocal8Bit().constData());
}

// Standard output, as the command line writes everything.
class StandardOutput {
public:
    explicit StandardOutput(const Options& o)
        : m_writer(openedStdout(m_file), { o.cp1251, o.lineEnd })
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

    QFile m_file;
    TextWriter m_writer;
    bool m_complained = false;
};

// Status 0 when all of text reached standard output, 1 when not.
int print(const QString& text)
{
    StandardOutput out { Options() };
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
    QList<int> themes { o.theme };
    if (!o.themeGiven) {
        themes.clear();
        for (const Themes::Theme& theme : Themes::list(o.wordsFolders))
            themes << theme.number;
    }
    for (int theme : themes) {
        if (theme != themes.first())
            out->write(u"\n");
        const ThemeStats::Report report = ThemeStats::examine(o.wordsFolders, theme);
        out->write(report.text);
        broken = broken || report.brokenRules > 0;
    }
    if (!out.flush())
        return 1;
    return broken ? 1 : 0;
}

// "07  Моя тема  /home/…/words/07/", the names in a column; below a theme, what is wrong with
// its name and the folders of the same number it hides.
int listThemes(const Options& o)
{
    const QList<Themes::Theme> themes = Themes::list(o.wordsFolders);
    qsizetype width = 0;
    for (const Themes::Theme& theme : themes)
        width = std::max(width, theme.name.size());
    QString text;
    for (const Themes::Theme& theme : themes) {
        text += QStringLiteral("%1  %2  %3\n")
                    .arg(Themes::folderName(theme.number), theme.name.leftJustified(width),
                        theme.folder.isEmpty() ? QStringLiteral("(не найдена)")
                                               : QDir::toNativeSeparators(theme.folder));
        if (!theme.nameProblem.isEmpty())
            text += QStringLiteral("    %1\n").arg(theme.nameProblem);
        for (const QString& hidden : theme.hidden)
            text += QStringLiteral("    не используется: %1\n")
                        .arg(QDir::toNativeSeparators(hidden));
    }
    return print(text);
}

// Makes an own theme in the user's words folder, or in the one --words names.
int newTheme(const Options& o)
{
    const QString into = o.wordsGiven ? o.wordsFolders.first() : Paths::userWordsFolder();
    if (into.isEmpty()) {
        complain(QStringLiteral("некуда положить новую тему: не задана папка данных пользователя "
                                "(HOME или XDG_DATA_HOME); укажите папку параметром --words"));
        return 1;
    }
    try {
        const QString folder = Themes::create(o.newTheme, o.from, o.name, o.wordsFolders, into);
        return print(
            QStringLiteral("Тема %1 «%2» сделана из темы %3: %4\n"
                           "Правьте её файлы и проверяйте: zurevavud-cli --stats --theme %5\n")
                .arg(Themes::folderName(o.newTheme), o.name, Themes::folderName(o.from),
                    QDir::toNativeSeparators(folder))
                .arg(o.newTheme));
    } catch (const Failure& f) {
        complain(f.message());
        return 1;
    }
}

// Any sentence of a press, so that openers, which never start one, appear too.
void writeOne(Session& session, StandardOutput& out)
{
    SentenceList press;
    while (press.texts.isEmpty()) // a press makes no sentence once in 10^10
        session.generate(press);
    const qint16 last = qint16(press.texts.size() - 1);
    out->writeLine(press.texts.at(mdlSubs::RandomBetween(last, 0)));
}

// Status 1, with a message, when the theme makes fewer different sentences than asked for.
int writeFortunes(const Session& session, StandardOutput& out, int wanted)
{
    FortuneOutput fortunes(*out, wanted);
    constexpr int IdleLimit = 1000;
    for (int idle = 0; !fortunes.done() && !out->failed() && idle < IdleLimit;) {
        const qsizetype before = fortunes.written();
        session.generate(fortunes);
        idle = fortunes.written() == before ? idle + 1 : 0;
    }
    if (fortunes.done() || out->failed())
        return 0;
    complain(QStringLiteral("за %1 нажатий подряд не нашлось нового предложения; "
                            "в теме их, похоже, только %2")
                 .arg(IdleLimit)
                 .arg(fortunes.written()));
    return 1;
}

void writePresses(Session& session, StandardOutput& out, const Options& o)
{
    session.setUtf8(!o.cp1251);
    ExplainingOutput explained(*out, session);
    TextOutput& sink = o.explain ? static_cast<TextOutput&>(explained) : *out;
    for (int run = 0; run < o.runs && !out->failed(); ++run)
        session.generate(sink);
}

int generate(const Options& o)
{
    // The window never seeds; a sentence of the day must differ from call to call.
    const std::optional<quint32> seed = o.seed ? o.seed
        : o.mode == Mode::Text                 ? std::nullopt
                               : std::optional(QRandomGenerator::system()->generate());
    if (seed)
        mdlSubs::setUniformSource(mdlSubs::seededSource(*seed));

    Session session(o.wordsFolders);
    StandardOutput out(o);
    int status = 0;
    try {
        session.openOn(o.theme);
        if (o.mode == Mode::One)
            writeOne(session, out);
        else if (o.mode == Mode::Fortune)
            status = writeFortunes(session, out, o.fortunes);
        else
            writePresses(session, out, o);
    } catch (const Failure& f) {
        out.flush();
        complain(f.message());
        status = 1;
    }
    return out.flush() ? status : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // As the system gives them: QCoreApplication's lose a folder name that is no UTF-8.
    const CliOptions::Parsed parsed = CliOptions::parse(Paths::arguments(argc, argv));
    if (!parsed.error.isEmpty()) {
        complain(parsed.error + QStringLiteral("; справка: zurevavud-cli --help"));
        return 2;
    }
    const Options& o = parsed.options;
    switch (o.mode) {
    case Mode::Help:
        return print(CliOptions::helpText());
    case Mode::Version:
        return print(QStringLiteral("zurevavud-cli (Zurevavud) " ZUREVAVUD_VERSION "\n"));
    case Mode::Stats:
        return stats(o);
    case Mode::ListThemes:
        return listThemes(o);
    case Mode::NewTheme:
        return newTheme(o);
    default:
        return generate(o);
    }
}
