#include "modules/mdlsubs.h"

#include "platform/failure.h"

#include <cmath>
#include <random>

namespace mdlSubs {

std::array<qint16, RecentDrawCount> RecentDraws {};

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

bool fits16(long long v)
{
    return v >= -32768 && v <= 32767;
}

} // namespace

UniformSource& uniform()
{
    return *source();
}

void setUniformSource(std::unique_ptr<UniformSource> s)
{
    source() = s ? std::move(s) : fixedSource();
}

void resetRandomState()
{
    setUniformSource(nullptr);
    RecentDraws.fill(0);
}

std::unique_ptr<UniformSource> seededSource(quint32 seed)
{
    // seed_seq spreads the seed over the whole state; its algorithm is fixed by the standard.
    std::seed_seq seq { seed, 0x5a757265u };
    return std::make_unique<TwisterSource>(std::mt19937(seq));
}

qint16 subtract16(qint16 a, qint16 b)
{
    const int difference = int(a) - int(b);
    if (!fits16(difference))
        throw Failure(
            FailureKind::Overflow, QStringLiteral("%1 − %2 = %3").arg(a).arg(b).arg(difference));
    return qint16(difference);
}

qint16 RandomBetween(qint16 hi, qint16 lo)
{
    const float r = source()->next();
    const int n = int(hi) - int(lo) + 1;
    // n * r is exact in double (16 by 24 bits), so floor sees the true value.
    const auto v = static_cast<long long>(std::floor(double(n) * double(r) + double(lo)));
    if (!fits16(n) || !fits16(n - 1) || !fits16(v)) {
        throw Failure(FailureKind::Overflow,
            QStringLiteral("в диапазоне от %1 до %2 больше чисел, чем помещается в 16 бит")
                .arg(lo)
                .arg(hi));
    }
    return qint16(v);
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
                QStringLiteral("Все числа от %1 до %2 — среди %3 последних выбранных; "
                               "32768 попыток подряд отвергнуты")
                    .arg(lo)
                    .arg(hi)
                    .arg(RecentDrawCount));
        }
        ++rejections;
    }
}

bool Chance(qint16 n)
{
    return RandomBetween(n, 0) == 0;
}

} // namespace mdlSubs
