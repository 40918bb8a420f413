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
    static const bool made = QDir(words.path()).mkdir(QStringLiteral("00"));
    Q_UNUSED(made);
    // The 26 files are the pieces of the input between the bytes 0xFF (я in Windows-1251, so a
    // piece may hold it too); missing pieces are missing files.
    const QList<QByteArray> pieces
        = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size))
              .split('\xFF');
    for (size_t i = 0; i < WordLayout::LoadOrder.size(); ++i) {
        QFile file(words.filePath(
            QStringLiteral("00/%1.dat").arg(QLatin1String(WordLayout::LoadOrder[i].stem))));
        file.remove();
        if (qsizetype(i) < pieces.size() && file.open(QIODevice::WriteOnly))
            file.write(pieces[qsizetype(i)]);
    }
    // The text goes nowhere: what matters is that making it ends.
    class Discarded final : public TextOutput {
        void sentence(const Sentence&) override { }
        void paragraphBreak() override { }
    } out;
    mdlSubs::resetRandomState();
    Session session({ words.path() });
    try {
        session.select(0);
        session.generate(out);
    } catch (const Failure&) {
    }
    return 0;
}
