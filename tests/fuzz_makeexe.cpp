// libFuzzer target: any 000.txt makes a program of exactly 15 + N bytes whose length bytes say
// N, or a Failure that leaves the old program as it was.
#include "modules/mdlmakeexe.h"
#include "platform/failure.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {
QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir output;
    const QString program = output.filePath(QStringLiteral("000.exe"));
    QFile text(output.filePath(QStringLiteral("000.txt")));
    if (!text.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    text.write(reinterpret_cast<const char*>(data), qint64(size));
    text.close();
    const QByteArray before = contentOf(program);
    try {
        mdlMakeexe::MakeExe(output.path());
    } catch (const Failure&) {
        if (contentOf(program) != before)
            std::abort();
        return 0;
    }
    const QByteArray made = contentOf(program);
    if (size_t(made.size()) != 15 + size || uchar(made[4]) + 256 * uchar(made[5]) != int(size))
        std::abort();
    return 0;
}
