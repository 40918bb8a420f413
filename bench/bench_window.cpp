// One press of "Генерировать" into an empty box and into a box holding 10 MB of text, and
// opening a new window.
#include "platform/paths.h"
#include "window/frmmain.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

namespace {

void press(frmMain& w)
{
    w.findChild<QPushButton*>(QStringLiteral("cmdGenerate"))->click();
}

void generateInto(benchmark::State& state, qsizetype existing)
{
    frmMain w;
    w.show();
    auto* box = w.findChild<QPlainTextEdit*>(QStringLiteral("txtOut"));
    if (existing) {
        const QString line
            = QStringLiteral("Старый текст, который уже лежит в окне и никуда не денется. ");
        QString text;
        text.reserve(existing + line.size());
        while (text.size() < existing)
            text += (text.size() % 4096 < line.size()) ? QStringLiteral("\n") + line : line;
        box->setPlainText(text);
    }
    QCoreApplication::processEvents();
    for (auto _ : state) {
        press(w);
        QCoreApplication::processEvents(); // let the box lay out and paint what it got
        if (!existing) {
            state.PauseTiming();
            box->clear();
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
    }
}

void BM_PressIntoEmptyBox(benchmark::State& state)
{
    generateInto(state, 0);
}
BENCHMARK(BM_PressIntoEmptyBox)->Unit(benchmark::kMillisecond);

void BM_PressInto10MB(benchmark::State& state)
{
    generateInto(state, 10 * 1000 * 1000);
}
BENCHMARK(BM_PressInto10MB)->Unit(benchmark::kMillisecond)->Iterations(50);

void BM_NewWindow(benchmark::State& state)
{
    for (auto _ : state) {
        frmMain w;
        w.show();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_NewWindow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The shipped word lists, read from the source tree.
    Paths::overrideProgramFolder(QStringLiteral(ZUREVAVUD_SOURCE_DIR));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
