// The output commands: numbered saves, the file layer under them, the code-page conversion and
// the DOS program, which is run on an x86 emulator to see what it prints.
#include "modules/mdlcodepages.h"
#include "modules/mdlmakeexe.h"
#include "modules/mdlsubs.h"
#include "platform/failure.h"
#include "platform/files.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

#include <unicorn/unicorn.h>

#include <functional>
#include <memory>

using mdlMakeexe::MakeExe;
using mdlSubs::NextFreeNumber;
using mdlSubs::SaveNumbered;

Q_DECLARE_METATYPE(FailureKind)

// How a failing MakeExe case prepares its folder.
enum class ExeSetup { NoFolder, FileAsFolder, NoText, DanglingText, TextIsFolder, EmptyText, TooLong, ExeIsFolder };
Q_DECLARE_METATYPE(ExeSetup)

namespace {

// Windows-1251 bytes and their code-page-866 forms, from the two code-page tables.
struct Pair {
    unsigned char ansi, oem;
};
constexpr Pair Pairs[] = {
    { 0xC0, 0x80 }, // А
    { 0xC1, 0x81 }, // Б
    { 0xDF, 0x9F }, // Я
    { 0xE0, 0xA0 }, // а
    { 0xE1, 0xA1 }, // б
    { 0xEF, 0xAF }, // п
    { 0xF0, 0xE0 }, // р
    { 0xFF, 0xEF }, // я
    { 0xA8, 0xF0 }, // Ё
    { 0xB8, 0xF1 }, // ё
    { 0xB9, 0xFC }, // №
    { 0xB0, 0xF8 }, // °
    { 0xA0, 0xFF }, // no-break space
    { 0x88, '?' }, // €, which code page 866 lacks
    { ' ', ' ' },
    { '0', '0' },
    { '9', '9' },
    { 'A', 'A' },
    { 'z', 'z' },
    { '\r', '\r' },
    { '\n', '\n' },
};

// A text of size bytes running through the pairs from the first (А) on, in both code pages.
std::pair<QByteArray, QByteArray> cycledText(int size)
{
    QByteArray ansi, oem;
    for (int i = 0; i < size; ++i) {
        const Pair& p = Pairs[i % std::size(Pairs)];
        ansi.append(char(p.ansi));
        oem.append(char(p.oem));
    }
    return { ansi, oem };
}

// The program without its length bytes (offsets 4 and 5), as assembled by hand.
const QByteArray StubHex = QByteArrayLiteral("BE0F01B9____FCACCD294975FACD20");

QByteArray stub(int lo, int hi)
{
    QByteArray hex = StubHex;
    hex.replace("____", QByteArray::number(lo * 256 + hi, 16).rightJustified(4, '0'));
    return QByteArray::fromHex(hex);
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Every entry under root with its kind and content, so "left as it was" can be compared.
QMap<QString, QByteArray> snapshot(const QString& root)
{
    QMap<QString, QByteArray> out;
    const QDir base(root);
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        QByteArray value;
        if (info.isSymLink())
            value = "link to " + info.symLinkTarget().toUtf8();
        else if (info.isDir())
            value = "folder";
        else
            value = "file of " + QByteArray::number(info.size()) + ": " + readFile(path);
        out.insert(base.relativeFilePath(path), value);
    }
    return out;
}

#define COMPARE_SNAPSHOTS(actual, expected)                                                        \
    do {                                                                                           \
        const auto a_ = (actual);                                                                  \
        const auto e_ = (expected);                                                                \
        QCOMPARE(a_.keys(), e_.keys());                                                            \
        for (auto i_ = e_.cbegin(); i_ != e_.cend(); ++i_)                                         \
            QVERIFY2(a_.value(i_.key()) == i_.value(), qPrintable(i_.key() + " changed"));         \
    } while (false)

// What a DOS program did on the emulator.
struct DosRun {
    uc_err error = UC_ERR_OK;
    QByteArray printed; // every AL given to INT 29h
    bool ended = false; // INT 20h reached
    QList<int> otherInterrupts;
    int cx = -1;
};

void onInterrupt(uc_engine* uc, uint32_t intno, void* user)
{
    auto* run = static_cast<DosRun*>(user);
    if (intno == 0x29) {
        uint8_t al = 0;
        uc_reg_read(uc, UC_X86_REG_AL, &al);
        run->printed.append(char(al));
    } else if (intno == 0x20) {
        run->ended = true;
        uc_emu_stop(uc);
    } else {
        run->otherInterrupts.append(int(intno));
        uc_emu_stop(uc);
    }
}

// Starts program the way DOS starts a .COM file: loaded at offset 100h of a 64 KiB segment,
// all segment registers on it, the stack at its top. Stops after maxInstructions at the latest.
DosRun runDos(const QByteArray& program, uint64_t maxInstructions)
{
    constexpr uint64_t Segment = 0x1000;
    constexpr uint64_t Base = Segment * 16;
    DosRun run;
    uc_engine* raw = nullptr;
    if ((run.error = uc_open(UC_ARCH_X86, UC_MODE_16, &raw)) != UC_ERR_OK)
        return run;
    const std::unique_ptr<uc_engine, uc_err (*)(uc_engine*)> uc(raw, &uc_close);
    if ((run.error = uc_mem_map(raw, Base, 0x10000, UC_PROT_ALL)) != UC_ERR_OK)
        return run;
    if ((run.error = uc_mem_write(raw, Base + 0x100, program.constData(), size_t(program.size()))) != UC_ERR_OK)
        return run;
    const uint16_t segment = Segment, ip = 0x100, sp = 0xFFFE;
    for (int reg : { UC_X86_REG_CS, UC_X86_REG_DS, UC_X86_REG_ES, UC_X86_REG_SS })
        uc_reg_write(raw, reg, &segment);
    uc_reg_write(raw, UC_X86_REG_IP, &ip);
    uc_reg_write(raw, UC_X86_REG_SP, &sp);
    uc_hook hook;
    if ((run.error = uc_hook_add(raw, &hook, UC_HOOK_INTR, reinterpret_cast<void*>(&onInterrupt), &run, 1, 0))
        != UC_ERR_OK)
        return run;
    // The end address lies outside the segment, so only INT 20h or the count stops the run.
    run.error = uc_emu_start(raw, Base + ip, Base + 0x10000, 0, maxInstructions);
    uint16_t cx = 0;
    uc_reg_read(raw, UC_X86_REG_CX, &cx);
    run.cx = cx;
    return run;
}

} // namespace

class TestOutput : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_tmp;
    QString m_out; // the output folder of each test, created by init()

    QString out(const QString& name) const { return m_out + u'/' + name; }

    void expectFailure(const std::function<void()>& call, FailureKind kind, const QString& path)
    {
        try {
            call();
            QFAIL("no failure");
        } catch (const Failure& e) {
            QCOMPARE(e.kind(), kind);
            QCOMPARE(e.path(), QDir::toNativeSeparators(path));
            QVERIFY2(e.message().contains(e.path()), qPrintable(e.message()));
        }
    }

private slots:
    void init()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_tmp->isValid());
        m_out = m_tmp->path() + QStringLiteral("/output");
        QVERIFY(QDir().mkdir(m_out));
    }

    // --- Numbered saves ---

    void numbering_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QStringList>("links"); // "name>target", target inside the folder
        QTest::addColumn<QString>("expected");

        QStringList first999;
        for (int n = 0; n < 999; ++n)
            first999 << QStringLiteral("%1.txt").arg(n, 3, 10, QLatin1Char('0'));

        QTest::newRow("empty folder") << QStringList() << QStringList() << QStringList() << "000";
        QTest::newRow("000 and 002 taken") << QStringList { "000.txt", "002.txt" } << QStringList() << QStringList() << "001";
        QTest::newRow("folder named 001.txt") << QStringList { "000.txt" } << QStringList { "001.txt" } << QStringList() << "002";
        QTest::newRow("symlink to a file") << QStringList { "000.txt" } << QStringList() << QStringList { "001.txt>000.txt" } << "002";
        QTest::newRow("symlink to a folder") << QStringList() << QStringList { "sub" } << QStringList { "000.txt>sub" } << "001";
        QTest::newRow("dangling symlink") << QStringList() << QStringList() << QStringList { "000.txt>nowhere/none.txt" } << "001";
        QTest::newRow("dangling symlink to the next number") << QStringList { "000.txt" } << QStringList()
                                                             << QStringList { "001.txt>002.txt" } << "002";
        QTest::newRow("similar names take nothing") << QStringList { "000", "000.txt.bak", "0.txt", "x000.txt", "000.tx" }
                                                    << QStringList { "001" } << QStringList() << "000";
        QTest::newRow("only 999 left") << first999 << QStringList() << QStringList() << "999";
    }

    void numbering()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, folders);
        QFETCH(QStringList, links);
        QFETCH(QString, expected);

        for (const QString& f : files)
            QVERIFY(writeFile(out(f), "taken " + f.toUtf8()));
        for (const QString& f : folders)
            QVERIFY(QDir(m_out).mkdir(f));
        for (const QString& l : links) {
            const QStringList parts = l.split(u'>');
            QVERIFY(QFile::link(out(parts[1]), out(parts[0])));
        }
        const auto before = snapshot(m_tmp->path());

        QCOMPARE(NextFreeNumber(m_out), expected);
        const QString path = SaveNumbered(QStringLiteral("saved"), m_out);
        QCOMPARE(path, out(expected + ".txt"));

        auto after = snapshot(m_tmp->path());
        QCOMPARE(after.take("output/" + expected + ".txt"), QByteArray("file of 5: saved"));
        COMPARE_SNAPSHOTS(after, before);
    }

    void allNumbersTaken()
    {
        for (int n = 0; n < 1000; ++n) {
            const QString name = QStringLiteral("%1.txt").arg(n, 3, 10, QLatin1Char('0'));
            if (n == 500)
                QVERIFY(QDir(m_out).mkdir(name));
            else if (n == 999)
                QVERIFY(QFile::link(out("none/none.txt"), out(name)));
            else
                QVERIFY(writeFile(out(name), QByteArray::number(n)));
        }
        const auto before = snapshot(m_tmp->path());
        expectFailure([&] { NextFreeNumber(m_out); }, FailureKind::NoFreeNumber, m_out);
        expectFailure([&] { SaveNumbered(QStringLiteral("text"), m_out); }, FailureKind::NoFreeNumber, m_out);
        COMPARE_SNAPSHOTS(snapshot(m_tmp->path()), before);
    }

    void secondSaveContinues()
    {
        QCOMPARE(SaveNumbered(QStringLiteral("first"), m_out), out("000.txt"));
        QCOMPARE(NextFreeNumber(m_out), QStringLiteral("001"));
        QCOMPARE(SaveNumbered(QStringLiteral("second"), m_out), out("001.txt"));
        QCOMPARE(readFile(out("000.txt")), QByteArray("first"));
        QCOMPARE(readFile(out("001.txt")), QByteArray("second"));
        // A freed lower number is used again.
        QVERIFY(QFile::remove(out("000.txt")));
        QCOMPARE(SaveNumbered(QStringLiteral("third"), m_out), out("000.txt"));
    }

    void saveWithoutFolder_data()
    {
        QTest::addColumn<bool>("fileInstead");
        QTest::newRow("folder missing") << false;
        QTest::newRow("a file in its place") << true;
    }

    void saveWithoutFolder()
    {
        QFETCH(bool, fileInstead);
        QVERIFY(QDir(m_out).removeRecursively());
        if (fileInstead)
            QVERIFY(writeFile(m_out, "not a folder"));
        const auto before = snapshot(m_tmp->path());
        expectFailure([&] { SaveNumbered(QStringLiteral("text"), m_out); }, FailureKind::PathNotFound, m_out);
        expectFailure([&] { NextFreeNumber(m_out); }, FailureKind::PathNotFound, m_out);
        COMPARE_SNAPSHOTS(snapshot(m_tmp->path()), before);
    }

    void savedBytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("hex");

        QTest::newRow("Russian and №") << QStringLiteral("Привет, №5") << QByteArray("CF F0 E8 E2 E5 F2 2C 20 B9 35");
        QTest::newRow("Ёё and capitals") << QStringLiteral("ЁёАЯая") << QByteArray("A8 B8 C0 DF E0 FF");
        QTest::newRow("every kind of line break") << QStringLiteral("а\nб\r\nв\rг\u2029д\u2028е")
                                                  << QByteArray("E0 0D0A E1 0D0A E2 0D0A E3 0D0A E4 0D0A E5");
        QTest::newRow("CR then CR LF") << QStringLiteral("a\r\r\nb") << QByteArray("61 0D0A 0D0A 62");
        QTest::newRow("LF then CR") << QStringLiteral("a\n\rb") << QByteArray("61 0D0A 0D0A 62");
        QTest::newRow("only line breaks") << QStringLiteral("\n\n") << QByteArray("0D0A 0D0A");
        QTest::newRow("line break at the end") << QStringLiteral("Да.\n") << QByteArray("C4 E0 2E 0D0A");
        QTest::newRow("no line break at the end") << QStringLiteral("Да.") << QByteArray("C4 E0 2E");
        QTest::newRow("characters 1251 lacks") << QStringLiteral("a😀b漢c") << QByteArray("61 3F 62 3F 63");
        QTest::newRow("punctuation 1251 has") << QStringLiteral("«€—»") << QByteArray("AB 88 97 BB");
        QTest::newRow("empty") << QString() << QByteArray();
    }

    void savedBytes()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, hex);
        QCOMPARE(SaveNumbered(text, m_out), out("000.txt"));
        QCOMPARE(readFile(out("000.txt")).toHex(' ').toUpper(), QByteArray::fromHex(hex).toHex(' ').toUpper());
    }

    // The name claim SaveNumbered relies on when another program takes a name meanwhile.
    void newFileOnlyOnFreeName_data()
    {
        QTest::addColumn<QString>("taken"); // "", "file", "folder", "link", "dangling"
        QTest::newRow("free") << "";
        QTest::newRow("file") << "file";
        QTest::newRow("folder") << "folder";
        QTest::newRow("symlink to a file") << "link";
        QTest::newRow("dangling symlink") << "dangling";
    }

    void newFileOnlyOnFreeName()
    {
        QFETCH(QString, taken);
        const QString path = out("000.txt");
        if (taken == "file")
            QVERIFY(writeFile(path, "old"));
        else if (taken == "folder")
            QVERIFY(QDir(m_out).mkdir("000.txt"));
        else if (taken == "link")
            QVERIFY(writeFile(out("target"), "old") && QFile::link(out("target"), path));
        else if (taken == "dangling")
            QVERIFY(QFile::link(out("target"), path));
        const auto before = snapshot(m_tmp->path());

        const bool written = Files::WriteNewFile(path, "new\r\n");
        QCOMPARE(written, taken.isEmpty());
        auto after = snapshot(m_tmp->path());
        if (written)
            QCOMPARE(after.take("output/000.txt"), QByteArray("file of 5: new\r\n"));
        // Nothing written through a link either: a dangling one stays dangling.
        COMPARE_SNAPSHOTS(after, before);
    }

    // --- Code pages ---

    void toOemKeepsLengthAndAscii()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QByteArray oem = mdlCodepages::ToOem(all);
        QCOMPARE(oem.size(), 256);
        QCOMPARE(mdlCodepages::ToOem(QByteArray()), QByteArray());

        // Both code pages are ASCII below 80h, controls included (ICU's IBM866 converter
        // would exchange 1A, 1C and 7F, an old IBM display habit).
        for (int b = 0; b < 128; ++b)
            QVERIFY2(oem.at(b) == char(b), qPrintable(QString::number(b, 16)));
    }

    // --- The DOS program ---

    void programRuns_data()
    {
        QTest::addColumn<QByteArray>("ansi");
        QTest::addColumn<QByteArray>("oem");
        QTest::addColumn<int>("lo");
        QTest::addColumn<int>("hi");

        QTest::newRow("one byte") << QByteArray("A") << QByteArray("A") << 0x01 << 0x00;
        QTest::newRow("one Russian letter") << QByteArray("\xC0") << QByteArray("\x80") << 0x01 << 0x00;
        const auto [ansi300, oem300] = cycledText(300);
        QTest::newRow("300 bytes of Russian") << ansi300 << oem300 << 0x2C << 0x01;
        const auto [ansiMax, oemMax] = cycledText(32767);
        QTest::newRow("32767 bytes") << ansiMax << oemMax << 0xFF << 0x7F;
    }

    void programRuns()
    {
        QFETCH(QByteArray, ansi);
        QFETCH(QByteArray, oem);
        QFETCH(int, lo);
        QFETCH(int, hi);
        QVERIFY(writeFile(out("000.txt"), ansi));

        QCOMPARE(MakeExe(m_out), out("000.exe"));
        const QByteArray program = readFile(out("000.exe"));
        QCOMPARE(program.size(), 15 + ansi.size());
        QCOMPARE(program.left(15).toHex(' '), stub(lo, hi).toHex(' '));
        QVERIFY(program.mid(15) == oem);

        const DosRun run = runDos(program, 10 * uint64_t(ansi.size()) + 100);
        QCOMPARE(run.error, UC_ERR_OK);
        QCOMPARE(run.otherInterrupts, QList<int>());
        QVERIFY2(run.ended, "INT 20h not reached");
        QCOMPARE(run.cx, 0);
        QCOMPARE(run.printed.size(), oem.size());
        QVERIFY(run.printed == oem);
        QCOMPARE(readFile(out("000.txt")), ansi);
    }

    void savedTextRunsAsProgram()
    {
        QCOMPARE(SaveNumbered(QStringLiteral("Привет\n№1"), m_out), out("000.txt"));
        MakeExe(m_out);
        const DosRun run = runDos(readFile(out("000.exe")), 1000);
        QVERIFY(run.ended);
        QCOMPARE(run.printed.toHex(' '), QByteArray("8f e0 a8 a2 a5 e2 0d 0a fc 31"));
    }

    void olderLongerProgramReplaced()
    {
        QVERIFY(writeFile(out("000.exe"), QByteArray(5000, '\xEE')));
        QVERIFY(writeFile(out("000.txt"), "Hi"));
        MakeExe(m_out);
        const QByteArray first = readFile(out("000.exe"));
        QCOMPARE(first.toHex(' '), (stub(2, 0) + "Hi").toHex(' '));
        QCOMPARE(MakeExe(m_out), out("000.exe"));
        QCOMPARE(readFile(out("000.exe")), first);
        // No temporary file left beside it.
        QCOMPARE(QDir(m_out).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            QStringList({ "000.exe", "000.txt" }));
    }

    void makeExeFailures_data()
    {
        QTest::addColumn<ExeSetup>("setup");
        QTest::addColumn<FailureKind>("kind");
        QTest::addColumn<QString>("named"); // relative to the temporary folder

        QTest::newRow("no output folder") << ExeSetup::NoFolder << FailureKind::PathNotFound << "output";
        QTest::newRow("a file in place of the folder") << ExeSetup::FileAsFolder << FailureKind::PathNotFound << "output";
        QTest::newRow("no 000.txt") << ExeSetup::NoText << FailureKind::FileNotFound << "output/000.txt";
        QTest::newRow("000.txt a dangling symlink") << ExeSetup::DanglingText << FailureKind::FileNotFound << "output/000.txt";
        QTest::newRow("000.txt a folder") << ExeSetup::TextIsFolder << FailureKind::ReadFailed << "output/000.txt";
        QTest::newRow("000.txt empty") << ExeSetup::EmptyText << FailureKind::NothingToMake << "output/000.txt";
        QTest::newRow("000.txt of 32768 bytes") << ExeSetup::TooLong << FailureKind::TooLarge << "output/000.txt";
        QTest::newRow("000.exe a folder") << ExeSetup::ExeIsFolder << FailureKind::WriteFailed << "output/000.exe";
    }

    void makeExeFailures()
    {
        QFETCH(ExeSetup, setup);
        QFETCH(FailureKind, kind);
        QFETCH(QString, named);

        // Bystanders that must survive every failure.
        QVERIFY(writeFile(out("001.txt"), "second text"));
        QVERIFY(writeFile(out("000.exe.bak"), "backup"));
        switch (setup) {
        case ExeSetup::NoFolder:
            QVERIFY(QDir(m_out).removeRecursively());
            break;
        case ExeSetup::FileAsFolder:
            QVERIFY(QDir(m_out).removeRecursively());
            QVERIFY(writeFile(m_out, "not a folder"));
            break;
        case ExeSetup::NoText:
            QVERIFY(writeFile(out("000.exe"), "old program"));
            break;
        case ExeSetup::DanglingText:
            QVERIFY(QFile::link(out("gone.txt"), out("000.txt")));
            break;
        case ExeSetup::TextIsFolder:
            QVERIFY(QDir(m_out).mkdir("000.txt"));
            break;
        case ExeSetup::EmptyText:
            QVERIFY(writeFile(out("000.txt"), QByteArray()));
            QVERIFY(writeFile(out("000.exe"), "old program"));
            break;
        case ExeSetup::TooLong:
            QVERIFY(writeFile(out("000.txt"), cycledText(32768).first));
            QVERIFY(writeFile(out("000.exe"), "old program"));
            break;
        case ExeSetup::ExeIsFolder:
            QVERIFY(writeFile(out("000.txt"), "Hi"));
            QVERIFY(QDir(m_out).mkdir("000.exe"));
            QVERIFY(writeFile(out("000.exe/inside"), "kept"));
            break;
        }
        const auto before = snapshot(m_tmp->path());

        try {
            MakeExe(m_out);
            QFAIL("no failure");
        } catch (const Failure& e) {
            QCOMPARE(e.kind(), kind);
            QCOMPARE(e.path(), QDir::toNativeSeparators(m_tmp->path() + u'/' + named));
            QVERIFY2(e.message().contains(e.path()), qPrintable(e.message()));
            if (kind == FailureKind::FileNotFound)
                QVERIFY2(e.message().contains(QStringLiteral("Сначала сохраните текст кнопкой «Сохранить».")),
                    qPrintable(e.message()));
        }
        COMPARE_SNAPSHOTS(snapshot(m_tmp->path()), before);
    }
};

QTEST_GUILESS_MAIN(TestOutput)
#include "tst_output.moc"
