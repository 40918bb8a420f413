// The platform layer: where words and saves are, the file calls under every read and write, and
// the Russian of the messages.
#include "core/themes.h"
#include "platform/files.h"
#include "platform/files_p.h"
#include "platform/paths.h"
#include "testkit.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

using TestKit::snapshot;
using TestKit::writeBytes;

class TestPlatform : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString path(const QString& name) const { return m_tmp.filePath(name); }

private slots:
    void placesOfWords()
    {
        const QString root = m_tmp.path();
        const TestKit::UserFolders home(root + QString("/home"));
        Paths::overrideProgramFolder(root + QString("/prefix/bin"));
        const auto located = [] { return Themes::locate(Paths::wordsFolders(), 0); };
        // The places a theme is looked for, in order; each takes it from the ones after it.
        const QStringList places { "/prefix/bin/words", "/home/.local/share/zurevavud/words",
            "/prefix/share/zurevavud/words", "/home/system/zurevavud/words" };
        const QString nowhere = TestKit::failureOf(located).value().message();
        for (auto place = places.crbegin(); place != places.crend(); ++place) {
            QVERIFY(nowhere.contains(QDir::toNativeSeparators(root + *place + "/00")));
            QVERIFY(QDir().mkpath(root + *place + "/00"));
            QCOMPARE(located(), root + *place + "/00/");
        }
        Paths::overrideProgramFolder(QString());
    }

    void userFolders_data()
    {
        // Environment variables "NAME=value" ("NAME" alone unsets it) and entries "path/",
        // "path=content", "path>target", with ~ for the test's root, where HOME is ~/home. The
        // result: the folder for saves or why there is none; what a save makes; the folders
        // with words beside, the user's, installed, the system's.
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("result");
        const QString made = "made home/Documents home/Documents/Zurevavud; ";
        const QString words = "words ~/prefix/bin/words ~/home/.local/share ~/prefix/share ~/sys";
        const QString noHome = "; made ; words ~/prefix/bin/words ~/prefix/share ~/sys";
        const QString userDirs = "home/.config/user-dirs.dirs=XDG_DOCUMENTS_DIR=";
        QTest::newRow("fresh home")
            << QStringList { "home/" } << "~/home/Documents/Zurevavud; " + made + words;
        QTest::newRow("output beside the program")
            << QStringList { "prefix/bin/output/" } << "~/prefix/bin/output; made ; " + words;
        QTest::newRow("no HOME") << QStringList { "HOME", "home/" }
                                 << "Не найдена папка для сохранений. Переменная окружения "
                                    "HOME не задана или пуста, и неизвестно, где папка документов. "
                                    "Задайте HOME или создайте папку output рядом с программой."
                + noHome;
        QTest::newRow("empty HOME") << QStringList { "HOME=", "home/" }
                                    << "Не найдена папка для сохранений. Переменная окружения "
                                       "HOME не задана или пуста, и неизвестно, где папка "
                                       "документов. Задайте HOME или создайте папку output рядом "
                                       "с программой."
                + noHome;
        QTest::newRow("relative HOME")
            << QStringList { "HOME=home", "home/" }
            << "Не найдена папка для сохранений. Переменная окружения HOME — «home», а не полный "
               "путь, и неизвестно, где папка документов. Задайте HOME или создайте папку output "
               "рядом с программой."
                + noHome;
        QTest::newRow("home missing") << QStringList {}
                                      << "Папка не найдена: ~/home/Documents. Это папка "
                                         "документов, а в ней программа создаёт только свою "
                                         "папку Zurevavud.; made ; "
                + words;
        QTest::newRow("documents named empty")
            << QStringList { userDirs + "\"\"" } << "~/home/Documents/Zurevavud; " + made + words;
        QTest::newRow("documents named relative") << QStringList { userDirs + "\"docs\"" }
                                                  << "~/home/Documents/Zurevavud; " + made + words;
        QTest::newRow("documents deeper, missing")
            << QStringList { userDirs + "\"$HOME/a/b\"" }
            << "Папка не найдена: ~/home/a/b. Это папка документов, а в ней программа создаёт "
               "только свою папку Zurevavud.; made ; "
                + words;
        QTest::newRow("documents of another name, relative XDG_CONFIG_HOME ignored")
            << QStringList { userDirs + "\"$HOME/Документы\"", "XDG_CONFIG_HOME=home" }
            << "~/home/Документы/Zurevavud; made home/Документы home/Документы/Zurevavud; " + words;
        QTest::newRow("documents elsewhere") << QStringList { userDirs + "\"~/docs\"", "docs/" }
                                             << "~/docs/Zurevavud; made docs/Zurevavud; " + words;
        QTest::newRow("dangling link")
            << QStringList { "home/Documents/", "home/Documents/Zurevavud>/none" }
            << "Не удалось создать папку: ~/home/Documents/Zurevavud. "
               "Здесь символическая ссылка, которая никуда не ведёт.; "
               "made ; "
                + words;
        QTest::newRow("relative data folders ignored")
            << QStringList { "home/", "prefix/bin/output/", "XDG_DATA_HOME=data",
                   "XDG_DATA_DIRS=sys:~/a::b" }
            << "~/prefix/bin/output; made ; words ~/prefix/bin/words ~/home/.local/share "
               "~/prefix/share ~/a";
        QTest::newRow("own data folder, no data folders")
            << QStringList { "prefix/bin/output/", "XDG_DATA_HOME=~/data", "XDG_DATA_DIRS=" }
            << "~/prefix/bin/output; made ; words ~/prefix/bin/words ~/data ~/prefix/share "
               "/usr/local/share /usr/share";
    }

    void userFolders()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, result);
        const QTemporaryDir dir;
        const QString root = dir.path();
        const TestKit::UserFolders home(root + "/home");
        qputenv("XDG_DATA_DIRS", QFile::encodeName(root + "/sys"));
        Paths::overrideProgramFolder(root + "/prefix/bin");
        for (QString entry : setup) {
            entry.replace("~", root);
            const QString name = entry.section('=', 0, 0), value = entry.section('=', 1);
            const QString path = root + '/' + name, link = entry.section('>', 1);
            if (name == name.toUpper())
                entry.contains('=') ? qputenv(qPrintable(name), value.toUtf8())
                                    : qunsetenv(qPrintable(name));
            else
                QVERIFY(entry.endsWith('/') ? QDir().mkpath(path)
                        : !link.isEmpty() ? QFile::link(link, root + '/' + entry.section('>', 0, 0))
                                          : QDir().mkpath(QFileInfo(path).path())
                            && writeBytes(path, value.toUtf8()));
        }
        const auto before = snapshot(root);
        QString said;
        try {
            said = Paths::makeOutputFolder();
        } catch (const Failure& f) {
            said = f.message();
        }
        QStringList made = snapshot(root).keys(), words = Paths::wordsFolders();
        made.removeIf([&](const QString& entry) { return before.contains(entry); });
        Paths::overrideProgramFolder(QString());
        QString got = said + "; made " + made.join(' ') + "; words " + words.join(' ');
        QCOMPARE(got.replace("/zurevavud/words", "").replace(root, "~"), result);
    }

    void everySystemErrorInWords()
    {
        // What the file calls can give, from their manual pages (ENOTSUP and EWOULDBLOCK are
        // EOPNOTSUPP and EAGAIN on Linux): each said in words.
        QByteArray said;
        for (const int error : { EACCES, EAGAIN, EBADF, EBUSY, EDQUOT, EEXIST, EFAULT, EFBIG, EINTR,
                 EINVAL, EIO, EISDIR, ELOOP, EMFILE, EMLINK, ENAMETOOLONG, ENFILE, ENODEV, ENOENT,
                 ENOLCK, ENOMEM, ENOSPC, ENOSYS, ENOTDIR, ENOTEMPTY, ENXIO, EOPNOTSUPP, EOVERFLOW,
                 EPERM, ERANGE, EROFS, ESTALE, ETIMEDOUT, ETXTBSY, EUCLEAN, EXDEV })
            said += strerrorname_np(error) + (": " + Files::systemReason(error).toUtf8()) + '\n';
        QVERIFY(TestKit::matchesGolden("system-errors.txt", said));
        QVERIFY(!said.contains("Непредвиденная"));
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
        // Nor where the folder is gone: it says so.
        const auto f = TestKit::failureOf([&] { Files::replaceFile(path("gone/000.exe"), "x"); });
        QVERIFY(f && f->kind() == FailureKind::PathNotFound && f->message().endsWith("/gone."));
    }

    void readsFilesThatUnderstateTheirSize()
    {
        // /proc says its files are empty: the reader grows its buffer to the end, to the limit.
        const QString cmdline("/proc/self/cmdline");
        const QByteArray args = QCoreApplication::arguments().join(QChar(0)).toLocal8Bit() + '\0';
        QCOMPARE(Files::readWholeFile(cmdline, args.size()), args);
        QVERIFY(TestKit::throwsFailure([&] { Files::readWholeFile(cmdline, args.size() - 1); },
            FailureKind::TooLarge, cmdline));
        // The end of a file is no interrupted read, whatever an earlier call left in errno.
        QVERIFY(writeBytes(path("empty"), QByteArray()));
        errno = EINTR;
        QCOMPARE(Files::readWholeFile(path("empty"), 10), QByteArray());
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
