// The platform layer: where words and saves are, the file calls under every read and write, and
// the Russian of the messages.
#include "core/session.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "testkit.h"

#include <QCoreApplication>
#include <QTemporaryDir>

using TestKit::snapshot;
using TestKit::writeBytes;

class TestPlatform : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString path(const QString& name) const { return m_tmp.filePath(name); }

private slots:
    void placesOfWordsAndSaves()
    {
        const QString root = m_tmp.path();
        const TestKit::UserFolders home(root + QString("/home"));
        Paths::overrideProgramFolder(root + QString("/prefix/bin"));
        const auto located = [] { return Session::locate(Paths::wordsFolders(), 0); };
        // The places a theme is looked for, in order; each takes it from the ones after it.
        const QStringList places { "/prefix/bin/words", "/home/.local/share/zurevavud/words",
            "/prefix/share/zurevavud/words", "/home/system/zurevavud/words" };
        const QString nowhere = TestKit::failureOf(located).value().message();
        for (auto place = places.crbegin(); place != places.crend(); ++place) {
            QVERIFY(nowhere.contains(QDir::toNativeSeparators(root + *place + "/00")));
            QVERIFY(QDir().mkpath(root + *place + "/00"));
            QCOMPARE(located(), root + *place + "/00/");
        }
        // Saves go to the user's documents, made then, unless output is beside the program.
        QCOMPARE(Paths::makeOutputFolder(), root + "/home/Documents/Zurevavud");
        QVERIFY(QFileInfo(root + "/home/Documents/Zurevavud").isDir());
        QVERIFY(QDir().mkpath(root + "/prefix/bin/output"));
        QCOMPARE(Paths::outputFolder(), root + "/prefix/bin/output");
        Paths::overrideProgramFolder(QString());
    }

    void nothingWrittenWhereTheNameIsTaken()
    {
        // A new file takes the next name while a file, a folder, a link or a link to nothing has
        // the one tried, as when another program takes a free name first.
        QVERIFY(QDir().mkpath(path("taken/folder")) && writeBytes(path("taken/file"), "old"));
        QVERIFY(QFile::link(path("taken/file"), path("taken/link"))
            && QFile::link(path("taken/none"), path("taken/dangling")));
        const auto before = snapshot(path("taken"));
        const QStringList names { "file", "folder", "link", "dangling", "new" };
        const auto next = [&](const QString& taken) {
            return path("taken/") + names.value(names.indexOf(QFileInfo(taken).fileName()) + 1);
        };
        QCOMPARE(Files::writeNewFile(path("taken"), "new", next), path("taken/new"));
        auto after = snapshot(path("taken"));
        QCOMPARE(after.take("new"), QByteArray("new"));
        QCOMPARE(after, before);
    }

    void readsFilesThatUnderstateTheirSize()
    {
        // /proc says its files are empty: the reader grows its buffer to the end, to the limit.
        const QString cmdline("/proc/self/cmdline");
        const QByteArray args = QCoreApplication::arguments().join(QChar(0)).toLocal8Bit() + '\0';
        QCOMPARE(Files::readWholeFile(cmdline, args.size()), args);
        QVERIFY(TestKit::throwsFailure([&] { Files::readWholeFile(cmdline, args.size() - 1); },
            FailureKind::TooLarge, cmdline));
    }

    void numbersAgreeWithTheirNouns()
    {
        QStringList said;
        for (int n : { 0, 1, 2, 4, 5, 11, 12, 14, 21, 22, 25, 111, 112, 1001 })
            said << counted(n, u"слово", u"слова", u"слов");
        QCOMPARE(said.join(", "),
            QString("0 слов, 1 слово, 2 слова, 4 слова, 5 слов, 11 слов, 12 слов, 14 слов, 21 "
                    "слово, 22 слова, 25 слов, 111 слов, 112 слов, 1001 слово"));
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
