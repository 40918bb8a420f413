// The word lists that ship with the program break no rule of --stats and give no warning, are
// as large as the themes promise, and generate without a failure.
#include "cli/stats.h"
#include "core/session.h"
#include "core/themes.h"
#include "testkit.h"

class TestShippedWords : public QObject {
    Q_OBJECT

private slots:
    void theme_data()
    {
        QTest::addColumn<int>("theme");
        for (int t = 0; t < Themes::ShippedCount; ++t)
            QTest::newRow(qPrintable(Themes::folderName(t))) << t;
    }

    void theme()
    {
        QFETCH(int, theme);
        const QString words = QString(ZUREVAVUD_SOURCE_DIR "/words");
        const ThemeStats::Report report = ThemeStats::examine({ words }, theme);
        // Not even a warning: no two words of one root in a sentence.
        QVERIFY2(report.brokenRules == 0 && !report.text.contains(QString("Предупреждения")),
            qPrintable(report.text));

        mdlSubs::resetRandomState();
        Session session({ words });
        session.select(theme);
        const WordStore& w = session.words();
        // Every theme of its own is this large; theme 00, all of them together, reaches the
        // largest count the layout allows for nouns and adjectives.
        const int nouns = theme == 0 ? WordLayout::maxCount(WordLayout::Family::Nouns) : 120;
        QVERIFY(w.NounCount >= nouns && w.AdjectiveCount >= nouns);
        QVERIFY(w.VerbCount >= 90 && w.AdverbCount >= 90 && w.IntroCount >= 70);

        TestKit::ByteOutput out;
        for (int run = 0; run < 1000; ++run)
            session.generate(out);
        QVERIFY(!out.text().contains("  "));
    }
};

QTEST_GUILESS_MAIN(TestShippedWords)
#include "tst_shippedwords.moc"
