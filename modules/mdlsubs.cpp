#include "modules/mdlsubs.h"

#include "platform/codepage.h"
#include "platform/failure.h"
#include "platform/files.h"
#include "window/wordtable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <random>

namespace mdlSubs {

std::array<qint16, RecentDrawCount> RecentDraws {};
QString WordsPath;

namespace {

// The top 24 bits of a Mersenne Twister: every value is an exact float in [0, 1), and the
// sequence is the same with every compiler and standard library.
class TwisterSource final : public UniformSource {
public:
    explicit TwisterSource(std::mt19937 engine)
        : m_engine(engine)
    {
    }
    float next() override { return float(m_engine() >> 8) * (1.0f / 16777216.0f); }

private:
    std::mt19937 m_engine;
};

std::unique_ptr<UniformSource> fixedSource()
{
    return std::make_unique<TwisterSource>(std::mt19937(5489u));
}

std::unique_ptr<UniformSource>& source()
{
    static std::unique_ptr<UniformSource> s = fixedSource();
    return s;
}

[[noreturn]] void overflow(const QString& what)
{
    throw Failure(FailureKind::Overflow, what);
}

qint16 to16(long long v, const char16_t* what)
{
    if (v < -32768 || v > 32767)
        overflow(QString::fromUtf16(what));
    return qint16(v);
}

} // namespace

UniformSource& Uniform()
{
    return *source();
}

void SetUniformSource(std::unique_ptr<UniformSource> s)
{
    source() = s ? std::move(s) : fixedSource();
}

void ResetRandomState()
{
    SetUniformSource(nullptr);
    RecentDraws.fill(0);
}

std::unique_ptr<UniformSource> SeededSource(quint32 seed)
{
    // seed_seq spreads the seed over the whole state; its algorithm is fixed by the standard.
    std::seed_seq seq { seed, 0x5a757265u };
    return std::make_unique<TwisterSource>(std::mt19937(seq));
}

qint16 Subtract16(qint16 a, qint16 b)
{
    return to16(int(a) - int(b), u"вычитание");
}

qint16 RandomBetween(qint16 hi, qint16 lo)
{
    const float r = source()->next();
    const int n = int(to16(int(hi) - int(lo), u"RandomBetween: hi − lo")) + 1;
    to16(n, u"RandomBetween: hi − lo + 1");
    // n * r is exact in double (16 by 24 bits), so floor sees the true value.
    return to16(static_cast<long long>(std::floor(double(n) * double(r) + double(lo))),
        u"RandomBetween: результат");
}

qint16 RandomFresh(qint16 hi, qint16 lo)
{
    qint16 rejections = 0;
    for (;;) {
        const qint16 v = RandomBetween(hi, lo);
        bool recent = false;
        for (qint16 d : RecentDraws) {
            if (d == v) {
                recent = true;
                break;
            }
        }
        if (!recent) {
            std::move(RecentDraws.begin() + 1, RecentDraws.end(), RecentDraws.begin());
            RecentDraws.back() = v;
            return v;
        }
        if (rejections == 32767) {
            throw Failure(FailureKind::NoFreshValue,
                QStringLiteral("Все числа от %1 до %2 — среди 19 последних выбранных; "
                               "32768 попыток подряд отвергнуты")
                    .arg(lo)
                    .arg(hi));
        }
        ++rejections;
    }
}

bool Chance(qint16 n)
{
    return RandomBetween(n, 0) == 0;
}

qint16 LoadWordFile(const QString& stem, WordTable& table, qint16 start)
{
    const QString path = WordsPath + stem + QStringLiteral(".dat");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const QFileInfo info(path);
        if (!info.absoluteDir().exists())
            throw Failure(FailureKind::PathNotFound, info.absolutePath(), 0, QString());
        if (!info.exists())
            throw Failure(FailureKind::FileNotFound, path, 0, QString());
        throw Failure(FailureKind::ReadFailed, path, 0, file.errorString());
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Failure(FailureKind::ReadFailed, path, 0, file.errorString());
    file.close();

    return StoreWordLines(bytes, path, stem, table, start);
}

qint16 StoreWordLines(const QByteArray& bytes, const QString& path, const QString& stem,
    WordTable& table, qint16 start)
{
    // Decoding first is safe: the code page is single-byte, so CR stays CR and offsets agree.
    const QString text = CodePage::DecodeAnsi(bytes);
    const qsizetype size = text.size();
    qsizetype pos = 0;
    // Next line, ending at CR or CR LF; a bare LF belongs to the line.
    auto readLine = [&]() {
        qsizetype end = text.indexOf(u'\r', pos);
        if (end < 0)
            end = size;
        const QString line = text.mid(pos, end - pos);
        pos = end;
        if (pos < size) {
            ++pos;
            if (pos < size && text.at(pos) == u'\n')
                ++pos;
        }
        return line;
    };

    if (size == 0)
        throw Failure(FailureKind::InputPastEnd, path, 1, QString());
    readLine(); // the header

    int slot = start;
    int lineNo = 1;
    while (pos < size) {
        ++lineNo;
        if (slot < 0 || slot >= WordTable::Size) {
            throw Failure(FailureKind::SubscriptOutOfRange, path, lineNo,
                QStringLiteral("Строка попала бы в ячейку %1 таблицы %2")
                    .arg(slot)
                    .arg(table.description()));
        }
        QString line = readLine();
        const bool empty = line.isEmpty();
        const bool endMark = !empty && line.at(0) == u'#';
        table.store(slot, std::move(line), SlotOrigin { stem, lineNo, WordsPath });
        if (empty)
            throw Failure(FailureKind::InvalidArgument, path, lineNo, QString());
        if (endMark)
            break;
        ++slot;
    }
    return qint16(slot);
}

namespace {

constexpr int NumberCount = 1000;

QString numberedName(int n)
{
    return QStringLiteral("%1.txt").arg(n, 3, 10, QLatin1Char('0'));
}

QDir requireOutputFolder(const QString& outputFolder)
{
    const QFileInfo info(outputFolder);
    if (!info.isDir())
        throw Failure(FailureKind::PathNotFound, info.absoluteFilePath(), 0, QString());
    return QDir(info.absoluteFilePath());
}

// exists() follows a symbolic link, so a link to nothing has to be asked about separately;
// creating the file would fail on it all the same.
bool nameTaken(const QDir& folder, int n)
{
    const QFileInfo info(folder.filePath(numberedName(n)));
    return info.exists() || info.isSymLink();
}

// The first free number from `from` on; none left is NoFreeNumber.
int firstFreeFrom(const QDir& folder, int from)
{
    for (int n = from; n < NumberCount; ++n) {
        if (!nameTaken(folder, n))
            return n;
    }
    throw Failure(FailureKind::NoFreeNumber, folder.absolutePath(), 0,
        QStringLiteral("Удалите или перенесите старые файлы"));
}

// Text edits hand over "\n", pasted text may carry "\r\n" or a lone "\r", and the Unicode
// separators stand for line breaks too; a DOS or Windows reader wants CR LF for each.
QString withCrLf(QStringView text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16 + 1);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case u'\r':
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            [[fallthrough]];
        case u'\n':
        case u'\u2028':
        case u'\u2029':
            out.append(u'\r').append(u'\n');
            break;
        default:
            out.append(c);
        }
    }
    return out;
}

} // namespace

QString NextFreeNumber(const QString& outputFolder)
{
    return numberedName(firstFreeFrom(requireOutputFolder(outputFolder), 0)).left(3);
}

QString SaveNumbered(const QString& text, const QString& outputFolder)
{
    const QDir folder = requireOutputFolder(outputFolder);
    const QByteArray bytes = CodePage::EncodeAnsi(withCrLf(text));
    // Another program may take the free name between the search and the write; then the next
    // one is tried. Searching on from there, not from 000, bounds the loop at 1000 names.
    for (int n = firstFreeFrom(folder, 0);; n = firstFreeFrom(folder, n + 1)) {
        const QString path = folder.absoluteFilePath(numberedName(n));
        if (Files::WriteNewFile(path, bytes))
            return path;
    }
}

} // namespace mdlSubs
