// Filling the dialog controller with 10, 100 and 1000 mixed sections, as the parser does for
// one dialog: empty it, add every section, then read the laid-out sections once (what
// building the window does). The deferred layout should make this linear in the number of
// sections; the same fill with a full re-layout after every addition is measured beside it
// for comparison.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "dialog/InputDialog.h"
#include "ui/Image.h"
#include "ui/RunLoop.h"
#include "ui/Screen.h"

namespace {

using brelka::InputDialog;

std::shared_ptr<const ui::Image> smallImage() {
    static const std::shared_ptr<const ui::Image> image = [] {
        const std::vector<std::uint8_t> pixels(48 * 32 * 4, 0x80);
        return ui::Image::fromPixels(48, 32, pixels);
    }();
    return image;
}

// Section i of a dialog: every kind in turn, with titles that differ so that the left
// column keeps widening now and then, as real forms do.
void addSection(InputDialog& dialog, int i) {
    const std::string n = std::to_string(i);
    switch (i % 12) {
    case 0: dialog.addMessageComponent("Please check the details of entry " + n + " before you continue."); break;
    case 1: dialog.addTextFieldComponent("Name " + n, false, "First and last name"); break;
    case 2: dialog.addCheckboxComponent("Remember entry " + n, i % 24 == 2); break;
    case 3: dialog.addRadioButtonComponent("Option " + n, false); break;
    case 4: dialog.addTextAreaComponent("Notes " + n, 3, ""); break;
    case 5: dialog.addMenuComponent("Colour " + n, "Pick one", {"Red", "-", "Green", "Blue"}, {"Red", "-", "Green", "Blue"}); break;
    case 6: dialog.addListComponent("Fruit " + n, {"Apple", "Pear", "Plum"}, {"a", "p", "l"}, 1, 3); break;
    case 7: dialog.addCaptionComponent("Hint " + n, "Entries are checked when you press OK."); break;
    case 8: dialog.addSeparatorComponent(); break;
    case 9: dialog.addImageComponent("Logo " + n, smallImage()); break;
    case 10: dialog.addLinkButtonComponent("Terms " + n, "https://example.org/terms"); break;
    default: dialog.addTextFieldComponent(std::string(static_cast<std::size_t>(i % 40), 'w'), true, ""); break;
    }
}

void fill(benchmark::State& state, bool deferred) {
    ui::Screen::main().setProfile(ui::ScreenProfile::ipad());
    ui::RunLoop::main().useVirtualClock();
    auto dialog = std::make_shared<InputDialog>();
    dialog->setLayoutDeferred(deferred);
    const int sections = static_cast<int>(state.range(0));
    for (auto _ : state) {
        dialog->resetUIViewController();
        dialog->addTitleComponent("Benchmark");
        for (int i = 0; i < sections; ++i) addSection(*dialog, i);
        benchmark::DoNotOptimize(dialog->_height());
        benchmark::DoNotOptimize(dialog->_view_components().size());
    }
    dialog->resetUIViewController();
    ui::RunLoop::main().clear();
    state.SetComplexityN(sections);
}

void BM_FillDialog(benchmark::State& state) { fill(state, true); }
void BM_FillDialogReLayoutEveryAddition(benchmark::State& state) { fill(state, false); }

}  // namespace

BENCHMARK(BM_FillDialog)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond)->Complexity();
BENCHMARK(BM_FillDialogReLayoutEveryAddition)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
