// Random draws.
#include "modules/mdlsubs.h"

#include "platform/failure.h"

#include <random>

namespace mdlSubs {

RecentDrawList RecentDraws;

RecentDrawList& RecentDrawList::operator=(const std::array<qint16, RecentDrawCount>& draws)
{
    m_held.fill(0);
    m_ring = draws;
    m_oldest = 0;
    for (qint16 v : draws)
        ++m_held[quint16(v)];
    return *this;
}

std::array<qint16, RecentDrawCount> RecentDrawList::toArray() const
{
    std::array<qint16, RecentDrawCount> draws;
    for (size_t i = 0; i < draws.size(); ++i)
        draws[i] = m_ring[(m_oldest + i) % draws.size()];
    return draws;
}

namespace {

// MT19937, a block of 624 outputs at a time: the same numbers as std::mt19937, without a call
// per draw. Values are the top 24 bits of each output.
class Twister final : public UniformSource {
public:
    static constexpr int N = 624;

    explicit Twister(quint32 seed)
    {
        m_state[0] = seed;
        for (quint32 i = 1; i < N; ++i)
            m_state[i] = 1812433253u * (m_state[i - 1] ^ (m_state[i - 1] >> 30)) + i;
    }
    explicit Twister(std::seed_seq& seq)
    {
        // As std::mt19937 does from a seed sequence, including its guard against an all-zero
        // state.
        seq.generate(m_state.begin(), m_state.end());
        bool zero = (m_state[0] & 0x80000000u) == 0;
        for (int i = 1; zero && i < N; ++i)
            zero = m_state[size_t(i)] == 0;
        if (zero)
            m_state[0] = 0x80000000u;
    }

    int refill(quint32* values, int capacity) override
    {
        Q_ASSERT(capacity >= N);
        Q_UNUSED(capacity);
        twist();
        for (int i = 0; i < N; ++i) {
            quint32 y = m_state[size_t(i)];
            y ^= y >> 11;
            y ^= (y << 7) & 0x9d2c5680u;
            y ^= (y << 15) & 0xefc60000u;
            y ^= y >> 18;
            values[i] = y >> 8;
        }
        return N;
    }

private:
    void twist()
    {
        constexpr int M = 397;
        auto mix = [](quint32 upper, quint32 lower, quint32 far) {
            const quint32 y = (upper & 0x80000000u) | (lower & 0x7fffffffu);
            return far ^ (y >> 1) ^ ((y & 1u) ? 0x9908b0dfu : 0u);
        };
        auto& x = m_state;
        for (size_t i = 0; i < size_t(N - M); ++i)
            x[i] = mix(x[i], x[i + 1], x[i + M]);
        for (size_t i = N - M; i < size_t(N - 1); ++i)
            x[i] = mix(x[i], x[i + 1], x[i + M - N]);
        x[N - 1] = mix(x[N - 1], x[0], x[M - 1]);
    }

    std::array<quint32, N> m_state;
};

// The source and the values it has given but no draw has taken yet.
struct Draws {
    std::unique_ptr<UniformSource> source = std::make_unique<Twister>(5489u);
    std::array<quint32, Twister::N> values {};
    int next = 0;
    int end = 0;
};

// At namespace scope rather than inside a function: a draw then checks no guard.
Draws g_draws;

Q_DECL_COLD_FUNCTION Q_NEVER_INLINE void refillValues()
{
    g_draws.end = g_draws.source->refill(g_draws.values.data(), int(g_draws.values.size()));
    g_draws.next = 0;
}

inline quint32 takeValue()
{
    if (Q_UNLIKELY(g_draws.next == g_draws.end))
        refillValues();
    return g_draws.values[size_t(g_draws.next++)];
}

[[noreturn]] Q_DECL_COLD_FUNCTION Q_NEVER_INLINE void failRange(qint16 hi, qint16 lo)
{
    throw Failure(FailureKind::Overflow,
        QStringLiteral("в диапазоне от %1 до %2 больше чисел, чем помещается в 16 бит")
            .arg(lo)
            .arg(hi));
}

inline bool fits16(long long v)
{
    return v >= -32768 && v <= 32767;
}

} // namespace

quint32 nextUniform()
{
    return takeValue();
}

void setUniformSource(std::unique_ptr<UniformSource> s)
{
    Draws& d = g_draws;
    d.source = s ? std::move(s) : std::make_unique<Twister>(5489u);
    d.next = d.end = 0;
}

void resetRandomState()
{
    setUniformSource(nullptr);
    RecentDraws = std::array<qint16, RecentDrawCount> {};
}

std::unique_ptr<UniformSource> seededSource(quint32 seed)
{
    // seed_seq spreads the seed over the whole state; its algorithm is fixed by the standard.
    std::seed_seq seq { seed, 0x5a757265u };
    return std::make_unique<Twister>(seq);
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
    const quint32 k = takeValue();
    const int n = int(hi) - int(lo) + 1;
    // r = k / 2^24, so floor(n * r) is the whole-number quotient n * k / 2^24 rounded down,
    // which an arithmetic shift gives for negative n too. For 1 <= n <= 32767 the result lies
    // in lo ... hi, and nothing can overflow.
    const long long v = lo + ((static_cast<long long>(n) * k) >> 24);
    if (Q_LIKELY(unsigned(n - 1) < 32767u))
        return qint16(v);
    if (Q_UNLIKELY(!fits16(n) || !fits16(n - 1) || !fits16(v)))
        failRange(hi, lo);
    return qint16(v);
}

qint16 RandomFresh(qint16 hi, qint16 lo)
{
    for (qint16 rejections = 0;; ++rejections) {
        const qint16 v = RandomBetween(hi, lo);
        if (!RecentDraws.contains(v)) {
            RecentDraws.push(v);
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
    }
}

bool Chance(qint16 n)
{
    return RandomBetween(n, 0) == 0;
}

} // namespace mdlSubs
