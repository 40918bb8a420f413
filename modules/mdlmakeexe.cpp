#include "modules/mdlmakeexe.h"

#include "modules/mdlcodepages.h"
#include "platform/failure.h"
#include "platform/files.h"

namespace mdlMakeexe {

namespace {

// A .COM-style program; DOS loads it at offset 100h of its segment, so the text that follows
// these 15 bytes sits at 10Fh.
//   BE 0F 01   mov si, 010Fh     the text
//   B9 lo hi   mov cx, N         its length
//   FC         cld
//   AC         lodsb             next byte into AL
//   CD 29      int 29h           DOS fast console output of AL
//   49         dec cx
//   75 FA      jnz lodsb
//   CD 20      int 20h           end of program
constexpr unsigned char Stub[]
    = { 0xBE, 0x0F, 0x01, 0xB9, 0x00, 0x00, 0xFC, 0xAC, 0xCD, 0x29, 0x49, 0x75, 0xFA, 0xCD, 0x20 };
constexpr int LengthLowOffset = 4;
constexpr int LengthHighOffset = 5;

} // namespace

int LowByte(qint16 n)
{
    return n & 0xFF;
}

int HighByte(qint16 n)
{
    return (n / 256) & 0xFF;
}

namespace {

// The folder for saves, which the first save makes.
QDir savesFolder(const QString& outputFolder)
{
    try {
        return Files::requireFolder(outputFolder);
    } catch (const Failure& e) {
        throw Failure(e.kind(), e.path(), 0,
            QStringLiteral("Сначала сохраните текст кнопкой «Сохранить»: первое сохранение "
                           "создаёт эту папку и в ней 000.txt"));
    }
}

} // namespace

QString MakeExe(const QString& outputFolder)
{
    const QDir folder = savesFolder(outputFolder);
    const QString textPath = folder.absoluteFilePath(QStringLiteral("000.txt"));
    QString exePath = folder.absoluteFilePath(QStringLiteral("000.exe"));

    QByteArray text;
    try {
        // Not through a link: that could hand any file the user can read to a program others run.
        text = Files::readWholeFile(textPath, MaxTextSize, Files::Links::Refuse);
    } catch (const Failure& e) {
        if (e.kind() != FailureKind::FileNotFound)
            throw;
        throw Failure(FailureKind::FileNotFound, textPath, 0,
            QStringLiteral("Сначала сохраните текст кнопкой «Сохранить»."));
    }
    // A count of 0 would not stop the loop at once: dec makes it FFFFh, and the program would
    // print 65,536 bytes of whatever memory follows.
    if (text.isEmpty())
        throw Failure(FailureKind::NothingToMake, textPath, 0, QString());

    const auto n = qint16(text.size());
    QByteArray program(reinterpret_cast<const char*>(Stub), sizeof Stub);
    program[LengthLowOffset] = char(LowByte(n));
    program[LengthHighOffset] = char(HighByte(n));
    program += mdlCodepages::ToOem(text);
    Files::replaceFile(exePath, program);
    return exePath;
}

} // namespace mdlMakeexe
