// The word-file reader and the load sequence of a theme.
#include "core/session.h"
#include "core/wordfile.h"
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
        t.store(i, source, 0, Untouched.size(), -1, 0);
    return t;
}

// Every count and slot of a store, with the folder each word came from, to compare two of them.
QStringList dump(const WordStore& store)
{
    QStringList out;
    for (int f = 0; f < WordLayout::FamilyCount; ++f) {
        out << QString::number(store.count(WordLayout::Family(f)));
        for (int i = 0; i < WordTable::Size; ++i)
            out << store.table(WordLayout::Family(f)).text(i)
                    + store.table(WordLayout::Family(f)).origin(i).folder;
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

    // Word files as the reader takes them, hostile ones included: each case is the file's bytes
    // (or an odd entry in its place) and the slot it is read from. The golden file says, per
    // case, what the reader returned or refused with which message, and the slots from the one
    // before the start (every slot holds "old" before) to the one after the last stored.
    void wordFiles()
    {
        const QByteArray big = QByteArray("h\r\n").leftJustified(WordFiles::MaxSize + 1, 'a');
        const std::tuple<const char*, QByteArray, int> cases[] = {
            { "header only", "h\r\n", 0 },
            { "header without line end", "h", 0 },
            { "CR LF", "h\r\nalpha\r\nbeta\r\n", 0 },
            { "CR only", "h\ralpha\rbeta\r", 5 },
            { "last line unended", "h\r\nalpha\rbeta", 0 },
            { "bare LF inside an entry", "h\nstill header\r\nal\npha\r\n\nbeta\r\n", 0 },
            { "# ends the list and is stored", "h\r\nalpha\r\nbeta\r\n# end\r\ngamma\r\n", 0 },
            { "# right after the header", "h\r\n#\r\nalpha\r\n", 7 },
            { "header starting with #", "#h\r\nalpha\r\n", 0 },
            { "space before #, spaces kept", "h\r\n #x\r\n a b \r\n", 10 },
            { "empty header", "\r\nalpha\r\n", 0 },
            { "Windows-1251", "h\r\n\xc0\xe1\xe2 \xb9\xa8\r\n", 0 },
            { "last entry in slot 3000", "h\r\na\r\nb\r\n", 2999 },
            { "entry past slot 3000", "h\r\na\r\nb\r\nc\r\n", 2999 },
            { "empty file", "", 0 },
            { "empty entry", "h\r\n\r\nalpha\r\n", 0 },
            { "empty last line", "h\r\nalpha\r\n\r\n", 0 },
            { "CR then CR LF is an empty line", "h\r\nalpha\r\r\nbeta", 0 },
            { "entry of 1000 characters", "h\r\n" + QByteArray(1000, 'a'), 0 },
            { "entry of 1001 characters", "h\r\nok\r\n" + QByteArray(1001, 'a'), 0 },
            { "over 4 MiB", big, 0 },
            { "no file", "!none", 0 },
            { "FIFO", "!fifo", 0 },
            { "link to /dev/zero", "!device", 0 },
            { "link to itself", "!loop", 0 },
            { "folder", "!folder", 0 },
        };
        QString report;
        const QString path = m_dir.path() + QString("/case.dat");
        for (const auto& [name, bytes, start] : cases) {
            QFile::remove(path) || QDir(path).removeRecursively();
            QVERIFY(bytes == "!none"
                || (bytes.startsWith('!')
                        ? TestKit::makeOddEntry(path, QString::fromLatin1(bytes.mid(1)))
                        : TestKit::writeBytes(path, bytes)));
            WordTable table = filledTable();
            int next = start;
            try {
                next = LoadWordFile(QString("case"), table, qint16(start));
                report += QString("%1: %2").arg(QLatin1String(name)).arg(next);
            } catch (const Failure& f) {
                report += QLatin1String(name) + QString(": ")
                    + f.message().replace(m_dir.path(), QString("DIR"));
                while (next < WordTable::Size && table.at(next) != Untouched)
                    ++next;
            }
            for (int slot = std::max(start - 1, 0); slot <= std::min(next, WordTable::Size - 1);
                 ++slot) {
                const QString word = table.text(slot).replace(u'\n', QString("\\n"));
                report += QString(" | ")
                    + (word.size() > 40 ? word.left(8) + QString("…(%1)").arg(word.size()) : word);
            }
            report += u'\n';
        }
        QVERIFY(TestKit::matchesGolden(QString("word-files.txt"), report.toUtf8()));
    }

    void failedLoadChangesNothing_data()
    {
        QTest::addColumn<QString>("stem");
        QTest::addColumn<QByteArray>("bytes"); // empty: the file is removed

        QTest::newRow("last file missing") << QString("intro") << QByteArray();
        QTest::newRow("empty line in a middle file")
            << QString("adjF1") << QByteArray("h\r\na\r\n\r\n");
        QTest::newRow("slot past 3000")
            << QString("nounN2") << QByteArray("h\r\n").append(QByteArray("w\r\n").repeated(1100));
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
        const QString path = m_dir.path() + u'/' + stem + QString(".dat");
        QVERIFY(bytes.isEmpty() ? QFile::remove(path) : TestKit::writeBytes(path, bytes));
        QVERIFY_THROWS_EXCEPTION(Failure, s.dbLoad());
        QCOMPARE(dump(s), before);
    }

    // A table drops the bytes of replaced words once they are most of its buffer (64 KiB
    // spare), and not before: the next file's bytes then start right after the words kept.
    void compactionKeepsWhatSlotsHold_data()
    {
        QTest::addColumn<int>("replaced");
        QTest::addColumn<int>("nextOffset");
        QTest::newRow("replaced bytes past twice the kept ones and 64 KiB") << 105536 << 40000;
        QTest::newRow("one byte short") << 105535 << 145535;
    }

    void compactionKeepsWhatSlotsHold()
    {
        QFETCH(int, replaced);
        QFETCH(int, nextOffset);
        WordTable t;
        const WordTable::Source old = t.addSource(QByteArray(replaced, 'a'), QString());
        t.store(0, old, 0, replaced, 0, 2);
        const WordTable::Source kept = t.addSource(QByteArray(40000, 'b'), QString());
        t.store(0, kept, 0, 40000, 1, 2);
        t.compact();
        QCOMPARE(t.addSource("c", QString()).offset, quint32(nextOffset));
        QCOMPARE(t.at(0), QByteArray(40000, 'b'));
        QCOMPARE(t.origin(0).file, 1);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestWordFile)
#include "tst_wordfile.moc"
