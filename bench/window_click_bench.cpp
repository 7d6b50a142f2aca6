// Time from a click on a command button to the Result box painted, in the real window
// (offscreen platform unless QT_QPA_PLATFORM says otherwise), next to the same command run
// on the core alone.  Inputs: seeded random 100 × 100 (and 200 × 200) matrices with three
// decimals, precision 3.
//
//   window_click_bench [--benchmark_repetitions=N]
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QToolButton>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>

#include "main_window.h"

namespace {

std::unique_ptr<MainWindow> gWindow;

QString RandomMatrixText(int n, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> milli(-9999, 9999);
    QString text;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            int v = milli(gen);
            if (v == 0) v = 1;  // keep A./B meaningful
            text += QString::number(v / 1000.0, 'f', 3);
            text += j + 1 < n ? ' ' : '\n';
        }
    }
    return text;
}

void SetInputs(int n) {
    gWindow->matrixABox()->setPlainText(RandomMatrixText(n, 11));
    gWindow->matrixBBox()->setPlainText(RandomMatrixText(n, 12));
    gWindow->clearResult();
    QApplication::processEvents();
}

// Click, then paint the Result box synchronously and let every pending update of the window
// be painted: the time a user waits until the output is on the screen.
void ClickToPainted(benchmark::State& state, const char* command) {
    SetInputs(static_cast<int>(state.range(0)));
    QToolButton* button = gWindow->commandButton(command);
    QString failure;
    gWindow->setErrorPresenter([&](const QString& m) { failure = m; });
    for (auto _ : state) {
        if (std::string_view(command) != "AuTo") {
            state.PauseTiming();
            gWindow->clearResult();
            QApplication::processEvents();
            state.ResumeTiming();
        }
        QElapsedTimer timer;
        timer.start();
        button->click();
        gWindow->resultBox()->viewport()->repaint();
        QApplication::processEvents();
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) * 1e-9);
    }
    if (!failure.isEmpty()) state.SkipWithError(failure.toUtf8().constData());
    state.counters["lines"] = static_cast<double>(gWindow->form().RichEdit3.size());
}

// The same command on the core alone: inputs as lines, handler through Dispatch.
void CoreOnly(benchmark::State& state, const char* command) {
    const int n = static_cast<int>(state.range(0));
    TForm1 form;
    form.DecimalSeparator = '.';
    auto lines = [](const QString& text) {
        Lines out;
        for (const QString& l : text.split('\n')) out.push_back(l.toStdString());
        return out;
    };
    form.RichEdit1 = lines(RandomMatrixText(n, 11));
    form.RichEdit2 = lines(RandomMatrixText(n, 12));
    const CommandInfo* info = FindCommand(command);
    for (auto _ : state) {
        form.RichEdit3.clear();
        QElapsedTimer timer;
        timer.start();
        Dispatch(form, info->handler,
                 [&](const std::string& m) { state.SkipWithError(m.c_str()); });
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) * 1e-9);
    }
    state.counters["lines"] = static_cast<double>(form.RichEdit3.size());
}

void Register() {
    struct Case {
        const char* command;
        int n;
        int iterations;
    };
    const Case cases[] = {{"AuTo", 100, 3},
                          {"A", 100, 10},
                          {"inv(A)", 100, 10},
                          {"Svd(A)", 100, 5},
                          {"AuTo", 200, 1}};
    for (const Case& c : cases) {
        const std::string tag = std::string(c.command) + "/" + std::to_string(c.n);
        benchmark::RegisterBenchmark(("window click->painted " + tag).c_str(), ClickToPainted,
                                     c.command)
            ->Arg(c.n)
            ->Iterations(c.iterations)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("core only            " + tag).c_str(), CoreOnly, c.command)
            ->Arg(c.n)
            ->Iterations(c.iterations)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    gWindow = std::make_unique<MainWindow>();
    gWindow->show();
    QApplication::processEvents();
    benchmark::Initialize(&argc, argv);
    Register();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gWindow.reset();
    return 0;
}
