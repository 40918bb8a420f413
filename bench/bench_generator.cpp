// Generation and theme loading on a theme of 300 entries per file.
#include "modules/mdlsubs.h"
#include "testtheme.h"
#include "window/generator.h"
#include "window/wordstore.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QTemporaryDir& theme()
{
    static QTemporaryDir dir;
    static const bool written = TestTheme::writeLabelledTheme(dir.path(), { 300, 300, 300, 300, 300 });
    Q_UNUSED(written);
    mdlSubs::WordsPath = dir.path() + u'/';
    return dir;
}

class CountingOutput : public TextOutput {
public:
    void append(const QString& text) override
    {
        m_text += text;
        ++sentences;
    }
    void finished() override
    {
        --sentences; // the closing line breaks
        if (m_text.size() > (1 << 20))
            m_text.resize(0);
    }
    long long sentences = 0;

private:
    QString m_text;
};

void BM_GenerationRun(benchmark::State& state)
{
    theme();
    WordStore store;
    store.dbLoad();
    mdlSubs::ResetRandomState();
    const SentenceGenerator g(store);
    CountingOutput out;
    for (auto _ : state)
        g.GenerateText(out);
    state.counters["sentences/s"] = benchmark::Counter(double(out.sentences), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GenerationRun);

void BM_LoadTheme(benchmark::State& state)
{
    theme();
    WordStore store;
    for (auto _ : state)
        store.dbLoad();
}
BENCHMARK(BM_LoadTheme)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
