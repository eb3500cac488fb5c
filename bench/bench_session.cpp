// One dialog from the Brelka_InputDialog call to the dialog on screen, for descriptions of 10,
// 100 and 1000 mixed items: the session starts on a calculation thread, the main loop runs
// the parse, the presentation and the window building on the virtual clock, and the clock
// stops when the user could first touch the dialog. The floor beside it measures every text of
// the same dialog once, which any layout of those texts has to do. The text cache is emptied
// before every round of both, so each measures from cold.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "dialog/InputDialog.h"
#include "host/PluginBridge.h"
#include "parser/InputDialogParamParser.h"
#include "store/Value.h"
#include "ui/Application.h"
#include "ui/Font.h"
#include "ui/RunLoop.h"
#include "ui/Screen.h"
#include "ui/TextMeasurer.h"
#include "ui/ViewController.h"
#include "ui/Window.h"

namespace {

using brelka::Dictionary;
using brelka::Value;

// A description of `items` items of every kind that fits on one very tall screen, and the
// texts it shows.
struct Description {
    Dictionary parameters;
    std::vector<std::string> texts;
};

Description describe(int items) {
    Description d;
    int p = 0;
    const auto add = [&](Value v) { d.parameters.emplace("param_" + std::to_string(p++), std::move(v)); };
    const auto text = [&](std::string t) {
        d.texts.push_back(t);
        add(Value(std::move(t)));
    };
    text("Please check every entry of this form before you continue.");
    add(Value(std::string("OK\rCancel")));
    d.texts.insert(d.texts.end(), {"OK", "Cancel"});
    for (int i = 0; i < items; ++i) {
        const std::string n = std::to_string(i);
        switch (i % 9) {
        case 0: add(Value("text\rName " + n)); d.texts.push_back("Name " + n); text("First and last name"); break;
        case 1: add(Value("password\rPin " + n)); d.texts.push_back("Pin " + n); text(""); break;
        case 2: add(Value("checkbox\rRemember entry " + n)); d.texts.push_back("Remember entry " + n); add(Value(i % 2 == 0)); break;
        case 3: add(Value("radio\rOption " + n)); d.texts.push_back("Option " + n); add(Value(false)); break;
        case 4:
            add(Value("menu\rColour " + n));
            d.texts.push_back("Colour " + n);
            add(Value(std::string("Red\r-\rGreen\rBlue")));
            d.texts.insert(d.texts.end(), {"Red", "Green", "Blue"});
            text("Green");
            break;
        case 5:
            add(Value("list\rFruit " + n + "\rlines=2"));
            d.texts.push_back("Fruit " + n);
            add(Value(std::string("Apple\rPear\rPlum")));
            d.texts.insert(d.texts.end(), {"Apple", "Pear", "Plum"});
            text("Pear");
            break;
        case 6: add(Value("caption\rHint " + n)); d.texts.push_back("Hint " + n); text("Entries are checked when you press OK."); break;
        case 7: add(Value(std::string("separator"))); break;
        default: add(Value("link\rhttps://example.org/terms/" + n)); d.texts.push_back("Terms " + n); text("Terms " + n); break;
        }
    }
    return d;
}

// A key window on a screen tall enough for a thousand items, and the plug-in's resource
// bundle where a host would have it: without it every menu would look for its icon afresh,
// a cost no installed plug-in pays.
struct Stage {
    Stage() {
        ::setenv("BRELKA_BUNDLE", BENCH_BUNDLE, 0);
        ui::ScreenProfile profile = ui::ScreenProfile::ipad();
        profile.size = ui::Size{2048, 100000};
        ui::Screen::main().setProfile(profile);
        ui::RunLoop::main().useVirtualClock();
        window = std::make_shared<ui::Window>(ui::Screen::main().bounds());
        root = std::make_shared<ui::ViewController>();
        window->setRootViewController(root);
        window->makeKeyAndVisible();
    }
    ~Stage() {
        ui::RunLoop::main().clear();
        ui::Application::shared().setKeyWindow(nullptr);
        ui::Screen::main().setProfile(ui::ScreenProfile::ipad());
    }
    std::shared_ptr<ui::Window> window;
    std::shared_ptr<ui::ViewController> root;
};

template <class Done>
void pump(Done done) {
    while (true) {
        ui::RunLoop::main().runUntilIdle();
        if (done()) return;
        ui::RunLoop::main().waitForWork(0.001);
    }
}

void BM_InputDialogShown(benchmark::State& state) {
    Stage stage;
    const Description d = describe(static_cast<int>(state.range(0)));
    brelka::InputDialog& dialog = *brelka::InputDialogParamParser::_custom_view_controller();
    for (auto _ : state) {
        state.PauseTiming();
        ui::TextMeasurer::clearCache();
        std::atomic<bool> done{false};
        std::string result;
        state.ResumeTiming();

        std::thread caller([&] {
            result = brelka::PluginBridge::openInputDialog(d.parameters);
            done = true;
        });
        pump([&] { return dialog.isShown() || done.load(); });

        state.PauseTiming();
        if (dialog.isShown()) dialog.Action(Dictionary{});
        pump([&] { return done.load(); });
        caller.join();
        if (result != "0") state.SkipWithError(("the dialog ended with " + result).c_str());
        state.ResumeTiming();
    }
    state.counters["texts"] = static_cast<double>(d.texts.size());
}

void BM_MeasureEveryTextOnce(benchmark::State& state) {
    const Description d = describe(static_cast<int>(state.range(0)));
    const ui::Font font("Helvetica", 15);
    for (auto _ : state) {
        state.PauseTiming();
        ui::TextMeasurer::clearCache();
        state.ResumeTiming();
        for (const std::string& text : d.texts) benchmark::DoNotOptimize(ui::TextMeasurer::singleLineSize(text, font));
    }
}

}  // namespace

BENCHMARK(BM_InputDialogShown)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MeasureEveryTextOnce)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
