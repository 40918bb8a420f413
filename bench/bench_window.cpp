// One press of "Генерировать" into an empty box and into a box holding 10 MB of text, a save of
// 10 MB, a line without a space pasted, saved and pressed after, opening a new window, and the
// memory each further window takes.
#include "platform/paths.h"
#include "window/frmmain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

void press(frmMain& w)
{
    w.findChild<QPushButton*>(QStringLiteral("cmdGenerate"))->click();
}

// Russian text in paragraphs of about 4 KiB.
QString oldText(qsizetype size)
{
    const QString line
        = QStringLiteral("Старый текст, который уже лежит в окне и никуда не денется. ");
    QString text;
    text.reserve(size + line.size());
    while (text.size() < size)
        text += (text.size() % 4096 < line.size()) ? QStringLiteral("\n") + line : line;
    return text;
}

void generateInto(benchmark::State& state, qsizetype existing)
{
    frmMain w;
    w.show();
    auto* box = w.findChild<QPlainTextEdit*>(QStringLiteral("txtOut"));
    if (existing)
        box->setPlainText(oldText(existing));
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

void BM_Save10MB(benchmark::State& state)
{
    frmMain w;
    w.findChild<QPlainTextEdit*>(QStringLiteral("txtOut"))->setPlainText(oldText(10 * 1000 * 1000));
    auto* save = w.findChild<QPushButton*>(QStringLiteral("cmdSave"));
    const QString saved = Paths::outputFolder() + QStringLiteral("/000.txt");
    for (auto _ : state) {
        save->click();
        state.PauseTiming();
        QFile::remove(saved);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Save10MB)->Unit(benchmark::kMillisecond);

// One line of letters without a space, as a paste brings it: shown, saved, and a press after
// it, which appends to the same line. Time grows with the line's length, not its square: Qt lays
// out a word longer than a line in quadratic time unless lines may break anywhere.
void BM_LongLineSaveAndPress(benchmark::State& state)
{
    frmMain w;
    w.show();
    auto* box = w.findChild<QPlainTextEdit*>(QStringLiteral("txtOut"));
    auto* save = w.findChild<QPushButton*>(QStringLiteral("cmdSave"));
    const QString line(state.range(0), QChar(u'Ж'));
    const QString saved = Paths::outputFolder() + QStringLiteral("/000.txt");
    for (auto _ : state) {
        box->setPlainText(line);
        QCoreApplication::processEvents();
        save->click();
        press(w);
        QCoreApplication::processEvents();
        state.PauseTiming();
        QFile::remove(saved);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LongLineSaveAndPress)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Resident memory in bytes, from the kernel's own count (Linux).
qint64 residentBytes()
{
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    return status.readAll().split(' ').value(1).toLongLong() * 4096;
}

void BM_MemoryPerWindow(benchmark::State& state)
{
    constexpr int Count = 20;
    qint64 perWindow = 0;
    for (auto _ : state) {
        std::vector<std::unique_ptr<frmMain>> windows;
        windows.push_back(std::make_unique<frmMain>()); // the first pays for what all share
        windows.back()->show();
        QCoreApplication::processEvents();
        const qint64 before = residentBytes();
        for (int i = 0; i < Count; ++i) {
            windows.push_back(std::make_unique<frmMain>());
            windows.back()->show();
        }
        QCoreApplication::processEvents();
        perWindow = (residentBytes() - before) / Count;
    }
    state.counters["bytes/window"] = double(perWindow);
}
BENCHMARK(BM_MemoryPerWindow)->Unit(benchmark::kMillisecond)->Iterations(1);

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
    // A program folder with the shipped word lists and an output folder of its own.
    QTemporaryDir program;
    QFile::link(
        QStringLiteral(ZUREVAVUD_SOURCE_DIR "/words"), program.filePath(QStringLiteral("words")));
    QDir(program.path()).mkdir(QStringLiteral("output"));
    Paths::overrideProgramFolder(program.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
