// zurevavud-cli prints what the window's text box would hold.
#include "clirun.h"
#include "modules/mdlsubs.h"
#include "platform/codepage.h"
#include "platform/failure.h"
#include "testtheme.h"
#include "window/generator.h"
#include "window/themes.h"
#include "window/wordstore.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// The text of a fresh program's first window after choosing theme and pressing K times.
QString windowText(const QString& words, int theme, int runs)
{
    mdlSubs::ResetRandomState();
    WordStore store;
    for (int t : { 0, theme }) {
        mdlSubs::WordsPath = Themes::ThemePath(words, t);
        try {
            store.dbLoad();
        } catch (const Failure&) {
        }
    }
    StringOutput out;
    const SentenceGenerator g(store);
    for (int i = 0; i < runs; ++i)
        g.GenerateText(out);
    return out.text();
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_words;

private slots:
    void initTestCase()
    {
        m_words = m_dir.path() + QStringLiteral("/words");
        QVERIFY(TestTheme::writeLabelledTheme(m_words + QStringLiteral("/00"), { 60, 60, 60, 60, 60 }));
        QVERIFY(TestTheme::writeLabelledTheme(m_words + QStringLiteral("/02"), { 30, 25, 35, 40, 45 }));
        QVERIFY(TestTheme::writeLabelledTheme(m_words + QStringLiteral("/03"), { 30, 30, 30, 30, 2 }));
    }

    void printsTheWindowText_data()
    {
        QTest::addColumn<int>("theme");
        QTest::addColumn<int>("runs");
        QTest::newRow("theme 0, three presses") << 0 << 3;
        QTest::newRow("theme 2 after theme 0") << 2 << 2;
        QTest::newRow("no presses") << 0 << 0;
    }

    void printsTheWindowText()
    {
        QFETCH(int, theme);
        QFETCH(int, runs);
        const Result r = runCli({ QStringLiteral("--words"), m_words, QStringLiteral("--theme"), QString::number(theme),
            QStringLiteral("--runs"), QString::number(runs) });
        QCOMPARE(r.status, 0);
        QCOMPARE(r.err, QByteArray());
        const QString expected = windowText(m_words, theme, runs);
        QCOMPARE(QString::fromUtf8(r.out), expected);
        QCOMPARE(r.out.count("\r\n\r\n") >= runs, true);
        QVERIFY(!r.out.contains("\n\n"));
    }

    void sameBytesEveryTimeAndEncodings()
    {
        const QStringList args { QStringLiteral("--words"), m_words, QStringLiteral("--runs"), QStringLiteral("4") };
        const Result a = runCli(args), b = runCli(args);
        QCOMPARE(a.status, 0);
        QCOMPARE(a.out, b.out);
        const Result c = runCli(args + QStringList { QStringLiteral("--encoding"), QStringLiteral("cp1251") });
        QCOMPARE(c.out, CodePage::EncodeAnsi(QString::fromUtf8(a.out)));
        QVERIFY(c.out.contains("\xe8 ")); // the conjunction, one byte in Windows-1251
    }

    void failureKeepsWhatWasMade()
    {
        // Theme 03 has two openers: the second sentence finds both among the recent draws.
        const Result r = runCli({ QStringLiteral("--words"), m_words, QStringLiteral("--theme"), QStringLiteral("3") });
        QCOMPARE(r.status, 1);
        QCOMPARE(r.out.count(". "), 1);
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY(r.err.contains("19"));
    }

    void missingWordsNameThePath()
    {
        const Result r = runCli({ QStringLiteral("--words"), m_words, QStringLiteral("--theme"), QStringLiteral("1") });
        QCOMPARE(r.status, 1);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(r.err.contains(QDir::toNativeSeparators(m_words + QStringLiteral("/01")).toUtf8()), r.err.constData());
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("theme out of range") << QStringList { "--theme", "4" };
        QTest::newRow("runs not a number") << QStringList { "--runs", "many" };
        QTest::newRow("unknown encoding") << QStringList { "--encoding", "koi8-r" };
        QTest::newRow("unknown option") << QStringList { "--colour" };
        QTest::newRow("missing value") << QStringList { "--words" };
    }

    void badArguments()
    {
        QFETCH(QStringList, args);
        const Result r = runCli(args);
        QCOMPARE(r.status, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY(!r.err.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
