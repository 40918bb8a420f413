// libFuzzer target: a theme folder built from the input, loaded and used as a window does. Any
// input must end in words or a Failure, never a crash, a hang or a run-away allocation.
#include "core/session.h"
#include "modules/mdlsubs.h"
#include "platform/failure.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir words;
    static const QString theme = words.path() + QStringLiteral("/00/");
    static const bool made = QDir().mkpath(theme);
    Q_UNUSED(made);
    // The 26 files are the pieces of the input between the bytes 0xFF (a byte Windows-1251 also
    // uses, for я); missing pieces are missing files.
    const QByteArrayView input(data, qsizetype(size));
    qsizetype from = 0;
    for (const WordLayout::WordFile& file : WordLayout::Files) {
        const QString path = theme + QLatin1String(file.stem) + QStringLiteral(".dat");
        QFile::remove(path);
        if (from > input.size())
            continue;
        qsizetype end = input.indexOf('\xFF', from);
        if (end < 0)
            end = input.size();
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(input.sliced(from, end - from).toByteArray());
        from = end + 1;
    }
    mdlSubs::resetRandomState();
    Session session({ words.path() });
    try {
        session.start();
        ByteOutput out;
        session.generate(out);
    } catch (const Failure&) {
    }
    return 0;
}
