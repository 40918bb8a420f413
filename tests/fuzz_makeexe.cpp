// libFuzzer target: any 000.txt makes a program of exactly 15 + N bytes whose length bytes say
// N, or a Failure that leaves the old program as it was.
#include "modules/mdlmakeexe.h"
#include "platform/failure.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir output;
    const QString text = output.filePath(QStringLiteral("000.txt"));
    const QString program = output.filePath(QStringLiteral("000.exe"));
    QFile in(text);
    if (!in.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    in.write(reinterpret_cast<const char*>(data), qint64(size));
    in.close();
    QFile old(program);
    const QByteArray before = old.open(QIODevice::ReadOnly) ? old.readAll() : QByteArray();
    old.close();
    try {
        mdlMakeexe::MakeExe(output.path());
    } catch (const Failure&) {
        QFile kept(program);
        if ((kept.open(QIODevice::ReadOnly) ? kept.readAll() : QByteArray()) != before)
            std::abort();
        return 0;
    }
    QFile made(program);
    if (!made.open(QIODevice::ReadOnly))
        std::abort();
    const QByteArray bytes = made.readAll();
    if (size_t(bytes.size()) != 15 + size || uchar(bytes[4]) + 256 * uchar(bytes[5]) != int(size))
        std::abort();
    return 0;
}
