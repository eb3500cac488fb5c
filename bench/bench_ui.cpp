// The toolkit core's hot paths: hit testing a dialog-sized tree, scrolling a long table,
// running main-queue work, and the calculation thread's hand-over through the main queue.
#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/MainQueue.h"
#include "ui/RunLoop.h"
#include "ui/Semaphore.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"
#include "ui/Window.h"

namespace {

// A panel of 40 sections with a label and a button each, like a tall dialog.
std::shared_ptr<ui::Window> dialogTree() {
    auto window = std::make_shared<ui::Window>(ui::Rect(0, 0, 1024, 768));
    window->setRootViewController(std::make_shared<ui::ViewController>());
    auto panel = std::make_shared<ui::View>(ui::Rect(200, 20, 600, 720));
    window->rootViewController()->view().addSubview(panel);
    for (int i = 0; i < 40; ++i) {
        auto section = std::make_shared<ui::View>(ui::Rect(0, 18.0 * i, 600, 18));
        section->addSubview(std::make_shared<ui::Label>(ui::Rect(10, 0, 200, 18)));
        section->addSubview(std::make_shared<ui::Button>(ui::Rect(220, 0, 300, 18)));
        panel->addSubview(section);
    }
    return window;
}

void HitTestDialog(benchmark::State& state) {
    auto window = dialogTree();
    double y = 20;
    for (auto _ : state) {
        y = y >= 740 ? 20 : y + 7;
        benchmark::DoNotOptimize(window->hitTest(ui::Point{500, y}));
    }
}
BENCHMARK(HitTestDialog);

struct ManyRows : ui::TableViewDataSource {
    int rows = 0;
    int numberOfRows(ui::TableView&) override { return rows; }
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView& t, int row) override {
        auto cell = t.dequeueReusableCell("c");
        if (!cell) cell = std::make_shared<ui::TableViewCell>("c");
        cell->textLabel().setText(std::to_string(row));
        return cell;
    }
};

// One scroll step of 40 points (one row out, one in) in a table of range(0) rows.
void ScrollLongTable(benchmark::State& state) {
    ManyRows source;
    source.rows = static_cast<int>(state.range(0));
    ui::TableView table(ui::Rect(0, 0, 300, 400));
    table.setRowHeight(40);
    table.setDataSource(&source);
    table.layoutIfNeeded();
    const double max = table.maxContentOffset().y;
    double y = 0;
    for (auto _ : state) {
        y = y + 40 > max ? 0 : y + 40;
        table.setContentOffset(ui::Point{0, y});
    }
}
BENCHMARK(ScrollLongTable)->Arg(100)->Arg(100000);

void PostAndRun(benchmark::State& state) {
    auto& loop = ui::RunLoop::main();
    loop.useVirtualClock();
    int counter = 0;
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i) ui::MainQueue::async([&counter] { ++counter; });
        loop.runUntilIdle();
    }
    state.SetItemsProcessed(state.iterations() * 100);
    benchmark::DoNotOptimize(counter);
}
BENCHMARK(PostAndRun);

// The round trip of a dialog call: a second thread queues work on the main queue and waits
// on a semaphore that the work signals.
void CrossThreadHandOver(benchmark::State& state) {
    auto& loop = ui::RunLoop::main();
    loop.useRealClock();
    std::atomic<bool> done{false};
    ui::Semaphore go, back;
    std::thread calc([&] {
        while (true) {
            go.wait();
            if (done) return;
            ui::MainQueue::async([&] { back.signal(); });
        }
    });
    for (auto _ : state) {
        go.signal();
        loop.run([&] { return back.tryWait(); }, 5.0);
    }
    done = true;
    go.signal();
    calc.join();
}
BENCHMARK(CrossThreadHandOver)->UseRealTime();

}  // namespace
