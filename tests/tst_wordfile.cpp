// The word-file reader and the load sequence of a theme.
#include "modules/mdlsubs.h"
#include "platform/failure.h"
#include "testtheme.h"
#include "window/wordstore.h"

#include <QTemporaryDir>
#include <QtTest>

using mdlSubs::LoadWordFile;

Q_DECLARE_METATYPE(FailureKind)

namespace {

const QString Untouched = QStringLiteral("old");

WordTable filledTable()
{
    WordTable t(QStringLiteral("test"));
    for (int i = 0; i < WordTable::Size; ++i)
        t.store(i, Untouched, {});
    return t;
}

bool sameStore(const WordStore& a, const WordStore& b)
{
    if (a.NounCount != b.NounCount || a.VerbCount != b.VerbCount || a.AdjectiveCount != b.AdjectiveCount
        || a.AdverbCount != b.AdverbCount || a.IntroCount != b.IntroCount)
        return false;
    const WordTable* ta[] = { &a.Nouns, &a.Verbs, &a.Adjectives, &a.Adverbs, &a.Intros };
    const WordTable* tb[] = { &b.Nouns, &b.Verbs, &b.Adjectives, &b.Adverbs, &b.Intros };
    for (int k = 0; k < 5; ++k)
        for (int i = 0; i < WordTable::Size; ++i)
            if (ta[k]->at(i) != tb[k]->at(i))
                return false;
    return true;
}

} // namespace

class TestWordFile : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        mdlSubs::WordsPath = m_dir.path() + u'/';
    }

    void reader_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("result"); // -1: the read fails
        QTest::addColumn<QStringList>("stored"); // expected from start on, then one untouched
        QTest::addColumn<FailureKind>("failure");
        QTest::addColumn<int>("failureLine");

        const auto ok = FailureKind::ReadFailed; // unused when the read succeeds
        QTest::newRow("header only") << QByteArray("h\r\n") << 0 << 0 << QStringList() << ok << 0;
        QTest::newRow("header without line end") << QByteArray("h") << 0 << 0 << QStringList() << ok << 0;
        QTest::newRow("CR LF") << QByteArray("h\r\nalpha\r\nbeta\r\n") << 0 << 2 << QStringList { "alpha", "beta" } << ok << 0;
        QTest::newRow("CR only") << QByteArray("h\ralpha\rbeta\r") << 0 << 2 << QStringList { "alpha", "beta" } << ok << 0;
        QTest::newRow("last line unended") << QByteArray("h\r\nalpha\rbeta") << 0 << 2 << QStringList { "alpha", "beta" } << ok << 0;
        QTest::newRow("bare LF inside an entry") << QByteArray("h\nstill header\r\nal\npha\r\n\nbeta\r\n") << 0 << 2
                                                 << QStringList { "al\npha", "\nbeta" } << ok << 0;
        QTest::newRow("# ends the list and is stored") << QByteArray("h\r\nalpha\r\nbeta\r\n# end\r\ngamma\r\n") << 0 << 2
                                                       << QStringList { "alpha", "beta", "# end" } << ok << 0;
        QTest::newRow("# right after the header") << QByteArray("h\r\n#\r\nalpha\r\n") << 7 << 7 << QStringList { "#" } << ok << 0;
        QTest::newRow("header starting with #") << QByteArray("#h\r\nalpha\r\n") << 0 << 1 << QStringList { "alpha" } << ok << 0;
        QTest::newRow("space before # is an entry") << QByteArray("h\r\n #x\r\nbeta\r\n") << 0 << 2 << QStringList { " #x", "beta" } << ok << 0;
        QTest::newRow("empty header") << QByteArray("\r\nalpha\r\n") << 0 << 1 << QStringList { "alpha" } << ok << 0;
        QTest::newRow("spaces kept") << QByteArray("h\r\n a b \r\n") << 10 << 11 << QStringList { " a b " } << ok << 0;
        QTest::newRow("Windows-1251") << QByteArray("h\r\n\xc0\xe1\xe2 \xb9\xa8\r\n") << 0 << 1 << QStringList { QStringLiteral("Абв №Ё") } << ok << 0;
        QTest::newRow("last entry in slot 3000") << QByteArray("h\r\na\r\nb\r\n") << 2999 << 3001 << QStringList { "a", "b" } << ok << 0;

        QTest::newRow("empty file") << QByteArray() << 0 << -1 << QStringList() << FailureKind::InputPastEnd << 1;
        QTest::newRow("empty entry") << QByteArray("h\r\n\r\nalpha\r\n") << 0 << -1 << QStringList { "" } << FailureKind::InvalidArgument << 2;
        QTest::newRow("empty last line") << QByteArray("h\r\nalpha\r\n\r\n") << 0 << -1 << QStringList { "alpha", "" }
                                         << FailureKind::InvalidArgument << 3;
        QTest::newRow("CR then CR LF is an empty line") << QByteArray("h\r\nalpha\r\r\nbeta") << 0 << -1 << QStringList { "alpha", "" }
                                                        << FailureKind::InvalidArgument << 3;
        QTest::newRow("entry past slot 3000") << QByteArray("h\r\na\r\nb\r\nc\r\n") << 2999 << -1 << QStringList { "a", "b" }
                                              << FailureKind::SubscriptOutOfRange << 4;
    }

    void reader()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, start);
        QFETCH(int, result);
        QFETCH(QStringList, stored);
        QFETCH(FailureKind, failure);
        QFETCH(int, failureLine);

        QFile f(mdlSubs::WordsPath + QStringLiteral("case.dat"));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();

        WordTable table = filledTable();
        if (result >= 0) {
            QCOMPARE(LoadWordFile(QStringLiteral("case"), table, qint16(start)), result);
        } else {
            try {
                LoadWordFile(QStringLiteral("case"), table, qint16(start));
                QFAIL("the read should have failed");
            } catch (const Failure& e) {
                QCOMPARE(e.kind(), failure);
                QCOMPARE(e.line(), failureLine);
                QCOMPARE(e.path(), QDir::toNativeSeparators(f.fileName()));
                QVERIFY(e.message().contains(e.path()));
            }
        }
        for (int i = 0; i < stored.size(); ++i)
            QCOMPARE(table.at(start + i), stored.at(i));
        const int after = start + int(stored.size());
        if (after < WordTable::Size)
            QCOMPARE(table.at(after), Untouched);
        if (start > 0)
            QCOMPARE(table.at(start - 1), Untouched);
    }

    void missingFileAndFolder()
    {
        WordTable table;
        try {
            LoadWordFile(QStringLiteral("nothere"), table, 0);
            QFAIL("no failure");
        } catch (const Failure& e) {
            QCOMPARE(e.kind(), FailureKind::FileNotFound);
            QCOMPARE(e.path(), QDir::toNativeSeparators(m_dir.path() + QStringLiteral("/nothere.dat")));
        }
        mdlSubs::WordsPath = m_dir.path() + QStringLiteral("/no-such-theme/");
        try {
            LoadWordFile(QStringLiteral("nounM"), table, 0);
            QFAIL("no failure");
        } catch (const Failure& e) {
            QCOMPARE(e.kind(), FailureKind::PathNotFound);
            QVERIFY(e.message().contains(QStringLiteral("no-such-theme")));
        }
    }

    void loadSequenceLayout()
    {
        QVERIFY(TestTheme::writeLabelledTheme(m_dir.path(), { 5, 6, 7, 4, 3 }));
        WordStore s;
        s.dbLoad();
        QCOMPARE(s.NounCount, 5);
        QCOMPARE(s.VerbCount, 6);
        QCOMPARE(s.AdjectiveCount, 7);
        QCOMPARE(s.AdverbCount, 4);
        QCOMPARE(s.IntroCount, 3);
        struct Expect {
            const WordTable* table;
            int slot;
            const char* word;
        } cases[] = {
            { &s.Nouns, 0, "nounM_0" }, { &s.Nouns, 5, "nounF_0" }, { &s.Nouns, 9, "nounF_4" },
            { &s.Nouns, 10, "nounN_0" }, { &s.Nouns, 1000, "nounM1_0" }, { &s.Nouns, 1014, "nounN1_4" },
            { &s.Nouns, 2007, "nounF2_2" }, { &s.Verbs, 6, "verbN_0" }, { &s.Verbs, 17, "verbF_5" },
            { &s.Adjectives, 20, "adjN_6" }, { &s.Adjectives, 1007, "adjF1_0" }, { &s.Adjectives, 2013, "adjF2_6" },
            { &s.Adverbs, 3, "adverb_3" }, { &s.Adverbs, 1000, "advM_0" }, { &s.Adverbs, 1003, "advM_3" },
            { &s.Adverbs, 1004, "advF_0" }, { &s.Adverbs, 1011, "advN_3" }, { &s.Intros, 2, "intro_2" },
        };
        for (const auto& c : cases)
            QCOMPARE(c.table->at(c.slot), QString::fromLatin1(c.word));
        QCOMPARE(s.Nouns.at(15), QString());
        QCOMPARE(s.Nouns.origin(1014).stem, QStringLiteral("nounN1"));
        QCOMPARE(s.Nouns.origin(1014).line, 6);
    }

    void longerFileShiftsNextBlock()
    {
        QVERIFY(TestTheme::writeLabelledTheme(m_dir.path(), { 5, 5, 5, 5, 5 }));
        QStringList six;
        for (int i = 0; i < 6; ++i)
            six << QStringLiteral("nounF_%1").arg(i);
        QVERIFY(TestTheme::writeWordFile(m_dir.path(), QStringLiteral("nounF"), six));
        WordStore s;
        s.dbLoad();
        QCOMPARE(s.NounCount, 5);
        // Gender 2, entry 0 of form block 0 is read from slot 2 * 5 + 0.
        QCOMPARE(s.Nouns.at(10), QStringLiteral("nounF_5"));
        QCOMPARE(s.Nouns.at(12), QStringLiteral("nounN_1"));
    }

    void successfulLoadKeepsOlderWordsPastNewData()
    {
        QVERIFY(TestTheme::writeLabelledTheme(m_dir.path(), { 8, 8, 8, 8, 8 }));
        WordStore s;
        s.dbLoad();
        QVERIFY(TestTheme::writeLabelledTheme(m_dir.path(), { 5, 5, 5, 5, 5 }));
        s.dbLoad();
        QCOMPARE(s.NounCount, 5);
        QCOMPARE(s.Nouns.at(14), QStringLiteral("nounN_4"));
        QCOMPARE(s.Nouns.at(20), QStringLiteral("nounN_4")); // slot 16 + 4 of the first load
        QCOMPARE(s.Intros.at(7), QStringLiteral("intro_7"));
    }

    void failedLoadChangesNothing_data()
    {
        QTest::addColumn<QString>("stem");
        QTest::addColumn<QByteArray>("bytes"); // empty: the file is removed

        QTest::newRow("last file missing") << QStringLiteral("intro") << QByteArray();
        QTest::newRow("empty line in a middle file") << QStringLiteral("adjF1") << QByteArray("h\r\na\r\n\r\n");
        QTest::newRow("slot past 3000") << QStringLiteral("nounN2") << QByteArray("h\r\n").append(QByteArray("w\r\n").repeated(1100));
    }

    void failedLoadChangesNothing()
    {
        QFETCH(QString, stem);
        QFETCH(QByteArray, bytes);
        QVERIFY(TestTheme::writeLabelledTheme(m_dir.path(), { 5, 6, 7, 4, 3 }));
        WordStore s;
        s.dbLoad();
        const WordStore before = s;

        QVERIFY(TestTheme::writeLabelledTheme(m_dir.path(), { 9, 9, 9, 9, 9 }));
        QFile f(m_dir.path() + u'/' + stem + QStringLiteral(".dat"));
        if (bytes.isEmpty()) {
            QVERIFY(f.remove());
        } else {
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(bytes);
            f.close();
        }
        QVERIFY_THROWS_EXCEPTION(Failure, s.dbLoad());
        QVERIFY(sameStore(s, before));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestWordFile)
#include "tst_wordfile.moc"
