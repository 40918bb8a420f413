// Sentence templates, finishing and the generation run.
#include "core/session.h"
#include "core/themes.h"
#include "testkit.h"

#include <QTemporaryDir>

using namespace mdlSubs;
using TestKit::pick;

namespace {

constexpr double Yes = 0.0; // any Chance(n) succeeds
constexpr double No = 0.99; // any Chance(n) with n >= 1 fails

} // namespace

class TestGenerator : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    WordStore m_store;
    int m_used = 0;

    void script(QList<double> values)
    {
        setUniformSource(std::make_unique<TestKit::ScriptedSource>(std::move(values), &m_used));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(TestKit::writeLabelledTheme(m_dir.path(), { 20, 20, 20, 20, 20 }));
        WordsPath = m_dir.path() + u'/';
        m_store.dbLoad();
    }
    void init() { resetRandomState(); }
    void cleanupTestCase() { resetRandomState(); }

    void finishing_data()
    {
        QTest::addColumn<QString>("chain");
        QTest::addColumn<double>("paragraph");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("paragraphBreak");

        QTest::newRow("plain") << "abc def " << No << "Abc def. " << false;
        QTest::newRow("Cyrillic") << "ёлка горит " << No << "Ёлка горит. " << false;
        QTest::newRow("upper case that Windows-1251 lacks") << "µ " << No << "µ. " << false;
        QTest::newRow("digit first") << "1 раз " << No << "1 раз. " << false;
        QTest::newRow("three-byte character first") << "€ кот " << No << "€ кот. " << false;
        QTest::newRow("empty first word") << " кот " << No << " кот. " << false;
        QTest::newRow("empty last word") << "кот  " << No << "Кот . " << false;
        QTest::newRow("paragraph break") << "кот " << Yes << "Кот. " << true;
    }

    void finishing()
    {
        QFETCH(QString, chain);
        QFETCH(double, paragraph);
        QFETCH(QString, expected);
        QFETCH(bool, paragraphBreak);
        for (const bool utf8 : { false, true }) {
            script({ paragraph });
            Sentence s;
            const QByteArray bytes = utf8 ? chain.toUtf8() : CodePage::encodeAnsi(chain);
            s.buffer.assign(bytes.begin(), bytes.end());
            s.length = bytes.size();
            s.utf8 = utf8;
            FinishSentence(s);
            QCOMPARE(utf8 ? QString::fromUtf8(s.text()) : CodePage::decodeAnsi(s.text()), expected);
            QCOMPARE(s.paragraphBreak, paragraphBreak);
            QCOMPARE(m_used, 1);
        }
    }

    // Whole runs, byte for byte as a save writes them: the labelled theme pins the draws and
    // the layout whatever the word lists hold; the shipped themes pin the words as well.
    void goldenRuns_data()
    {
        QTest::addColumn<QString>("words");
        QTest::addColumn<int>("theme");
        QTest::addColumn<QString>("golden");
        QTest::addColumn<int>("choices"); // a window's tables compact themselves after a few

        const QString labelled = m_dir.path() + QString("/labelled");
        QVERIFY(TestKit::writeLabelledTheme(labelled + QString("/00"), { 60, 60, 60, 60, 60 }));
        QVERIFY(TestKit::writeLabelledTheme(labelled + QString("/01"), { 30, 25, 35, 40, 45 }));
        QTest::newRow("labelled 00") << labelled << 0 << "run-labelled-00.txt" << 1;
        QTest::newRow("labelled 01 after 00") << labelled << 1 << "run-labelled-01.txt" << 1;
        for (int theme = 0; theme < Themes::ShippedCount; ++theme) {
            const QString name = Themes::folderName(theme);
            QTest::newRow(qPrintable(QString("shipped ") + name))
                << QString(ZUREVAVUD_SOURCE_DIR "/words") << theme
                << QString("run-%1.txt").arg(name) << 1;
        }
        QTest::newRow("shipped 00, chosen 9 times")
            << QString(ZUREVAVUD_SOURCE_DIR "/words") << 0 << "run-00.txt" << 9;
    }

    void goldenRuns()
    {
        QFETCH(QString, words);
        QFETCH(int, theme);
        QFETCH(QString, golden);
        QFETCH(int, choices);
        QVERIFY(TestKit::matchesGolden(golden, TestKit::windowBytes(words, theme, 8, choices)));
    }

    void slotPastTheTableFails()
    {
        // 1000 adverbs per block: the neuter short adjective 999 lies in slot 3999 in a
        // template-B sentence of gender 2.
        WordStore store = m_store;
        store.AdverbCount = 1000;
        script({ pick(1, 20), pick(2, 3), pick(2, 20), pick(3, 20), pick(999, 1000),
            pick(998, 1000), No, No, No });
        Sentence s;
        const auto f = TestKit::failureOf([&] { SentenceGenerator(store).BuildSentenceB(0, s); });
        QVERIFY(f && f->kind() == FailureKind::SubscriptOutOfRange);
        QCOMPARE(f->message(),
            QString("Номер ячейки за пределами таблицы слов. Обращение к ячейке 3999 таблицы "
                    "наречий, в которой ячейки 0…3000."));
    }
};

QTEST_GUILESS_MAIN(TestGenerator)
#include "tst_generator.moc"
