// The word lists that ship with the program load with the program's own loader, keep the
// rules the templates rely on, and generate without a failure.
#include "modules/mdlsubs.h"
#include "platform/failure.h"
#include "window/generator.h"
#include "window/themes.h"
#include "window/wordstore.h"

#include <QDir>
#include <QtTest>

class TestShippedWords : public QObject {
    Q_OBJECT

private slots:
    void theme_data()
    {
        QTest::addColumn<int>("theme");
        for (int t = 0; t < Themes::Count; ++t)
            QTest::newRow(qPrintable(Themes::FolderName(t))) << t;
    }

    void theme()
    {
        QFETCH(int, theme);
        const QString folder = Themes::ThemePath(QStringLiteral(ZUREVAVUD_SOURCE_DIR "/words"), theme);

        // Every file of a family holds as many entries as the family's first file.
        QHash<QString, int> counts;
        for (const QString& stem : WordStore::Stems()) {
            mdlSubs::WordsPath = folder;
            WordTable scratch;
            counts[stem] = mdlSubs::LoadWordFile(stem, scratch, 0);
            for (int i = 0; i < counts[stem]; ++i) {
                const QString& w = scratch.at(i);
                QVERIFY2(!w.trimmed().isEmpty() && w == w.trimmed(), qPrintable(stem + u':' + QString::number(i + 2)));
            }
        }
        const auto family = [&](const QString& prefix, const QString& first) {
            for (auto it = counts.cbegin(); it != counts.cend(); ++it)
                if (it.key().startsWith(prefix) && it.key() != u"adverb")
                    QVERIFY2(it.value() == counts[first], qPrintable(it.key()));
        };
        family(QStringLiteral("noun"), QStringLiteral("nounM"));
        family(QStringLiteral("adj"), QStringLiteral("adjM"));
        family(QStringLiteral("verb"), QStringLiteral("verbP"));
        family(QStringLiteral("adv"), QStringLiteral("adverb"));

        // Large enough that 19 recent draws never exhaust a range; small enough that every
        // slot a sentence reads lies within 0 ... 3000.
        QVERIFY(counts[QStringLiteral("intro")] >= 40);
        QVERIFY(counts[QStringLiteral("nounM")] >= (theme ? 60 : 40) && counts[QStringLiteral("nounM")] <= 333);
        QVERIFY(counts[QStringLiteral("adjM")] >= (theme ? 60 : 40) && counts[QStringLiteral("adjM")] <= 333);
        QVERIFY(counts[QStringLiteral("verbP")] >= (theme ? 50 : 40) && counts[QStringLiteral("verbP")] <= 1000);
        QVERIFY(counts[QStringLiteral("adverb")] >= (theme ? 50 : 40) && counts[QStringLiteral("adverb")] <= 666);

        mdlSubs::ResetRandomState();
        mdlSubs::WordsPath = folder;
        WordStore store;
        store.dbLoad();
        QCOMPARE(store.NounCount, counts[QStringLiteral("nounM")]);
        const SentenceGenerator g(store);
        StringOutput out;
        for (int run = 0; run < 1000; ++run)
            g.GenerateText(out);
        QVERIFY(out.text().size() > 100000);
        QVERIFY(!out.text().contains(QStringLiteral("  ")));
    }
};

QTEST_GUILESS_MAIN(TestShippedWords)
#include "tst_shippedwords.moc"
