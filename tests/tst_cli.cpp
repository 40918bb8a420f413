// zurevavud-cli: its tools for word-list authors (--explain and --stats, in-process), and as a
// program: what it prints, its exit codes and its arguments.
#include "cli/explain.h"
#include "cli/options.h"
#include "cli/stats.h"
#include "cli/textwriter.h"
#include "core/session.h"
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
// TestKit::makeOddEntry).
using FileChange = std::pair<const char*, QByteArray>;

bool writeTheme(const QString& dir, Sizes sizes, const QList<FileChange>& changes = {},
    const QString& prefix = QString())
{
    if (!TestKit::writeLabelledTheme(dir, sizes, prefix))
        return false;
    for (const auto& [stem, bytes] : changes) {
        const QString path = dir + u'/' + QLatin1String(stem) + QString(".dat");
        if (!(bytes == "-" ? QFile::remove(path)
                    : bytes.startsWith('!')
                    ? TestKit::makeOddEntry(path, QString::fromLatin1(bytes.mid(1)))
                    : TestKit::writeBytes(path, bytes)))
            return false;
    }
    return true;
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
    // only its owner may read.
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
            { even, {} }, { even, { { "verbF", "-" } } }, // missing file
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
        };
        QString reports;
        for (const auto& [sizes, changes] : cases) {
            QTemporaryDir dir;
            QVERIFY(writeTheme(dir.path() + QString("/02"), sizes, changes));
            const ThemeStats::Report report = ThemeStats::examine({ dir.path() }, 2);
            QCOMPARE(report.brokenRules, int(report.text.count(QString("\n  - "))));
            reports += QString(report.text)
                           .replace(QDir::toNativeSeparators(dir.path()), QString("DIR"))
                + u'\n';
        }
        QVERIFY(TestKit::matchesGolden(QString("stats-broken-rules.txt"), reports.toUtf8()));
    }

    // --- the arguments ---

    // What the parser makes of arguments: the options, said in one line, or its complaint.
    void options_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("parsed");
        const auto row = [](const char* name, QStringList args, const char* parsed) {
            QTest::newRow(name) << args << QString(parsed);
        };
        row("defaults", {}, "text t0 r1 f0 s- utf-8 lf");
        row("short, joined and long forms",
            { "-t", "2", "-r3", "--seed=7", "--explain", "--line-ends=CRLF" },
            "text t2! r3 f0 s7 utf-8 crlf explain");
        row("cp1251 writes CR LF", { "--encoding", "Windows-1251" },
            "text t0 r1 f0 s- cp1251 crlf");
        row("but not for fortune", { "--fortune", "50", "--encoding=cp1251" },
            "fortune t0 r1 f50 s- cp1251 lf");
        row("one, seeded", { "--one", "-s", "4294967295" }, "one t0 r1 f0 s4294967295 utf-8 lf");
        row("stats of a theme", { "--stats", "-t3" }, "stats t3! r1 f0 s- utf-8 lf");
        row("help before all", { "--version", "-h", "--stats" }, "help t0 r1 f0 s- utf-8 lf");
        row("theme out of range", { "--theme", "4" }, "--theme ждёт число от 0 до 3, а не «4»");
        row("runs not a number", { "--runs", "many" },
            "--runs ждёт число от 0 до 1000000, а не «many»");
        row("too many fortunes", { "--fortune", "100001" },
            "--fortune ждёт число от 1 до 100000, а не «100001»");
        row("an option where a value belongs", { "-r", "-t", "1" },
            "--runs ждёт число от 0 до 1000000, а не «-t»");
        row("unknown encoding", { "--encoding", "koi8-r" },
            "неизвестная кодировка «koi8-r»: нужна utf-8 или cp1251");
        row("unknown line ends", { "--line-ends=cr" }, "--line-ends ждёт lf или crlf, а не «cr»");
        row("unknown option", { "--colour" }, "неизвестный параметр «--colour»");
        row("unknown short option", { "-x" }, "неизвестный параметр «-x»");
        row("missing value", { "-r", "2", "--theme" }, "после --theme нужно значение");
        row("empty words folder", { "--words", "" }, "--words ждёт папку, а не пустую строку");
        row("value of a switch", { "--explain=yes" },
            "--explain не принимает значения, а дано «--explain=yes»");
        row("extra argument", { "-t1", "extra" }, "лишний аргумент «extra»");
        row("negative seed", { "--seed", "-1" },
            "--seed ждёт целое число от 0 до 4294967295, а не «-1»");
        row("seed in hex", { "--seed", "0x10" },
            "--seed ждёт целое число от 0 до 4294967295, а не «0x10»");
        row("stats with explain", { "--stats", "--explain" }, "--stats не сочетается с --explain");
        row("one with runs", { "--runs", "2", "--one" }, "--one не сочетается с --runs");
        row("fortune with explain", { "--explain", "--fortune=3" },
            "--fortune не сочетается с --explain");
    }

    void options()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, parsed);
        const CliOptions::Parsed p = CliOptions::parse(QStringList { "zurevavud-cli" } + args);
        const CliOptions::Options& o = p.options;
        const char* const modes[] = { "text", "one", "fortune", "stats", "help", "version" };
        const QString described = QString("%1 t%2%3 r%4 f%5 s%6 %7 %8%9")
                                      .arg(modes[int(o.mode)])
                                      .arg(o.theme)
                                      .arg(o.themeGiven ? "!" : "")
                                      .arg(o.runs)
                                      .arg(o.fortunes)
                                      .arg(o.seed ? QString::number(*o.seed) : QString("-"))
                                      .arg(o.cp1251 ? "cp1251" : "utf-8")
                                      .arg(o.lineEnd == "\r\n" ? "crlf" : "lf")
                                      .arg(o.explain ? " explain" : "");
        QCOMPARE(p.error.isEmpty() ? described : p.error, parsed);
        QVERIFY(!p.error.isEmpty() || o.wordsFolders == Paths::wordsFolders());
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
        QVERIFY(help.status == 0 && help.out.count('\n') < 30);
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
        // Any sentence of a press, openers included; the same for a seed, fresh without one.
        auto one = [this](const QStringList& more) {
            return TestKit::runCli(QStringList { "--words", m_words, "--one" } + more).out;
        };
        QList<QByteArray> seeded;
        for (int seed = 1; seed <= 30; ++seed) {
            seeded << one({ "-s", QString::number(seed) });
            QVERIFY(seeded.last().endsWith(".\n") && seeded.last().count('\n') == 1);
        }
        QCOMPARE(one({ "--seed=1" }), seeded.first());
        QVERIFY(QSet<QByteArray>(seeded.begin(), seeded.end()).size() > 20);
        QVERIFY(("\n" + seeded.join()).contains("\nIntro_"));
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
        QTest::addColumn<QString>("printed"); // the end of standard output; "-" for none

        // Bad arguments, which the parser's table below covers one by one.
        for (const char* arg : { "--theme=4", "extra" })
            QTest::newRow(arg) << QStringList { arg } << 2 << "--help"
                               << "-";
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
        QVERIFY(printed == u"-" ? r.out.isEmpty() : r.out.trimmed().endsWith(printed.toUtf8()));
    }

    void programInAFolderNamedInNoEncoding()
    {
        // A folder name that is no UTF-8 (an archive unzipped from Windows) is reached, beside
        // the program and through --words, and named with its odd byte as \xFF. Its theme
        // folder is empty, so reading it is a failure that says so.
        QTemporaryDir home;
        const TestKit::CliResult r = TestKit::run("sh",
            { "-c",
                "odd=\"$1/x$(printf '\\377')\" && mkdir -p \"$odd/words/00\" && cp \"$2\" \"$odd\" "
                "&& HOME=\"$1\" \"$odd/zurevavud-cli\"; \"$2\" --words \"$odd/words\"; "
                "status=$? && rm -r \"$odd\" && exit $status",
                "sh", home.path(), ZUREVAVUD_CLI });
        QCOMPARE(r.status, 1);
        const QByteArray said = "Файл не найден: " + home.path().toUtf8() + "/x\\xFF/words/00/";
        QVERIFY2(r.err.count(said + "nounM.dat.\n") == 2, r.err.constData());
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
