// Text measurement and screen rendering. Measuring 10,000 distinct short texts is compared
// with shaping the same texts straight through HarfBuzz (the floor: what any measurement must
// at least do), and again once they are cached. Rendering draws a full iPad screen (1024 x 768)
// with a dialog over a dark blur, to PNG bytes, at 1x and 2x.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb-ft.h>
#include <hb.h>

#include "ui/BlurView.h"
#include "ui/Button.h"
#include "ui/Font.h"
#include "ui/Label.h"
#include "ui/Renderer.h"
#include "ui/Switch.h"
#include "ui/TextField.h"
#include "ui/TextMeasurer.h"
#include "ui/View.h"

namespace {

const std::vector<std::string>& texts() {
    static const std::vector<std::string> all = [] {
        const char* words[] = {"Customer", "Invoice", "Total", "Address", "Phone", "Notes", "Cancel", "Save"};
        std::vector<std::string> out;
        for (int i = 0; i < 10000; ++i) out.push_back(std::string(words[i % 8]) + " " + std::to_string(i) + " of list");
        return out;
    }();
    return all;
}

// The floor: HarfBuzz over FreeType on the same face and size, with a reused buffer.
void BM_RawHarfBuzzShaping(benchmark::State& state) {
    const ui::Font font("Helvetica", 15);
    FT_Library library;
    FT_Init_FreeType(&library);
    FT_Face face;
    FT_New_Face(library, font.filePath().c_str(), 0, &face);
    FT_Set_Char_Size(face, 0, 15 * 64, 72, 72);
    hb_font_t* hb = hb_ft_font_create_referenced(face);
    hb_ft_font_set_load_flags(hb, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP);
    hb_buffer_t* buffer = hb_buffer_create();
    for (auto _ : state) {
        for (const std::string& text : texts()) {
            hb_buffer_clear_contents(buffer);
            hb_buffer_add_utf8(buffer, text.data(), static_cast<int>(text.size()), 0, -1);
            hb_buffer_guess_segment_properties(buffer);
            hb_shape(hb, buffer, nullptr, 0);
            unsigned count = 0;
            const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, &count);
            long width = 0;
            for (unsigned i = 0; i < count; ++i) width += pos[i].x_advance;
            benchmark::DoNotOptimize(width);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(texts().size()));
    hb_buffer_destroy(buffer);
    hb_font_destroy(hb);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
}
BENCHMARK(BM_RawHarfBuzzShaping)->Unit(benchmark::kMillisecond);

void BM_MeasureUncached(benchmark::State& state) {
    const ui::Font font("Helvetica", 15);
    const bool wrapped = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        ui::TextMeasurer::clearCache();
        state.ResumeTiming();
        for (const std::string& text : texts()) {
            benchmark::DoNotOptimize(wrapped ? ui::TextMeasurer::wrappedSize(text, font, 971)
                                             : ui::TextMeasurer::singleLineSize(text, font));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(texts().size()));
    state.SetLabel(wrapped ? "wrapped" : "single line");
}
BENCHMARK(BM_MeasureUncached)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_MeasureCached(benchmark::State& state) {
    const ui::Font font("Helvetica", 15);
    ui::TextMeasurer::clearCache();
    for (const std::string& text : texts()) ui::TextMeasurer::singleLineSize(text, font);
    for (auto _ : state) {
        for (const std::string& text : texts()) {
            benchmark::DoNotOptimize(ui::TextMeasurer::singleLineSize(text, font));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(texts().size()));
}
BENCHMARK(BM_MeasureCached)->Unit(benchmark::kMillisecond);

std::shared_ptr<ui::Label> label(ui::Rect frame, const std::string& text, ui::FontSpec font) {
    auto l = std::make_shared<ui::Label>(frame);
    l->setText(text);
    l->setFont(std::move(font));
    l->setTextAlignment(ui::TextAlignment::center);
    l->setNumberOfLines(0);
    return l;
}

// An iPad screen: an app's list behind a dark blur, and a dialog with a few controls.
std::shared_ptr<ui::View> ipadScreen() {
    auto root = std::make_shared<ui::View>(ui::Rect(0, 0, 1024, 768));
    root->setBackgroundColor(ui::Color::white());
    for (int i = 0; i < 16; ++i) {
        root->addSubview(label(ui::Rect(20, 10 + 46 * i, 600, 40), "Customer record " + std::to_string(i), {"Helvetica", 17}));
    }
    root->addSubview(std::make_shared<ui::BlurView>(ui::BlurStyle::dark, ui::Rect(0, 0, 1024, 768)));
    auto panel = std::make_shared<ui::View>(ui::Rect(312, 234, 400, 300));
    panel->setBackgroundColor(ui::Color::rgb255(237, 237, 237));
    panel->layer().cornerRadius = 13;
    panel->layer().shadowOpacity = 0.4;
    panel->layer().shadowRadius = 8;
    root->addSubview(panel);
    panel->addSubview(label(ui::Rect(16, 20, 368, 24), "Sign in", {"Helvetica Bold", 20}));
    panel->addSubview(label(ui::Rect(16, 50, 368, 40), "Enter your name and password to open the customer file.", {"Helvetica", 15}));
    auto field = std::make_shared<ui::TextField>(ui::Rect(100, 110, 284, 30));
    field->setBorderStyle(ui::TextBorderStyle::roundedRect);
    field->setText("Ada Lovelace");
    panel->addSubview(field);
    auto on = std::make_shared<ui::Switch>(ui::Rect(333, 160, 51, 31));
    on->setOn(true);
    panel->addSubview(on);
    for (int i = 0; i < 2; ++i) {
        auto button = std::make_shared<ui::Button>(ui::Rect(200 * i, 250, 200, 50));
        button->setTitle(i ? "OK" : "Cancel");
        button->setTitleFont({i ? "Helvetica Bold" : "Helvetica", 18});
        button->setTitleColor(ui::Color::rgb255(0, 122, 255));
        panel->addSubview(button);
    }
    return root;
}

void BM_RenderIpadScreenToPng(benchmark::State& state) {
    auto screen = ipadScreen();
    const double scale = static_cast<double>(state.range(0));
    size_t bytes = 0;
    for (auto _ : state) bytes = ui::Renderer::renderPng(*screen, scale).size();
    state.counters["png_kB"] = static_cast<double>(bytes) / 1024;
}
BENCHMARK(BM_RenderIpadScreenToPng)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
