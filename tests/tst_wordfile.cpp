// The word-file reader, the load sequence of a theme and the theme selection of a session.
#include "core/session.h"
#include "testkit.h"

#include <QTemporaryDir>

using mdlSubs::LoadWordFile;
using TestKit::Sizes;
using TestKit::writeLabelledTheme;

namespace {

constexpr QByteArrayView Untouched = "old";

WordTable filledTable()
{
    WordTable t;
    const WordTable::Source source = t.addSource(Untouched, QString());
    for (int i = 0; i < WordTable::Size; ++i)
        t.store(i, source, Untouched, -1, 0);
    return t;
}

// Every count and slot of a store, to compare two of them.
QStringList dump(const WordStore& store)
{
    QStringList out;
    for (int f = 0; f < WordLayout::FamilyCount; ++f) {
        out << QString::number(store.count(WordLayout::Family(f)));
        for (int i = 0; i < WordTable::Size; ++i)
            out << store.table(WordLayout::Family(f)).text(i);
    }
    return out;
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
        QTest::newRow("header without line end")
            << QByteArray("h") << 0 << 0 << QStringList() << ok << 0;
        QTest::newRow("CR LF") << QByteArray("h\r\nalpha\r\nbeta\r\n") << 0 << 2
                               << QStringList { "alpha", "beta" } << ok << 0;
        QTest::newRow("CR only") << QByteArray("h\ralpha\rbeta\r") << 0 << 2
                                 << QStringList { "alpha", "beta" } << ok << 0;
        QTest::newRow("last line unended") << QByteArray("h\r\nalpha\rbeta") << 0 << 2
                                           << QStringList { "alpha", "beta" } << ok << 0;
        QTest::newRow("bare LF inside an entry")
            << QByteArray("h\nstill header\r\nal\npha\r\n\nbeta\r\n") << 0 << 2
            << QStringList { "al\npha", "\nbeta" } << ok << 0;
        QTest::newRow("# ends the list and is stored")
            << QByteArray("h\r\nalpha\r\nbeta\r\n# end\r\ngamma\r\n") << 0 << 2
            << QStringList { "alpha", "beta", "# end" } << ok << 0;
        QTest::newRow("# right after the header")
            << QByteArray("h\r\n#\r\nalpha\r\n") << 7 << 7 << QStringList { "#" } << ok << 0;
        QTest::newRow("header starting with #")
            << QByteArray("#h\r\nalpha\r\n") << 0 << 1 << QStringList { "alpha" } << ok << 0;
        QTest::newRow("space before # is an entry") << QByteArray("h\r\n #x\r\nbeta\r\n") << 0 << 2
                                                    << QStringList { " #x", "beta" } << ok << 0;
        QTest::newRow("empty header")
            << QByteArray("\r\nalpha\r\n") << 0 << 1 << QStringList { "alpha" } << ok << 0;
        QTest::newRow("spaces kept")
            << QByteArray("h\r\n a b \r\n") << 10 << 11 << QStringList { " a b " } << ok << 0;
        QTest::newRow("Windows-1251") << QByteArray("h\r\n\xc0\xe1\xe2 \xb9\xa8\r\n") << 0 << 1
                                      << QStringList { QStringLiteral("Абв №Ё") } << ok << 0;
        QTest::newRow("last entry in slot 3000")
            << QByteArray("h\r\na\r\nb\r\n") << 2999 << 3001 << QStringList { "a", "b" } << ok << 0;

        QTest::newRow("empty file")
            << QByteArray() << 0 << -1 << QStringList() << FailureKind::InputPastEnd << 1;
        QTest::newRow("empty entry") << QByteArray("h\r\n\r\nalpha\r\n") << 0 << -1
                                     << QStringList { "" } << FailureKind::InvalidArgument << 2;
        QTest::newRow("empty last line")
            << QByteArray("h\r\nalpha\r\n\r\n") << 0 << -1 << QStringList { "alpha", "" }
            << FailureKind::InvalidArgument << 3;
        QTest::newRow("CR then CR LF is an empty line")
            << QByteArray("h\r\nalpha\r\r\nbeta") << 0 << -1 << QStringList { "alpha", "" }
            << FailureKind::InvalidArgument << 3;
        QTest::newRow("entry past slot 3000")
            << QByteArray("h\r\na\r\nb\r\nc\r\n") << 2999 << -1 << QStringList { "a", "b" }
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

        const QString path = mdlSubs::WordsPath + QStringLiteral("case.dat");
        QVERIFY(TestKit::writeBytes(path, bytes));

        WordTable table = filledTable();
        if (result >= 0) {
            QCOMPARE(LoadWordFile(QStringLiteral("case"), table, qint16(start)), result);
        } else {
            const auto f = TestKit::failureOf(
                [&] { LoadWordFile(QStringLiteral("case"), table, qint16(start)); });
            QVERIFY(f);
            QCOMPARE(f->kind(), failure);
            QCOMPARE(f->path(), QDir::toNativeSeparators(path));
            QCOMPARE(f->line(), failureLine);
        }
        for (int i = 0; i < stored.size(); ++i)
            QCOMPARE(table.text(start + i), stored.at(i));
        const int after = start + int(stored.size());
        if (after < WordTable::Size)
            QVERIFY(table.at(after) == Untouched);
        if (start > 0)
            QVERIFY(table.at(start - 1) == Untouched);
    }

    void missingFileAndFolder()
    {
        WordTable table;
        QVERIFY(TestKit::throwsFailure([&] { LoadWordFile(QStringLiteral("nothere"), table, 0); },
            FailureKind::FileNotFound, m_dir.path() + QStringLiteral("/nothere.dat")));
        mdlSubs::WordsPath = m_dir.path() + QStringLiteral("/no-such-theme/");
        QVERIFY(TestKit::throwsFailure([&] { LoadWordFile(QStringLiteral("nounM"), table, 0); },
            FailureKind::PathNotFound, QStringLiteral("no-such-theme")));
    }

    // What a hostile folder may hold where a word file should be: each is refused at once, with
    // the path and the cause, and never blocks, streams or fills the memory.
    void hostileWordFiles_data()
    {
        QTest::addColumn<QString>("odd"); // an odd entry, or else the file's content
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<FailureKind>("kind");
        QTest::addColumn<QString>("says");

        const QByteArray big = QByteArray("h\r\n").leftJustified(mdlSubs::MaxWordFileSize + 1, 'a');
        QTest::newRow("FIFO") << "fifo" << QByteArray() << FailureKind::NotAFile << "FIFO";
        QTest::newRow("link to /dev/zero")
            << "device" << QByteArray() << FailureKind::NotAFile << "устройство";
        QTest::newRow("link to itself")
            << "loop" << QByteArray() << FailureKind::ReadFailed << "по кругу";
        QTest::newRow("folder") << "folder" << QByteArray() << FailureKind::NotAFile << "папка";
        QTest::newRow("over 4 MiB") << QString() << big << FailureKind::TooLarge << "4194305 байт";
        QTest::newRow("entry of 1001 characters")
            << QString() << "h\r\nok\r\n" + QByteArray(1001, 'a') << FailureKind::LineTooLong
            << "1001 знак,";
    }

    void hostileWordFiles()
    {
        QFETCH(QString, odd);
        QFETCH(QByteArray, bytes);
        QFETCH(FailureKind, kind);
        QFETCH(QString, says);
        const QString path = m_dir.path() + QStringLiteral("/odd.dat");
        QVERIFY(
            odd.isEmpty() ? TestKit::writeBytes(path, bytes) : TestKit::makeOddEntry(path, odd));
        WordTable table;
        const auto f = TestKit::failureOf([&] { LoadWordFile(QStringLiteral("odd"), table, 0); });
        QVERIFY(f && f->kind() == kind);
        QVERIFY2(
            f->message().contains(QDir::toNativeSeparators(path)) && f->message().contains(says),
            qPrintable(f->message()));
        QFile::remove(path) || QDir(path).removeRecursively();
    }

    void failedLoadChangesNothing_data()
    {
        QTest::addColumn<QString>("stem");
        QTest::addColumn<QByteArray>("bytes"); // empty: the file is removed

        QTest::newRow("last file missing") << QStringLiteral("intro") << QByteArray();
        QTest::newRow("empty line in a middle file")
            << QStringLiteral("adjF1") << QByteArray("h\r\na\r\n\r\n");
        QTest::newRow("slot past 3000") << QStringLiteral(
            "nounN2") << QByteArray("h\r\n").append(QByteArray("w\r\n").repeated(1100));
    }

    void failedLoadChangesNothing()
    {
        QFETCH(QString, stem);
        QFETCH(QByteArray, bytes);
        QVERIFY(writeLabelledTheme(m_dir.path(), { 5, 6, 7, 4, 3 }));
        WordStore s;
        s.dbLoad();
        const QStringList before = dump(s);

        QVERIFY(writeLabelledTheme(m_dir.path(), { 9, 9, 9, 9, 9 }));
        const QString path = m_dir.path() + u'/' + stem + QStringLiteral(".dat");
        QVERIFY(bytes.isEmpty() ? QFile::remove(path) : TestKit::writeBytes(path, bytes));
        QVERIFY_THROWS_EXCEPTION(Failure, s.dbLoad());
        QCOMPARE(dump(s), before);
    }

    void sessionStartsOnThemeZeroAndSearchesFoldersInOrder()
    {
        // Theme 00 only in the second folder, theme 01 in both: the first folder wins.
        const QString first = m_dir.path() + QStringLiteral("/first"),
                      second = m_dir.path() + QStringLiteral("/second");
        QVERIFY(writeLabelledTheme(second + QStringLiteral("/00"), { 21, 21, 21, 21, 21 }));
        QVERIFY(writeLabelledTheme(first + QStringLiteral("/01"), { 22, 22, 22, 22, 22 }));
        QVERIFY(writeLabelledTheme(second + QStringLiteral("/01"), { 23, 23, 23, 23, 23 }));
        Session session({ first, second });
        QCOMPARE(session.theme(), -1);
        session.start();
        QCOMPARE(session.theme(), 0);
        QCOMPARE(session.words().NounCount, 21);
        session.select(1);
        QCOMPARE(session.words().NounCount, 22);
        QCOMPARE(session.themeFolder(), first + QStringLiteral("/01/"));
        QCOMPARE(mdlSubs::WordsPath, session.themeFolder());

        // A theme in none of them names every place looked at, and changes nothing.
        try {
            session.select(3);
            QFAIL("no failure");
        } catch (const Failure& f) {
            QCOMPARE(f.kind(), FailureKind::PathNotFound);
            QVERIFY(f.message().contains(QDir::toNativeSeparators(first + QStringLiteral("/03"))));
            QVERIFY(f.message().contains(QDir::toNativeSeparators(second + QStringLiteral("/03"))));
        }
        QCOMPARE(session.theme(), 1);
        QCOMPARE(session.words().NounCount, 22);
    }

    void sessionWithoutWordsSaysSo()
    {
        Session session({ m_dir.path() + QStringLiteral("/nowhere") });
        QVERIFY_THROWS_EXCEPTION(Failure, session.start());
        ByteOutput out;
        QVERIFY(TestKit::throwsFailure(
            [&] { session.generate(out); }, FailureKind::NoWordsLoaded, QString()));
        QVERIFY(out.text().isEmpty());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestWordFile)
#include "tst_wordfile.moc"
