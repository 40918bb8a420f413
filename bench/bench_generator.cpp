// Generation and theme loading on a theme of 300 entries per file.
#include "core/session.h"
#include "labelledtheme.h"
#include "modules/mdlsubs.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A theme of 300 entries per file, written once.
QString words()
{
    static QTemporaryDir dir;
    static const bool written = TestKit::writeLabelledTheme(
        dir.path() + QStringLiteral("/00"), { 300, 300, 300, 300, 300 });
    Q_UNUSED(written);
    return dir.path();
}

class CountingOutput : public TextOutput {
public:
    void sentence(const Sentence& s) override
    {
        bytes += s.length;
        ++sentences;
    }
    void paragraphBreak() override { bytes += 4; }
    long long sentences = 0;
    long long bytes = 0;
};

void BM_GenerationRun(benchmark::State& state)
{
    Session session({ words() });
    session.select(0);
    mdlSubs::resetRandomState();
    CountingOutput out;
    for (auto _ : state)
        session.generate(out);
    state.counters["sentences/s"]
        = benchmark::Counter(double(out.sentences), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GenerationRun);

void BM_LoadTheme(benchmark::State& state)
{
    Session session({ words() });
    for (auto _ : state)
        session.select(0);
}
BENCHMARK(BM_LoadTheme)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
