// The output commands: numbered saves, the code-page conversion and the DOS program, which is
// run on an x86 emulator to see what it prints.
#include "modules/mdlcodepages.h"
#include "modules/mdlmakeexe.h"
#include "platform/files.h"
#include "testkit.h"

#include <QTemporaryDir>

#include <unicorn/unicorn.h>

#include <memory>

#include <csignal>
#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>

using mdlMakeexe::MakeExe;
using TestKit::readBytes;
using TestKit::snapshot;
using TestKit::writeBytes;

namespace {

// What a DOS program printed through INT 29h on the emulator, and whether it reached INT 20h
// (and no other interrupt) within maxInstructions. It starts the way DOS starts a .COM file:
// at offset 100h of a 64 KiB segment that all segment registers point to.
std::pair<QByteArray, bool> runDos(const QByteArray& program, uint64_t maxInstructions)
{
    constexpr uint64_t Base = 0x10000;
    std::pair<QByteArray, bool> run { {}, false };
    uc_engine* uc = nullptr;
    if (uc_open(UC_ARCH_X86, UC_MODE_16, &uc) != UC_ERR_OK)
        return run;
    uc_mem_map(uc, Base, 0x10000, UC_PROT_ALL);
    uc_mem_write(uc, Base + 0x100, program.constData(), size_t(program.size()));
    const uint16_t segment = Base / 16, sp = 0xFFFE;
    for (int reg : { UC_X86_REG_CS, UC_X86_REG_DS, UC_X86_REG_ES, UC_X86_REG_SS })
        uc_reg_write(uc, reg, &segment);
    uc_reg_write(uc, UC_X86_REG_SP, &sp);
    void (*onInterrupt)(uc_engine*, uint32_t, void*) = [](uc_engine* uc, uint32_t n, void* user) {
        auto* run = static_cast<std::pair<QByteArray, bool>*>(user);
        uint8_t al = 0;
        if (n == 0x29 && uc_reg_read(uc, UC_X86_REG_AL, &al) == UC_ERR_OK) {
            run->first.append(char(al));
            return;
        }
        run->second = n == 0x20;
        uc_emu_stop(uc);
    };
    uc_hook hook;
    uc_hook_add(uc, &hook, UC_HOOK_INTR, reinterpret_cast<void*>(onInterrupt), &run, 1, 0);
    // The end address lies outside the segment, so only an interrupt or the count stops it.
    uc_emu_start(uc, Base + 0x100, Base + 0x10000, 0, maxInstructions);
    uc_close(uc);
    return run;
}

// A system call that fails with error instead of running when its argument arg has one of the
// bits flags.
struct Refusal {
    int call;
    int arg;
    uint32_t flags;
    int error;
};
// As on a file system without O_TMPFILE.
const Refusal NoTmpfile { __NR_openat, 2, O_TMPFILE & ~O_DIRECTORY, EOPNOTSUPP };

// From now on, in a child process: the refused calls fail, and any of the system calls killers
// kills the process.
bool restrictCalls(const QList<Refusal>& refused, const QList<int>& killers)
{
    const auto load
        = [](uint32_t at) { return sock_filter BPF_STMT(BPF_LD | BPF_W | BPF_ABS, at); };
    const auto fail = [](int error) {
        return sock_filter BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | uint32_t(error));
    };
    std::vector<sock_filter> f { load(offsetof(seccomp_data, nr)) };
    for (const Refusal& r : refused) {
        f.insert(f.end(),
            { BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, uint32_t(r.call), 0, 3),
                load(uint32_t(offsetof(seccomp_data, args) + 8 * size_t(r.arg))),
                BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, r.flags, 0, 1), fail(r.error),
                load(offsetof(seccomp_data, nr)) });
    }
    for (int call : killers)
        f.insert(f.end(),
            { BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, uint32_t(call), 0, 1),
                BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_KILL_PROCESS) });
    f.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    const sock_fprog program { ushort(f.size()), f.data() };
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0
        && ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

// Runs command in a child process restricted as above, or with writes past limit bytes killing
// it; its wait status.
int inChild(const std::function<void()>& command, const QList<Refusal>& refused,
    const QList<int>& killers, rlim_t limit = RLIM_INFINITY)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit noCore { 0, 0 }, size { limit, limit };
        ::signal(SIGXFSZ, SIG_DFL);
        if (::setrlimit(RLIMIT_CORE, &noCore) || ::setrlimit(RLIMIT_FSIZE, &size)
            || !restrictCalls(refused, killers))
            ::_exit(2);
        try {
            command();
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    return status;
}

} // namespace

class TestOutput : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_tmp;
    QString m_out; // the output folder of each test, created by init()

    QString out(const QString& name) const { return m_out + u'/' + name; }

    // Makes entries of the output folder: "name=content" a file (a number: that many bytes),
    // "name/" a folder, "name|" a FIFO, "name@" a socket, "name>target" a link; "-" removes the
    // folder.
    bool setUp(const QStringList& entries)
    {
        for (const QString& e : entries) {
            const QString name = e.section(u'=', 0, 0), content = e.section(u'=', 1);
            const QStringList link = e.split(u'>');
            const bool made = e == u"-" ? QDir(m_out).removeRecursively()
                : e.endsWith(u'/')      ? QDir(m_out).mkdir(e)
                : e.endsWith(u'|')      ? TestKit::makeOddEntry(out(e.chopped(1)), u"fifo")
                : e.endsWith(u'@')      ? TestKit::makeOddEntry(out(e.chopped(1)), u"socket")
                : link.size() == 2      ? QFile::link(out(link[1]), out(link[0]))
                : content.toInt() > 0   ? writeBytes(out(name), QByteArray(content.toInt(), 'x'))
                                        : writeBytes(out(name), content.toUtf8());
            if (!made)
                return false;
        }
        return true;
    }

private slots:
    void init()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        m_out = m_tmp->path() + QString("/output");
        QVERIFY(QDir().mkdir(m_out));
    }

    // --- Numbered saves ---

    void numbering_data()
    {
        QTest::addColumn<QStringList>("taken"); // see setUp()
        QTest::addColumn<QString>("expected"); // empty: no free number

        QStringList first999;
        for (int n = 0; n < 999; ++n)
            first999 << QString("%1.txt").arg(n, 3, 10, QLatin1Char('0'));
        QTest::newRow("empty folder") << QStringList() << "000";
        QTest::newRow("000 and 002 taken") << QStringList { "000.txt", "002.txt" } << "001";
        QTest::newRow("folder named 000.txt") << QStringList { "000.txt/" } << "001";
        QTest::newRow("symlink to a file") << QStringList { "x", "000.txt>x" } << "001";
        QTest::newRow("dangling symlink") << QStringList { "000.txt>nowhere/none.txt" } << "001";
        QTest::newRow("similar names take nothing")
            << QStringList { "000", "000.txt.bak", "0.txt", "x000.txt" } << "000";
        QTest::newRow("only 999 left") << first999 << "999";
        QTest::newRow("none left: never overwrites") << (first999 << "999.txt") << QString();
    }

    void numbering()
    {
        QFETCH(QStringList, taken);
        QFETCH(QString, expected);
        QVERIFY(setUp(taken));
        const auto before = snapshot(m_tmp->path());
        const auto save = [&] { return mdlSubs::saveNumbered(QString("saved"), m_out); };
        if (expected.isEmpty()) {
            QVERIFY(TestKit::throwsFailure(save, FailureKind::NoFreeNumber, m_out));
        } else {
            QCOMPARE(mdlSubs::NextFreeNumber(m_out), expected);
            QCOMPARE(save(), out(expected + ".txt"));
        }
        auto after = snapshot(m_tmp->path());
        QVERIFY(expected.isEmpty() || after.take("output/" + expected + ".txt") == "saved");
        QCOMPARE(after, before);
    }

    void savedBytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("hex");
        QTest::addColumn<QString>("lacking"); // how many, then the first different ones
        QTest::newRow("Russian and №")
            << QString("Ёё АЯая №5") << QByteArray("A8 B8 20 C0 DF E0 FF 20 B9 35") << "0 ";
        QTest::newRow("every kind of line break")
            << QString("а\nб\r\nв\rг\u2029д\u2028е\r\r\nж")
            << QByteArray("E0 0D0A E1 0D0A E2 0D0A E3 0D0A E4 0A E5 0D0A 0D0A E6") << "0 ";
        QTest::newRow("characters 1251 lacks")
            << QString("a😀b漢c«€»?") + QChar(0xD83D) + u'd'
            << QByteArray("61 3F 62 3F 63 AB 88 BB 3F 3F 64") << "3 😀漢" + QString(QChar(0xD83D));
        QTest::newRow("more than five")
            << QString("αβγαδεζ") << QByteArray("3F3F3F3F3F3F3F") << "7 αβγδε…";
        QTest::newRow("empty") << QString() << QByteArray() << "0 ";
    }

    void savedBytes()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, hex);
        QFETCH(QString, lacking);
        mdlSubs::SavedText saved;
        saved.append(text);
        QString first;
        for (const char32_t c : saved.firstLacking())
            first += QString::fromUcs4(&c, 1);
        QCOMPARE(
            QString::number(saved.lackingCount()) + u' ' + first + (saved.moreLacking() ? "…" : ""),
            lacking);
        const QByteArray bytes = saved.take();
        QCOMPARE(bytes.toHex(' '), QByteArray::fromHex(hex).toHex(' '));
        // Once taken, it starts again from nothing.
        saved.append(text);
        QCOMPARE(saved.take(), bytes);
    }

    void interruptedWritesLeaveNothing_data()
    {
        QTest::addColumn<bool>("save"); // else «Сделать exe»
        QTest::addColumn<bool>("unnamed"); // O_TMPFILE, else a hidden temporary name
        QTest::addColumn<QString>("killedAt"); // a system call, or "write" at a file size limit
        for (const bool unnamed : { true, false }) {
            const char* how = unnamed ? "unnamed" : "named";
            for (const char* at : { "write", "fsync", "linkat" })
                QTest::addRow("save, %s, killed at %s", how, at) << true << unnamed << QString(at);
            for (const char* at : { "write", "rename" })
                QTest::addRow("make, %s, killed at %s", how, at) << false << unnamed << QString(at);
        }
    }

    void interruptedWritesLeaveNothing()
    {
        QFETCH(bool, save);
        QFETCH(bool, unnamed);
        QFETCH(QString, killedAt);
        QVERIFY(writeBytes(out("000.txt"), QByteArray(32767, 'A'))
            && writeBytes(out("000.exe"), "old"));
        const QString text(2'000'000, u'Ж');
        const auto command = [&] { save ? mdlSubs::saveNumbered(text, m_out) : MakeExe(m_out); };
        const QMap<QString, QList<int>> calls { { "fsync", { __NR_fsync } },
            { "linkat", { __NR_linkat, __NR_link } },
            { "rename", { __NR_rename, __NR_renameat, __NR_renameat2 } } };
        const int status = inChild(command, unnamed ? QList<Refusal>() : QList { NoTmpfile },
            calls.value(killedAt), killedAt == "write" ? 1 << 14 : RLIM_INFINITY);
        QVERIFY(WIFSIGNALED(status));
        QCOMPARE(WTERMSIG(status), killedAt == "write" ? SIGXFSZ : SIGSYS);
        // No name holds part of the text, and only a temporary name can be left.
        const QStringList kept { "000.exe", "000.txt" };
        const auto entries = [&] { return QDir(m_out).entryList(QDir::Files | QDir::Hidden); };
        QCOMPARE(QDir(m_out).entryList(QDir::Files), kept);
        QCOMPARE(entries().size(), kept.size() + (!unnamed || killedAt == "rename"));
        QCOMPARE(readBytes(out("000.exe")), QByteArray("old"));
        // The next command goes through, and removes what the killed one left.
        command();
        QCOMPARE(entries(), save ? kept + QStringList { "001.txt" } : kept);
    }

    void writesThatGoWrongStopAndSaySo()
    {
        // A temporary name that no longer leads to the file (lstat finds nothing there) is
        // tried 100 times, then the write gives up instead of looping; the next one removes
        // the names it left.
        const auto save = [&] { mdlSubs::saveNumbered(QString("text"), m_out); };
        const Refusal nameLost { __NR_newfstatat, 3, AT_SYMLINK_NOFOLLOW, ENOENT };
        const int status = inChild(save, { NoTmpfile, nameLost }, {});
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 1);
        QCOMPARE(QDir(m_out).entryList(QDir::Hidden | QDir::Files).size(), 100);
        save();
        QCOMPARE(QDir(m_out).entryList(QDir::Hidden | QDir::Files), QStringList { "000.txt" });
        // A read the disk refuses names the file and the reason, and no line.
        const auto read = [&] {
            try {
                Files::readWholeFile(out("000.txt"), 100);
            } catch (const Failure& f) {
                if (f.message()
                    == "Не удалось прочитать файл: " + out("000.txt") + ". Ошибка ввода-вывода.")
                    return;
            }
            throw 1;
        };
        QCOMPARE(inChild(read, { { __NR_read, 2, ~0u, EIO } }, {}), 0);
    }

    void concurrentSavesNeverShareANumber()
    {
        // Four programs save at once, two without O_TMPFILE, whose temporary names the others
        // must not take for leftovers. Started without standard input, as a launcher may do,
        // each gets descriptor 0 for its files.
        constexpr int Programs = 4, Saves = 25;
        QList<pid_t> children;
        for (int p = 0; p < Programs; ++p) {
            children << ::fork();
            if (children.last() != 0)
                continue;
            ::close(STDIN_FILENO);
            if (p % 2 && !restrictCalls({ NoTmpfile }, {}))
                ::_exit(2);
            try {
                for (int s = 0; s < Saves; ++s)
                    mdlSubs::saveNumbered(QString("%1/%2").arg(p).arg(s), m_out);
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        for (const pid_t child : children) {
            int status = -1;
            QCOMPARE(::waitpid(child, &status, 0), child);
            QCOMPARE(status, 0);
        }
        const QStringList files = QDir(m_out).entryList(QDir::Files | QDir::Hidden);
        QSet<QByteArray> texts;
        for (const QString& file : files)
            texts << readBytes(out(file));
        QCOMPARE(files.size(), Programs * Saves);
        QCOMPARE(files.last(), QString("099.txt"));
        QCOMPARE(texts.size(), Programs * Saves);
    }

    // --- Code pages and the DOS program ---

    void codePagesMatchTheGoldenTable()
    {
        // Per Windows-1251 byte: its character and its code-page-866 byte. Both code pages are
        // ASCII below 80h, controls included; ICU's IBM866 converter would exchange 1A, 1C, 7F.
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = CodePage::decodeAnsi(all);
        const QByteArray oem = mdlCodepages::ToOem(all);
        QString table;
        for (int b = 0; b < 256; ++b) {
            table
                += QString::asprintf("%02X %04X %02X\n", b, text.at(b).unicode(), uchar(oem.at(b)));
            // A sentence starts with the same capital in UTF-8 as in Windows-1251.
            QByteArray utf8 = QString(text.at(b)).toUtf8();
            CodePage::upperFirstUtf8(utf8.data(), utf8.size());
            QCOMPARE(utf8, QString(text.at(CodePage::upperAnsiTable()[b])).toUtf8());
        }
        QVERIFY(TestKit::matchesGolden("cp1251-cp866.txt", table.toUtf8()));
        QCOMPARE(CodePage::encodeAnsi(text), all);
        // Text that ends inside its first character stays as it is, and so does what follows.
        QByteArray cut("\xD0\xB0");
        CodePage::upperFirstUtf8(cut.data(), 1);
        QCOMPARE(cut, QByteArray("\xD0\xB0"));
    }

    void programRuns_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("golden"); // the exact program, when given
        QTest::newRow("golden") << readBytes(QString(ZUREVAVUD_SOURCE_DIR "/tests/data/000.txt"))
                                << "000.exe";
        QTest::newRow("one byte") << QByteArray("A") << QString();
        QTest::newRow("32767 bytes") << QByteArray(32767, '\xC0') << QString();
    }

    void programRuns()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, golden);
        // An older, longer program leaves no tail; for the golden one it lies elsewhere, linked
        // as 000.exe: the link is replaced, what it points to never written.
        const QString elsewhere = m_tmp->path() + QString("/elsewhere");
        QVERIFY(writeBytes(golden.isEmpty() ? out("000.exe") : elsewhere, QByteArray(40000, 'x')));
        QVERIFY(golden.isEmpty() || QFile::link(elsewhere, out("000.exe")));
        QVERIFY(writeBytes(out("000.txt"), text));
        QCOMPARE(MakeExe(m_out), out("000.exe"));
        const QByteArray program = readBytes(out("000.exe"));
        QCOMPARE(program.size(), 15 + text.size());
        if (!golden.isEmpty())
            QVERIFY(TestKit::matchesGolden(golden, program));

        const auto [printed, ended] = runDos(program, 10 * uint64_t(text.size()) + 100);
        QVERIFY(ended);
        QCOMPARE(printed, mdlCodepages::ToOem(text));
        QCOMPARE(readBytes(out("000.txt")), text);
        QCOMPARE(QDir(m_out).entryList(QDir::Files | QDir::Hidden | QDir::System),
            QStringList({ "000.exe", "000.txt" }));
        QVERIFY(!QFileInfo(out("000.exe")).isSymLink());
        QVERIFY(golden.isEmpty() || readBytes(elsewhere) == QByteArray(40000, 'x'));
    }

    void makeExeFailures_data()
    {
        QTest::addColumn<QStringList>("setup"); // see setUp()
        QTest::addColumn<FailureKind>("kind");
        QTest::addColumn<QString>("named");

        QTest::newRow("no output folder")
            << QStringList { "-" } << FailureKind::PathNotFound << "output";
        QTest::newRow("no 000.txt")
            << QStringList { "000.exe=old" } << FailureKind::FileNotFound << "output/000.txt";
        QTest::newRow("000.txt a folder")
            << QStringList { "000.txt/" } << FailureKind::NotAFile << "output/000.txt";
        QTest::newRow("000.txt a FIFO")
            << QStringList { "000.txt|" } << FailureKind::NotAFile << "output/000.txt";
        QTest::newRow("000.txt a socket")
            << QStringList { "000.txt@" } << FailureKind::NotAFile << "output/000.txt";
        // A link could hand a private file to a program that others run.
        QTest::newRow("000.txt a link") << QStringList { "private=secret", "000.txt>private" }
                                        << FailureKind::NotAFile << "output/000.txt";
        QTest::newRow("000.txt empty") << QStringList { "000.txt=", "000.exe=old" }
                                       << FailureKind::NothingToMake << "output/000.txt";
        QTest::newRow("000.txt of 32768 bytes") << QStringList { "000.txt=32768", "000.exe=old" }
                                                << FailureKind::TooLarge << "output/000.txt";
        // A disk that fills up while 000.exe is written: a real one where a tmpfs can be mounted,
        // and always a limit on the size of files, which fails the write the same way.
        QTest::newRow("full disk") << QStringList { "~tmpfs", "000.txt=12000", "000.exe=old" }
                                   << FailureKind::WriteFailed << "output/000.exe";
        QTest::newRow("file size limit") << QStringList { "~limit", "000.txt=12000", "000.exe=old" }
                                         << FailureKind::WriteFailed << "output/000.exe";
        QTest::newRow("000.exe a folder")
            << QStringList { "000.txt=Hi", "000.exe/", "000.exe/inside=kept" }
            << FailureKind::WriteFailed << "output/000.exe";
    }

    void makeExeFailures()
    {
        QFETCH(QStringList, setup);
        QFETCH(FailureKind, kind);
        QFETCH(QString, named);
        const bool tmpfs = setup.removeAll("~tmpfs"), limited = setup.removeAll("~limit");
        if (tmpfs
            && TestKit::run("mount", { "-t", "tmpfs", "-o", "size=16k", "tmpfs", m_out }).status)
            QSKIP("No tmpfs can be mounted here; the file size limit stands in for a full disk.");
        QVERIFY(setUp(QStringList { "001.txt=second text" } + setup));
        const auto before = snapshot(m_tmp->path());
        rlimit limit;
        ::getrlimit(RLIMIT_FSIZE, &limit);
        rlimit small { limited ? 4096 : limit.rlim_cur, limit.rlim_max };
        ::signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails instead of ending us
        ::setrlimit(RLIMIT_FSIZE, &small);
        const bool failed = TestKit::throwsFailure([&] { MakeExe(m_out); }, kind, named);
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const auto after = snapshot(m_tmp->path());
        if (tmpfs)
            TestKit::run("umount", { m_out });
        QVERIFY(failed);
        QCOMPARE(after, before);
    }
};

QTEST_GUILESS_MAIN(TestOutput)
#include "tst_output.moc"
