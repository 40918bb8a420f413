// zurevavud-cli: its tools for word-list authors (--explain and --stats, in-process), and as a
// program: what it prints, its exit codes and its arguments.
#include "cli/stats.h"
#include "cli/textwriter.h"
#include "core/session.h"
#include "testkit.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <unistd.h>

using TestKit::Sizes;

namespace {

// One change to a labelled theme: the file gets this many labelled entries, with entry `at`
// (from 0) replaced by text; with a negative count it is removed; or it becomes these bytes,
// or an odd entry ("!fifo", "!device", see TestKit::makeOddEntry).
struct FileChange {
    FileChange(const char* stem = "", int entries = 0, int at = -1, const char* text = "")
        : stem(QString::fromUtf8(stem))
        , entries(entries)
        , at(at)
        , text(QString::fromUtf8(text))
    {
    }
    FileChange(const char* stem, QByteArray bytes)
        : FileChange(stem)
    {
        raw = std::move(bytes);
    }
    QString stem;
    int entries;
    int at;
    QString text;
    QByteArray raw;
};

bool writeTheme(const QString& dir, Sizes sizes, const QList<FileChange>& changes = {},
    const QString& prefix = QString())
{
    if (!TestKit::writeLabelledTheme(dir, sizes, prefix))
        return false;
    for (const FileChange& c : changes) {
        const QString path = dir + u'/' + c.stem + QStringLiteral(".dat");
        if (c.raw.startsWith('!') ? !TestKit::makeOddEntry(path, QString::fromLatin1(c.raw.mid(1)))
                                  : !c.raw.isEmpty() && !TestKit::writeBytes(path, c.raw))
            return false;
        if (!c.raw.isEmpty())
            continue;
        if (c.entries < 0) {
            if (!QFile::remove(dir + u'/' + c.stem + QStringLiteral(".dat")))
                return false;
            continue;
        }
        QStringList lines;
        for (int i = 0; i < c.entries; ++i)
            lines << c.stem + u'_' + QString::number(i);
        if (c.at >= 0)
            lines[c.at] = c.text;
        if (!TestKit::writeWordFile(dir, c.stem, lines))
            return false;
    }
    return true;
}

// What a fresh program's window shows after choosing theme and pressing runs times, explained.
QString generated(const QString& words, int theme, int runs, bool explain,
    std::unique_ptr<mdlSubs::UniformSource> source = nullptr)
{
    mdlSubs::resetRandomState();
    mdlSubs::setUniformSource(std::move(source));
    Session session({ words });
    if (theme != 0)
        session.start();
    session.select(theme);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        TextWriter out(buffer, { false, "\r\n" }, explain ? &session : nullptr);
        for (int i = 0; i < runs; ++i)
            session.generate(out);
    }
    mdlSubs::resetRandomState();
    return QString::fromUtf8(buffer.data());
}

} // namespace

Q_DECLARE_METATYPE(FileChange)
Q_DECLARE_METATYPE(TestKit::Sizes)

class TestCli : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_words; // theme 00 with 40 entries in every file, theme 01 with two openers

private slots:
    void initTestCase()
    {
        m_words = m_dir.path() + QStringLiteral("/words");
        QVERIFY(writeTheme(m_words + QStringLiteral("/00"), { 40, 40, 40, 40, 40 }));
        QVERIFY(writeTheme(m_words + QStringLiteral("/01"), { 30, 30, 30, 30, 2 }));
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
        const QString words = dir.path() + QStringLiteral("/words");
        if (theme == 2) {
            QVERIFY(writeTheme(
                words + QStringLiteral("/00"), { 60, 60, 60, 60, 60 }, {}, QStringLiteral("00/")));
            QVERIFY(writeTheme(
                words + QStringLiteral("/02"), { 30, 25, 35, 40, 45 }, { { "nounN1", 20 } }));
        } else {
            QVERIFY(writeTheme(words + QStringLiteral("/00"), { 30, 30, 30, 30, 30 },
                { { "nounN", 20 }, { "nounF", 25 } }));
        }
        const QString text = generated(words, theme, 4, true);
        QVERIFY(TestKit::matchesGolden(golden, text.toUtf8()));

        // Without the explanation lines, exactly the plain text.
        QString stripped = text;
        stripped.remove(QRegularExpression(QStringLiteral("\r\n[AB]  g=[^\r\n]*\r\n")));
        QCOMPARE(stripped, generated(words, theme, 4, false));
    }

    // --- --stats ---

    void statsReportsBrokenRules()
    {
        // Each case is theme 02 of its own folder; the golden file holds every report, with
        // the sentence numbers each template can make (checked by hand for the first one).
        const Sizes even { 30, 30, 30, 30, 30 };
        const std::pair<Sizes, QList<FileChange>> cases[] = {
            { even, {} }, { even, { { "verbF", -1 } } }, // missing file
            { even, { { "nounF1", 30, 7, "" } } }, // empty line 9
            { even, { { "nounN2", 1000 } } }, // past slot 3000
            { even, { { "nounF", 31 } } }, // shifts nounN
            { even, { { "adjM1", 29 } } }, // unread, but shifts adjF1 and adjN1
            { even, { { "verbN", 28 } } }, { even, { { "advF", 32 } } },
            { even, { { "nounN", 25 } } }, // slots never filled
            { { 334, 30, 30, 30, 30 }, { { "nounN2", 333 } } },
            { { 30, 30, 30, 668, 30 }, { { "advN", 664 } } },
            { { 30, 1001, 30, 30, 30 }, { { "verbN", 1000 }, { "verbF", 0 } } },
            { { 30, 30, 30, 30, 19 }, {} },
            { even, { { "nounF", 30, 3, " nounF_3" }, { "adjN2", 30, 0, "   " } } },
            { even, { { "nounN2", 30, 25, "#" } } }, // the end mark stays in a slot that is read
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
            QVERIFY(writeTheme(dir.path() + QStringLiteral("/02"), sizes, changes));
            const ThemeStats::Report report = ThemeStats::examine({ dir.path() }, 2);
            QCOMPARE(report.brokenRules, int(report.text.count(QStringLiteral("\n  - "))));
            reports += QString(report.text)
                           .replace(QDir::toNativeSeparators(dir.path()), QStringLiteral("DIR"))
                + u'\n';
        }
        QVERIFY(TestKit::matchesGolden(QStringLiteral("stats-broken-rules.txt"), reports.toUtf8()));
    }

    // --- the program ---

    void printsWhatTheWindowShows_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("theme");
        QTest::addColumn<int>("runs");
        QTest::addColumn<quint32>("seed"); // 0: none
        QTest::newRow("defaults") << QStringList() << 0 << 1 << 0u;
        QTest::newRow("theme 1, no presses") << QStringList { "-t", "1", "-r0" } << 1 << 0 << 0u;
        QTest::newRow("three presses, seeded, explained, CR LF")
            << QStringList { "-r3", "--seed=7", "--explain", "--line-ends=crlf" } << 0 << 3 << 7u;
        QTest::newRow("cp1251, LF")
            << QStringList { "-s7", "--encoding=cp1251", "--line-ends=lf" } << 0 << 1 << 7u;
    }

    void printsWhatTheWindowShows()
    {
        QFETCH(QStringList, args);
        QFETCH(int, theme);
        QFETCH(int, runs);
        QFETCH(quint32, seed);
        const TestKit::CliResult r
            = TestKit::runCli(QStringList { QStringLiteral("--words"), m_words } + args);
        QCOMPARE(r.status, 0);
        QCOMPARE(r.err, QByteArray());
        const QString text
            = generated(m_words, theme, runs, args.contains("--explain"),
                seed ? mdlSubs::seededSource(seed) : nullptr)
                  .replace("\r\n", args.contains("--line-ends=crlf") ? "\r\n" : "\n");
        QCOMPARE(args.contains("--encoding=cp1251") ? CodePage::decodeAnsi(r.out) : QString(r.out),
            text);
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

    void fullOutputFails()
    {
        for (const QStringList& args : QList<QStringList> { {}, { "--one" }, { "--fortune", "3" },
                 { "--stats", "-t", "0" }, { "--explain" }, { "--help" }, { "--version" } }) {
            const auto r = TestKit::runCli(QStringList { "--words", m_words } + args, "/dev/full");
            QVERIFY2(r.status == 1 && r.err.contains("записать"), qPrintable(args.join(' ')));
        }
    }

    void windows1251IsTheBytesOfASave()
    {
        const QString words = QStringLiteral(ZUREVAVUD_SOURCE_DIR "/words");
        const TestKit::CliResult r = TestKit::runCli({ QStringLiteral("--words"), words,
            QStringLiteral("--theme"), QStringLiteral("2"), QStringLiteral("--runs"),
            QStringLiteral("8"), QStringLiteral("--encoding"), QStringLiteral("cp1251") });
        QCOMPARE(r.status, 0);
        QVERIFY(TestKit::matchesGolden(QStringLiteral("run-02.txt"), r.out));
    }

    void failureKeepsWhatWasMade()
    {
        // Two openers: the second sentence that needs one fails, after the first was printed.
        const TestKit::CliResult r = TestKit::runCli(
            { QStringLiteral("--words"), m_words, QStringLiteral("--theme"), QStringLiteral("1") });
        QCOMPARE(r.status, 1);
        QVERIFY(r.out.endsWith(". ") || r.out.endsWith(". \n\n"));
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY(QString::fromUtf8(r.err).contains(QStringLiteral("вводных слов 2 слова")));
    }

    void missingWordsNameThePath()
    {
        const TestKit::CliResult r
            = TestKit::runCli({ QStringLiteral("--words"), QStringLiteral("no-such-words") });
        QCOMPARE(r.status, 1);
        QVERIFY(r.out.isEmpty());
        QVERIFY(QString::fromLocal8Bit(r.err).contains(
            QDir::current().absoluteFilePath(QStringLiteral("no-such-words/00"))));
    }

    void statsExitStatus()
    {
        // m_words: 00 keeps every rule, 01 has two openers, 02 and 03 are missing.
        const auto stats = [this](const QStringList& more) {
            return TestKit::runCli(
                QStringList { QStringLiteral("--stats"), QStringLiteral("--words"), m_words }
                + more);
        };
        QCOMPARE(stats({ QStringLiteral("--theme"), QStringLiteral("0") }).status, 0);
        const TestKit::CliResult all = stats({});
        QCOMPARE(all.status, 1);
        QCOMPARE(all.out.count("Тема 0"), 4);
    }

    void refusesWhatIsNoWordFile()
    {
        // A FIFO among the words neither hangs nor crashes: one line, status 1, in good time.
        QTemporaryDir dir;
        const QString words = dir.path() + QStringLiteral("/words");
        QVERIFY(writeTheme(
            words + QStringLiteral("/00"), { 30, 30, 30, 30, 30 }, { { "nounF", "!fifo" } }));
        TestKit::CliResult r = TestKit::runCli({ QStringLiteral("--words"), words });
        QVERIFY(r.status == 1 && r.out.isEmpty() && r.err.contains("FIFO"));

        // A theme folder the user may not read, as a user: as nobody when the tests run as root.
        QVERIFY(writeTheme(words + QStringLiteral("/01"), { 30, 30, 30, 30, 30 }));
        QVERIFY(QFile::setPermissions(dir.path(),
            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                | QFile::ExeOther));
        QVERIFY(QFile::setPermissions(words + QStringLiteral("/01"), {}));
        const QStringList args { QStringLiteral("--words"), words, QStringLiteral("-t1") };
        r = ::geteuid() != 0
            ? TestKit::runCli(args)
            : TestKit::run(QStringLiteral("setpriv"),
                QStringList { "--reuid=nobody", "--regid=nogroup", "--clear-groups", ZUREVAVUD_CLI }
                    + args);
        QVERIFY2(
            r.status == 1 && QString::fromUtf8(r.err).contains(QStringLiteral("Нет прав доступа")),
            r.err.constData());
        QFile::setPermissions(
            words + QStringLiteral("/01"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("theme out of range") << QStringList { "--theme", "4" };
        QTest::newRow("runs not a number") << QStringList { "--runs", "many" };
        QTest::newRow("unknown encoding") << QStringList { "--encoding", "koi8-r" };
        QTest::newRow("unknown line ends") << QStringList { "--line-ends=cr" };
        QTest::newRow("unknown option") << QStringList { "--colour" };
        QTest::newRow("missing value") << QStringList { "--words" };
        QTest::newRow("empty words folder") << QStringList { "--words", "" };
        QTest::newRow("value of a switch") << QStringList { "--explain=yes" };
        QTest::newRow("extra argument") << QStringList { "extra" };
        QTest::newRow("negative seed") << QStringList { "--seed", "-1" };
        QTest::newRow("seed in hex") << QStringList { "--seed", "0x10" };
        QTest::newRow("stats with explain") << QStringList { "--stats", "--explain" };
    }

    void badArguments()
    {
        QFETCH(QStringList, args);
        const TestKit::CliResult r
            = TestKit::runCli(QStringList { QStringLiteral("--words"), m_words } + args);
        QCOMPARE(r.status, 2);
        QVERIFY(r.out.isEmpty());
        QCOMPARE(r.err.count('\n'), 1); // ours alone: no English of the parser
        QVERIFY(!QString::fromUtf8(r.err).contains(QRegularExpression("[A-Z][a-z]+ [a-z]+")));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
