// zurevavud-cli: its tools for word-list authors (--explain and --stats, in-process), and as a
// program: what it prints, its exit codes and its arguments.
#include "cli/explain.h"
#include "cli/options.h"
#include "cli/sameroot.h"
#include "cli/stats.h"
#include "cli/textwriter.h"
#include "core/session.h"
#include "platform/codepage.h"
#include "platform/paths.h"
#include "testkit.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <unistd.h>

using TestKit::Sizes;

namespace {

using TestKit::labelled;

// A file of a labelled theme made these bytes, removed ("-"), or an odd entry ("!fifo", see
// TestKit::makeOddEntry); a stem with a dot is a file of its own name.
using FileChange = std::pair<const char*, QByteArray>;

bool writeTheme(const QString& dir, Sizes sizes, const QList<FileChange>& changes = {},
    const QString& prefix = QString())
{
    if (!TestKit::writeLabelledTheme(dir, sizes, prefix))
        return false;
    for (const auto& [stem, bytes] : changes) {
        const QString path = dir + u'/' + QLatin1String(stem)
            + (QByteArrayView(stem).contains('.') ? QString() : QString(".dat"));
        if (!(bytes == "-" ? QFile::remove(path)
                    : bytes.startsWith('!')
                    ? TestKit::makeOddEntry(path, QString::fromLatin1(bytes.mid(1)))
                    : TestKit::writeBytes(path, bytes)))
            return false;
    }
    return true;
}

// A labelled file of 30 entries with some of them real words: {entry, word}.
QByteArray planted(const char* stem, std::initializer_list<std::pair<int, const char*>> words)
{
    QByteArray bytes = labelled(stem, 30);
    for (const auto& [at, word] : words)
        bytes.replace(QByteArray(stem) + '_' + QByteArray::number(at) + "\r\n",
            CodePage::encodeAnsi(QString::fromUtf8(word)) + "\r\n");
    return bytes;
}

// What a fresh program's window shows after choosing theme and pressing runs times, explained.
QString generated(const QString& words, int theme, int runs, bool explain)
{
    Session session({ words });
    TestKit::startFresh(session, theme);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        TextWriter writer(buffer, { false, "\r\n" });
        ExplainingOutput explained(writer, session);
        TextOutput& out = explain ? static_cast<TextOutput&>(explained) : writer;
        for (int i = 0; i < runs; ++i)
            session.generate(out);
    }
    mdlSubs::resetRandomState();
    return QString::fromUtf8(buffer.data());
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    // Theme 00 keeps every rule, 01 has no openers, 02 a FIFO for a word file, 03 is a folder
    // only its owner may read, 04 has but one word, and few different sentences.
    QString m_words;

private slots:
    void initTestCase()
    {
        m_words = m_dir.path() + QString("/words");
        QVERIFY(writeTheme(m_words + QString("/00"), { 40, 40, 40, 40, 40 }));
        QVERIFY(writeTheme(m_words + QString("/01"), { 30, 30, 30, 30, 0 }));
        QVERIFY(
            writeTheme(m_words + QString("/02"), { 30, 30, 30, 30, 30 }, { { "nounF", "!fifo" } }));
        QVERIFY(QDir(m_words).mkdir("03") && QFile::setPermissions(m_words + "/03", {}));
        QList<FileChange> oneWord;
        for (const WordLayout::WordFile& file : WordLayout::LoadOrder)
            oneWord.append({ file.stem, "h\r\n" + QByteArray("a\r\n").repeated(30) });
        QVERIFY(writeTheme(m_words + QString("/04"), { 30, 30, 30, 30, 30 }, oneWord));
        QVERIFY(QFile::setPermissions(m_dir.path(), QFile::permissions(m_words)));
    }

    // --- --explain ---

    void explain_data()
    {
        QTest::addColumn<int>("theme");
        QTest::addColumn<QString>("golden");
        QTest::newRow("theme 02 over 00, short nounN1") << 2 << "explain-02-over-00.txt";
        QTest::newRow("theme 00, short nounN and nounF") << 0 << "explain-short-files.txt";
    }

    void explain()
    {
        QFETCH(int, theme);
        QFETCH(QString, golden);
        // Words of 00 left in the slots 02 does not reach are marked "00/"; slots no file
        // reached are "(пусто)"; a shifted block names the file its words really come from.
        QTemporaryDir dir;
        const QString words = dir.path() + QString("/words");
        if (theme == 2) {
            QVERIFY(writeTheme(words + QString("/00"), { 60, 60, 60, 60, 60 }, {}, QString("00/")));
            QVERIFY(writeTheme(words + QString("/02"), { 30, 25, 35, 40, 45 },
                { { "nounN1", labelled("nounN1", 20) } }));
        } else {
            QVERIFY(writeTheme(words + QString("/00"), { 30, 30, 30, 30, 30 },
                { { "nounN", labelled("nounN", 20) }, { "nounF", labelled("nounF", 25) } }));
        }
        const QString text = generated(words, theme, 4, true);
        QVERIFY(TestKit::matchesGolden(golden, text.toUtf8()));

        // Without the explanation lines, exactly the plain text.
        QString stripped = text;
        stripped.remove(QRegularExpression(QString("\r\n[AB]  g=[^\r\n]*\r\n")));
        QCOMPARE(stripped, generated(words, theme, 4, false));
    }

    // --- --stats ---

    void statsReportsBrokenRules()
    {
        // Each case is theme 02 of its own folder; the golden file holds every report, with
        // the sentence numbers each template can make (checked by hand for the first one).
        const Sizes even { 30, 30, 30, 30, 30 };
        const std::pair<Sizes, QList<FileChange>> cases[] = {
            { even, {} },
            { even, { { "verbF", "-" } } }, // missing file
            { even, { { "nounF1", labelled("nounF1", 30, {}, 7) } } }, // empty line 9
            { even, { { "nounN2", labelled("nounN2", 1000) } } }, // past slot 3000
            { even, { { "nounF", labelled("nounF", 31) } } }, // shifts nounN
            { even, { { "adjM1", labelled("adjM1", 29) } } }, // unread, but shifts adjF1 and adjN1
            { even, { { "verbN", labelled("verbN", 28) } } },
            { even, { { "advF", labelled("advF", 32) } } },
            { even, { { "nounN", labelled("nounN", 25) } } }, // slots never filled
            { { 334, 30, 30, 30, 30 }, { { "nounN2", labelled("nounN2", 333) } } },
            { { 30, 30, 30, 668, 30 }, { { "advN", labelled("advN", 664) } } },
            { { 30, 1001, 30, 30, 30 },
                { { "verbN", labelled("verbN", 1000) }, { "verbF", labelled("verbF", 0) } } },
            { { 30, 30, 30, 30, 19 }, {} },
            { even,
                { { "nounF", labelled("nounF", 30, {}, 3, " nounF_3") },
                    { "adjN2", labelled("adjN2", 30, {}, 0, "   ") } } },
            { even,
                { { "nounN2", labelled("nounN2", 30, {}, 25, "#") } } }, // the end mark stays in a
                                                                         // slot that is read
            // What no editor should leave in a word list, and what no folder should hold.
            { even, { { "intro", "h\n\xF0\xE0\xE7\n\xE4\xE2\xE0\n" } } }, // LF line ends
            { even, { { "advF", "h\r\xF0\xE0\xE7\r" } } }, // CR line ends
            { even, { { "adjM", "h\r\n\xD0\xBA\xD0\xBE\xD1\x82\r\nx\tz\r\nun\nbroken\r\n" } } },
            { even, { { "verbN", "!fifo" }, { "verbF", "!device" } } },
            { { 30, 30, 30, 30, 0 }, {} }, // an empty family
            // Words of one root that may meet in a sentence are a warning, no broken rule;
            // same-root.txt accepts a pair as a joke and says what in it is amiss.
            { even,
                { { "nounM", planted("nounM", { { 3, "хвост" } }) },
                    { "nounF", planted("nounF", { { 7, "колесница" }, { 9, "лиса" } }) },
                    { "nounN", planted("nounN", { { 5, "ухо" } }) },
                    { "adjM",
                        planted("adjM",
                            { { 4, "хвостатый" }, { 6, "ушастый" }, { 8, "колёсный" },
                                { 10, "лисий" } }) },
                    { "same-root.txt",
                        "# a joke\nЛиса / лисий\nзмея / змеиный\nхвост хвостатый\n" } } },
        };
        QString reports;
        for (const auto& [sizes, changes] : cases) {
            QTemporaryDir dir;
            QVERIFY(writeTheme(dir.path() + QString("/02"), sizes, changes));
            const ThemeStats::Report report = ThemeStats::examine({ dir.path() }, 2);
            QCOMPARE(report.brokenRules,
                int(report.text.section(QString("  Предупреждения"), 0, 0)
                        .count(QString("\n  - "))));
            reports += QString(report.text)
                           .replace(QDir::toNativeSeparators(dir.path()), QString("DIR"))
                + u'\n';
        }
        QVERIFY(TestKit::matchesGolden(QString("stats-broken-rules.txt"), reports.toUtf8()));
    }

    // --- the arguments ---

    // What the parser makes of arguments: the options, said in one line, or its complaint.
    // The options as parsed, or the error, per command line: cli-options.txt.
    void options()
    {
        const QList<QStringList> cases {
            {},
            { "-t", "2", "-r3", "--seed=7", "--explain", "--line-ends=CRLF" },
            { "--encoding", "Windows-1251" },
            { "--fortune", "50", "--encoding=cp1251" },
            { "--one", "-s", "4294967295" },
            { "--stats", "-t3" },
            { "--version", "-h", "--stats" },
            { "--theme", "99", "--one" },
            { "--list-themes" },
            { "--new-theme=4", "--from", "1", "--name", " \tОфис\n " },
            { "--new-theme", "99" },
            { "--theme", "100" },
            { "--new-theme", "3" },
            { "--new-theme", "5", "--name", QString(41, u'ы') },
            { "--new-theme", "5", "--name", "\t" },
            { "--from", "2" },
            { "--new-theme", "5", "--list-themes" },
            { "--runs", "many" },
            { "--fortune", "100001" },
            { "-r", "-t", "1" },
            { "--encoding", "koi8-r" },
            { "--line-ends=cr" },
            { "--colour" },
            { "-x" },
            { "-r", "2", "--theme" },
            { "--words", "" },
            { "--explain=yes" },
            { "-t1", "extra" },
            { "--seed", "-1" },
            { "--seed", "+7" },
            { "--seed", "0x10" },
            { "--stats", "--explain" },
            { "--runs", "2", "--one" },
            { "--explain", "--fortune=3" },
        };
        const char* const modes[]
            = { "text", "one", "fortune", "stats", "list", "new", "help", "version" };
        QString made;
        for (const QStringList& args : cases) {
            const CliOptions::Parsed p = CliOptions::parse(QStringList { "zurevavud-cli" } + args);
            const CliOptions::Options& o = p.options;
            const QString described = QString("%1 t%2%3 r%4 f%5 s%6 %7 %8%9")
                                          .arg(modes[int(o.mode)])
                                          .arg(o.theme)
                                          .arg(o.themeGiven ? "!" : "")
                                          .arg(o.runs)
                                          .arg(o.fortunes)
                                          .arg(o.seed ? QString::number(*o.seed) : QString("-"))
                                          .arg(o.cp1251 ? "cp1251" : "utf-8")
                                          .arg(o.lineEnd == "\r\n" ? "crlf" : "lf")
                                          .arg(o.explain ? " explain" : "")
                + (o.mode == CliOptions::Mode::NewTheme
                        ? QString(" %1 from %2 «%3»").arg(o.newTheme).arg(o.from).arg(o.name)
                        : QString());
            QStringList shown;
            for (const QString& arg : args)
                shown << "[" + QString(arg).replace('\t', "\\t").replace('\n', "\\n") + "]";
            made += shown.join(' ') + " → " + (p.error.isEmpty() ? described : p.error) + '\n';
            QVERIFY(!p.error.isEmpty() || o.wordsFolders == Paths::wordsFolders());
        }
        QVERIFY(TestKit::matchesGolden("cli-options.txt", made.toUtf8()));
    }

    // --- the writer ---

    // A long text goes out while it is written, not all at the end; the last byte too.
    void writerWritesAsItGoes()
    {
        const QString line(99, QChar(u'Ж'));
        for (const bool lines : { true, false }) {
            for (const bool cp1251 : { false, true }) {
                QBuffer buffer;
                buffer.open(QIODevice::WriteOnly);
                TextWriter writer(buffer, { cp1251, "\r\n" });
                for (int i = 0; i < 2000; ++i)
                    lines ? writer.writeLine(CodePage::encodeAnsi(line))
                          : writer.write(line + u'\n');
                QVERIFY(buffer.size() > 0);
                QVERIFY(writer.flush());
                writer.write(u"!");
                QVERIFY(writer.flush());
                QCOMPARE(buffer.size(), 2000 * ((cp1251 ? 1 : 2) * 99 + 2) + 1);
                QVERIFY(buffer.data().endsWith("\r\n!"));
            }
        }
    }

    // --- the program ---

    // What it prints, byte for byte; the shipped theme 02 in Windows-1251 is exactly what a
    // save of the window writes after eight presses.
    void prints_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("golden");
        QTest::newRow("defaults") << QStringList() << "cli-defaults.txt";
        QTest::newRow("theme 1, no presses") << QStringList { "-t", "1", "-r0" } << "cli-none.txt";
        QTest::newRow("three presses, seeded, explained, CR LF") << QStringList { "-r3", "--seed=7",
            "--explain", "--line-ends=crlf" } << "cli-explained-crlf.txt";
        QTest::newRow("cp1251, LF")
            << QStringList { "-s7", "--encoding=cp1251", "--line-ends=lf" } << "cli-cp1251-lf.txt";
        QTest::newRow("a save of the window") << QStringList { "--words",
            ZUREVAVUD_SOURCE_DIR "/words", "-t2", "-r8", "--encoding", "cp1251" }
                                              << "run-02.txt";
        QTest::newRow("help") << QStringList { "--help" } << "cli-help.txt";
        QTest::newRow("stats of the shipped themes")
            << QStringList { "--words", ZUREVAVUD_SOURCE_DIR "/words", "--stats" }
            << "cli-stats.txt";
    }

    void prints()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, golden);
        const TestKit::CliResult r = TestKit::runCli(QStringList { "--words", m_words } + args);
        QCOMPARE(r.status, 0);
        QCOMPARE(r.err, QByteArray());
        QVERIFY(
            TestKit::matchesGolden(golden, QByteArray(r.out).replace(ZUREVAVUD_SOURCE_DIR, "SRC")));
    }

    void helpVersionAndCompletion()
    {
        const TestKit::CliResult help = TestKit::runCli({ "-h" }),
                                 version = TestKit::runCli({ "-v" });
        QCOMPARE(help.status, 0);
        QCOMPARE(TestKit::runCli({ "--version" }).out, version.out);
        QVERIFY(QString(version.out)
                    .contains(QRegularExpression("^zurevavud-cli \\(Zurevavud\\) [\\d.]+\n$")));

        // The bash completion beside the program offers exactly the options --help names.
        QSet<QString> named;
        for (const auto& m : QRegularExpression("--[a-z-]+").globalMatch(help.out))
            named << m.captured();
        const TestKit::CliResult bash = TestKit::run("bash",
            { "-c",
                "source \"$0\" && COMP_WORDS=(x --) COMP_CWORD=1 && _zurevavud_cli && echo "
                "${COMPREPLY[*]}",
                QFileInfo(ZUREVAVUD_CLI).path() + "/zurevavud-cli.bash" });
        const QStringList offered = QString::fromUtf8(bash.out.simplified()).split(u' ');
        QCOMPARE(QSet<QString>(offered.begin(), offered.end()), named);
    }

    void oneSentence()
    {
        // Any sentence of a press, openers included; the same for a seed (the golden pins which
        // for thirty), fresh without one.
        auto one = [this](const QStringList& more) {
            return TestKit::runCli(QStringList { "--words", m_words, "--one" } + more).out;
        };
        QByteArray seeded;
        for (int seed = 1; seed <= 30; ++seed)
            seeded += one({ "-s", QString::number(seed) });
        QVERIFY(TestKit::matchesGolden("cli-one.txt", seeded));
        QVERIFY(one({}) != one({}));
    }

    void fortuneFile()
    {
        // Different one-line sentences, each followed by a "%" line: what strfile and fortune read.
        const auto out = TestKit::runCli({ "--words", m_words, "--fortune", "50", "-s3" }).out;
        const QStringList entries = QString::fromUtf8(out).split("\n%\n");
        QCOMPARE(entries.filter(QRegularExpression("^[^\n]+\\.$")).size(), 50);
        QCOMPARE(QSet<QString>(entries.begin(), entries.end()).size(), 51); // and "" at the end

        const QString fortune = QStandardPaths::findExecutable(
            "fortune", qEnvironmentVariable("PATH").split(':') << "/usr/games");
        if (fortune.isEmpty())
            QSKIP("fortune and strfile (package fortune-mod) are not installed");
        QTemporaryDir dir;
        QVERIFY(TestKit::writeBytes(dir.filePath("wisdom"), out));
        QVERIFY(TestKit::run("strfile", { dir.filePath("wisdom") })
                    .out.contains("There were 50 strings"));
        const QByteArray served = TestKit::run(fortune, { dir.filePath("wisdom") }).out;
        QVERIFY(entries.contains(QString::fromUtf8(served).trimmed()));
    }

    // Every way the program ends but a plain success: its status, one line on standard error
    // that says why (in Russian: never the parser's English), and what standard output keeps.
    void endsAndMessages_data()
    {
        QTest::addColumn<QStringList>("args"); // after "--words W"
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        QTest::addColumn<QString>("printed"); // some of standard output; "-" for none

        // Bad arguments, which the parser's table below covers one by one.
        for (const char* arg : { "--theme=100", "extra" })
            QTest::newRow(arg) << QStringList { arg } << 2 << "--help"
                               << "-";
        QTest::newRow("fewer different sentences than asked for")
            << QStringList { "-t4", "--fortune", "1000" } << 1 << "не нашлось нового предложения"
            << "%";
        // Theme 01 has no openers, and its first sentence wants one.
        QTest::newRow("no openers") << QStringList { "-t1" } << 1 << "задаёт файл intro.dat"
                                    << "-";
        QTest::newRow("no such words folder")
            << QStringList { "--words", "no-such-words" } << 1
            << QDir::current().absoluteFilePath("no-such-words/00") << "-";
        // As a user, which the tests are not when they run as root.
        QTest::newRow("a theme folder only its owner may read")
            << QStringList { "-t3", "nobody" } << 1 << "Нет прав доступа"
            << "-";
        QTest::newRow("a FIFO for a word file") << QStringList { "-t2" } << 1 << "FIFO"
                                                << "-";
        // A broken rule is no error of the program: the report says it, standard error nothing.
        QTest::newRow("stats of every theme") << QStringList { "--stats" } << 1 << ""
                                              << "не загружается.";
        for (const char* mode : { "--one", "--explain", "--stats", "--help", "--version" })
            QTest::newRow(qPrintable(QString("%1 to a full output").arg(mode)))
                << QStringList { mode, "-t0", "full" } << 1 << "записать"
                << "-";
        QTest::newRow("--fortune to a full output")
            << QStringList { "--fortune", "3", "full" } << 1 << "записать"
            << "-";
    }

    void endsAndMessages()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, says);
        QFETCH(QString, printed);
        const bool full = args.removeAll(QString("full")) > 0;
        const bool asNobody = args.removeAll(QString("nobody")) > 0 && ::geteuid() == 0;
        if (args.value(0) == u"--help" || args.value(0) == u"--version")
            args.removeLast(); // they take no theme
        args = QStringList { "--words", m_words } + args;
        const TestKit::CliResult r = asNobody
            ? TestKit::run("setpriv",
                QStringList { "--reuid=nobody", "--regid=nogroup", "--clear-groups", ZUREVAVUD_CLI }
                    + args)
            : TestKit::runCli(args, full ? "/dev/full" : QString());
        QCOMPARE(r.status, status);
        QCOMPARE(r.err.count('\n'), says.isEmpty() ? 0 : 1);
        QVERIFY2(QString::fromUtf8(r.err).contains(says), r.err.constData());
        QVERIFY(!QString::fromUtf8(r.err).contains(QRegularExpression("[A-Z][a-z]+ [a-z]+")));
        QVERIFY(printed == u"-" ? r.out.isEmpty() : r.out.contains(printed.toUtf8()));
    }

    // Themes of one's own: found in every place words are looked for, listed after the shipped
    // ones, used by number, and made from a copy of another theme.
    void ownThemes()
    {
        QTemporaryDir home;
        const TestKit::UserFolders folders(home.path());
        const QString own = home.path() + "/.local/share/zurevavud/words/",
                      system = home.path() + "/system/zurevavud/words/";
        QVERIFY(TestKit::writeLabelledTheme(own + "07", { 25, 25, 25, 25, 25 }, "07/"));
        QVERIFY(TestKit::writeLabelledTheme(system + "07")
            && TestKit::writeLabelledTheme(system + "09"));
        QVERIFY(QFile::remove(system + "09/verbN.dat"));
        const std::pair<const char*, QByteArray> names[] = {
            { "07", "Моя тема\r\nвторая строка" },
            { "09", "\xEF\xBB\xBFСломанная" },
            { "10", "\xCA\xF3\xF5\xED\xFF" }, // Windows-1251
            { "11", "" },
            { "12", QByteArray("Армия").repeated(9) },
            { "13", "\x01\x02\t" },
            { "15", "Кух\x7Fня" },
            { "5", "одна цифра" },
            { "123", "три цифры" },
        };
        for (const auto& [folder, name] : names) {
            const QString at = (QByteArray(folder) == "09" ? system : own) + folder;
            QVERIFY(QDir().mkpath(at) && TestKit::writeBytes(at + "/name.txt", name));
        }
        QVERIFY(QDir().mkpath(own + "14")); // no name.txt
        const TestKit::CliResult listed = TestKit::runCli({ "--list-themes" });
        // Bash completes the numbers of that list.
        const TestKit::CliResult completed = TestKit::run("bash",
            { "-c",
                "source \"${0%/*}/zurevavud-cli.bash\" && COMP_WORDS=(\"$0\" -t '') && "
                "COMP_CWORD=2 && _zurevavud_cli && echo ${COMPREPLY[*]}",
                ZUREVAVUD_CLI });
        QCOMPARE(completed.out, QByteArray("0 1 2 3 7 9 10 11 12 13 14 15\n"));
        QCOMPARE(listed.status, 0);
        QVERIFY(TestKit::matchesGolden("cli-list-themes.txt",
            QByteArray(listed.out)
                .replace(home.path().toUtf8(), "HOME")
                .replace(QFileInfo(ZUREVAVUD_CLI).path().toUtf8(), "BIN")));

        // Generated from its own words; a broken one refused, naming the file that is missing.
        QVERIFY(TestKit::runCli({ "--theme", "7", "-s1" }).out.contains("07/nounM_"));
        const TestKit::CliResult broken = TestKit::runCli({ "-t9" });
        QVERIFY(broken.status == 1 && broken.err.contains(system.toUtf8() + "09/verbN.dat"));

        // A new theme: a copy that --stats passes, and whose name it checks; never made over
        // one that is there.
        const TestKit::CliResult made
            = TestKit::runCli({ "--new-theme", "4", "--from", "7", "--name", "Офис" });
        QVERIFY2(made.status == 0 && made.out.contains(own.toUtf8() + "04"), made.err.constData());
        QCOMPARE(TestKit::readBytes(own + "04/name.txt"), QByteArray("Офис\n"));
        QCOMPARE(
            TestKit::readBytes(own + "04/intro.dat"), TestKit::readBytes(own + "07/intro.dat"));
        const TestKit::CliResult stats = TestKit::runCli({ "--stats", "-t4" });
        QVERIFY(stats.status == 0 && stats.out.startsWith("Тема 04 «Офис»"));
        QVERIFY(TestKit::writeBytes(own + "04/name.txt", "\n"));
        QVERIFY(TestKit::runCli({ "--stats", "-t4" }).out.contains("Имя темы: в первой строке"));
        const auto before = TestKit::snapshot(own);
        const TestKit::CliResult again = TestKit::runCli({ "--new-theme", "4" });
        QVERIFY(again.status == 1 && again.err.contains("Папка уже есть"));
        const TestKit::CliResult missing = TestKit::runCli({ "--new-theme", "16", "--from", "40" });
        QVERIFY(missing.status == 1 && missing.err.contains("40"));
        QCOMPARE(TestKit::snapshot(own), before);
        // In a home that has no folder of words yet.
        QTemporaryDir fresh;
        const TestKit::UserFolders inFresh(fresh.path());
        QCOMPARE(TestKit::runCli({ "--new-theme", "5" }).status, 0);
        QVERIFY(QFileInfo::exists(fresh.path() + "/.local/share/zurevavud/words/05/nounM.dat"));
    }

    void programInAFolderNamedInNoEncoding()
    {
        // A folder name that is no UTF-8 (an archive unzipped from Windows) is reached, beside
        // the program and through --words, and named with its odd bytes as \x80\xFF (the lowest
        // and the highest). Its theme folder is empty, so reading it is a failure that says so.
        QTemporaryDir home;
        const TestKit::CliResult r = TestKit::run("sh",
            { "-c",
                "odd=\"$1/x$(printf '\\200\\377')\" && mkdir -p \"$odd/words/00\" "
                "&& cp \"$2\" \"$odd\" && HOME=\"$1\" \"$odd/zurevavud-cli\"; "
                "\"$2\" --words \"$odd/words\"; status=$? && rm -r \"$odd\" && exit $status",
                "sh", home.path(), ZUREVAVUD_CLI });
        QCOMPARE(r.status, 1);
        const QByteArray said
            = "Файл не найден: " + home.path().toUtf8() + "/x\\x80\\xFF/words/00/";
        QVERIFY2(r.err.count(said + "nounM.dat.\n") == 2, r.err.constData());
    }

    // --- the same-root rule of --stats ---

    void sameRoot_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("shared");
        const QString pairs = QString::fromUtf8(
            TestKit::readBytes(QString(ZUREVAVUD_SOURCE_DIR "/tests/data/root-pairs.txt")));
        for (const QString& line : pairs.split(u'\n', Qt::SkipEmptyParts)) {
            const QStringList entries = line.mid(2).split(QString(" | "));
            if (!line.startsWith(u'#'))
                QTest::addRow("%s", qPrintable(line))
                    << entries[0] << entries[1] << line.startsWith(u'+');
        }
        QVERIFY(pairs.count(u'\n') > 40);
    }

    void sameRoot()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, shared);
        const auto roots = [](const QString& entry) {
            return SameRoot::rootsOf(
                entry.mid(2), SameRoot::Kind(QString("nasdvo").indexOf(entry[0])));
        };
        QCOMPARE(!SameRoot::shared(roots(a), roots(b)).isEmpty(), shared);
        QCOMPARE(!SameRoot::shared(roots(b), roots(a)).isEmpty(), shared);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
