// Rendering the view tree: a small dialog of real controls compared with reviewed reference
// images at 1x and 2x, text drawn exactly where it is measured, the dark blur really blurring
// what is behind it, and clear errors for drawings that cannot be made.
//
// To review a change in the drawing on purpose, run the tests with BRELKA_UPDATE_REFERENCES=1:
// the references are rewritten; look at them before committing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ui/BlurView.h"
#include "ui/Button.h"
#include "ui/Font.h"
#include "ui/Image.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/Renderer.h"
#include "ui/Switch.h"
#include "ui/TextField.h"
#include "ui/TextMeasurer.h"
#include "ui/View.h"
#include "ui/Window.h"

namespace {

using namespace ui;

const Color kBlue = Color::rgb255(0, 122, 255);

std::shared_ptr<Label> label(Rect frame, std::string text, FontSpec font, TextAlignment alignment = TextAlignment::left) {
    auto l = std::make_shared<Label>(frame);
    l->setText(std::move(text));
    l->setFont(std::move(font));
    l->setTextAlignment(alignment);
    return l;
}

// A 24 x 24 icon: a blue disc with a white bar, made pixel by pixel.
std::shared_ptr<const Image> icon() {
    std::vector<std::uint8_t> px(24 * 24 * 4);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            std::uint8_t* p = &px[(y * 24 + x) * 4];
            const double d = std::hypot(x + 0.5 - 12, y + 0.5 - 12);
            const bool bar = x >= 10 && x < 14 && y >= 5 && y < 19;
            p[0] = bar ? 255 : 0;
            p[1] = bar ? 255 : 122;
            p[2] = 255;
            p[3] = d < 11 ? 255 : 0;
        }
    }
    return Image::fromPixels(24, 24, px);
}

// A sign-in dialog over a busy background, dimmed by a dark blur: the controls a dialog uses.
struct Scene {
    std::shared_ptr<Window> window = std::make_shared<Window>(Rect(0, 0, 400, 320));
    std::shared_ptr<TextField> name;

    Scene() {
        window->setBackgroundColor(Color::white());
        auto header = std::make_shared<View>(Rect(0, 0, 400, 44));
        header->setBackgroundColor(Color::rgb255(247, 247, 247));
        window->addSubview(header);
        window->addSubview(label(Rect(0, 0, 400, 44), "Customers", FontSpec{"Helvetica Bold", 17}, TextAlignment::center));
        for (int i = 0; i < 6; ++i) {
            auto stripe = std::make_shared<View>(Rect(0, 60 + 40 * i, 400, 20));
            stripe->setBackgroundColor(i % 2 ? Color::rgb255(255, 149, 0) : Color::rgb255(52, 199, 89));
            window->addSubview(stripe);
        }
        window->addSubview(std::make_shared<BlurView>(BlurStyle::dark, Rect(0, 0, 400, 320)));

        auto panel = std::make_shared<View>(Rect(40, 20, 320, 280));
        panel->setBackgroundColor(Color::rgb255(237, 237, 237));
        panel->layer().cornerRadius = 13;
        panel->layer().shadowOpacity = 0.4;
        panel->layer().shadowRadius = 8;
        panel->layer().shadowOffset = {0, 4};
        window->addSubview(panel);

        auto iconView = std::make_shared<ImageView>(icon());
        iconView->setFrame(Rect(148, 12, 24, 24));
        panel->addSubview(iconView);
        panel->addSubview(label(Rect(16, 40, 288, 24), "Sign in", FontSpec{"Helvetica Bold", 20}, TextAlignment::center));
        auto message = label(Rect(16, 66, 288, 36), "Enter your name and password to open the customer file.",
                             FontSpec{"Helvetica", 15}, TextAlignment::center);
        message->setNumberOfLines(0);
        panel->addSubview(message);

        panel->addSubview(label(Rect(16, 110, 80, 30), "Name", FontSpec{"Helvetica", 15}));
        name = std::make_shared<TextField>(Rect(101, 110, 203, 30));
        name->setBorderStyle(TextBorderStyle::roundedRect);
        name->setFont(FontSpec{"Helvetica", 15});
        name->setText("Ada Lovelace");
        panel->addSubview(name);

        panel->addSubview(label(Rect(16, 146, 80, 30), "Password", FontSpec{"Helvetica", 15}));
        auto password = std::make_shared<TextField>(Rect(101, 146, 203, 30));
        password->setBorderStyle(TextBorderStyle::roundedRect);
        password->setFont(FontSpec{"Helvetica", 15});
        password->setPlaceholder("Required");
        panel->addSubview(password);

        panel->addSubview(label(Rect(16, 182, 200, 31), "Remember me", FontSpec{"Helvetica", 15}));
        auto on = std::make_shared<Switch>(Rect(253, 182, 51, 31));
        on->setOn(true);
        on->setOnTintColor(Color::rgb255(64, 155, 249));
        panel->addSubview(on);

        auto radio = std::make_shared<View>(Rect(16, 218, 22, 22));
        radio->layer().cornerRadius = 11;
        radio->layer().borderWidth = 1;
        radio->layer().borderColor = Color::rgb255(199, 199, 199);
        radio->setBackgroundColor(Color::white());
        auto dot = std::make_shared<View>(Rect(6, 6, 10, 10));
        dot->layer().cornerRadius = 5;
        dot->setBackgroundColor(Color::rgb255(64, 155, 249));
        radio->addSubview(dot);
        panel->addSubview(radio);
        panel->addSubview(label(Rect(43, 218, 150, 22), "Read only", FontSpec{"Helvetica", 15}));
        auto off = std::make_shared<Switch>(Rect(253, 214, 51, 31));
        panel->addSubview(off);

        auto line = std::make_shared<View>(Rect(0, 250, 320, 1));
        line->setBackgroundColor(Color::rgb255(199, 199, 199));
        panel->addSubview(line);
        auto divider = std::make_shared<View>(Rect(160, 250, 1, 30));
        divider->setBackgroundColor(Color::rgb255(199, 199, 199));
        panel->addSubview(divider);
        auto cancel = std::make_shared<Button>(Rect(0, 251, 160, 29));
        cancel->setTitle("Cancel");
        cancel->setTitleFont(FontSpec{"Helvetica", 18});
        cancel->setTitleColor(kBlue);
        panel->addSubview(cancel);
        auto ok = std::make_shared<Button>(Rect(161, 251, 159, 29));
        ok->setTitle("OK");
        ok->setTitleFont(FontSpec{"Helvetica Bold", 18});
        ok->setTitleColor(kBlue);
        panel->addSubview(ok);

        window->makeKeyAndVisible();
        name->becomeFirstResponder();
    }
    ~Scene() { name->resignFirstResponder(); }
};

std::vector<std::uint8_t> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Compares a rendering with a reference PNG: same size, few differing pixels and a small mean
// difference, so that font rasteriser updates pass and real drawing changes do not.
void expectMatchesReference(View& root, double scale, const std::string& name) {
    const std::filesystem::path path = std::filesystem::path(UI_TEST_DATA) / name;
    if (const char* update = std::getenv("BRELKA_UPDATE_REFERENCES"); update && std::string(update) == "1") {
        Renderer::writePng(root, path, scale);
    }
    const auto bytes = readFile(path);
    ASSERT_FALSE(bytes.empty()) << "missing reference " << path;
    const auto reference = Image::decode(bytes.data(), bytes.size());
    ASSERT_TRUE(reference);
    const auto actual = Renderer::render(root, scale);
    ASSERT_EQ(actual->pixelWidth(), reference->pixelWidth());
    ASSERT_EQ(actual->pixelHeight(), reference->pixelHeight());
    const auto a = actual->rgba();
    const auto b = reference->rgba();
    size_t differing = 0;
    double total = 0;
    for (size_t i = 0; i < a.size(); i += 4) {
        int worst = 0;
        for (size_t c = 0; c < 4; ++c) {
            const int d = std::abs(int(a[i + c]) - int(b[i + c]));
            worst = std::max(worst, d);
            total += d;
        }
        if (worst > 48) ++differing;
    }
    const double pixels = static_cast<double>(a.size() / 4);
    EXPECT_LE(differing / pixels, 0.003) << name;
    EXPECT_LE(total / a.size(), 1.0) << name;
}

TEST(RendererTest, ControlsMatchTheReviewedReferences) {
    Scene scene;
    expectMatchesReference(*scene.window, 1, "controls@1x.png");
    expectMatchesReference(*scene.window, 2, "controls@2x.png");
}

struct Ink {
    int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
};

// The box of the pixels that differ from white.
Ink inkOf(const Image& image) {
    Ink ink;
    const auto px = image.rgba();
    for (int y = 0; y < image.pixelHeight(); ++y) {
        for (int x = 0; x < image.pixelWidth(); ++x) {
            const std::uint8_t* p = &px[(static_cast<size_t>(y) * image.pixelWidth() + x) * 4];
            if (p[0] < 200 || p[1] < 200 || p[2] < 200) {
                ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
            }
        }
    }
    return ink;
}

TEST(RendererTest, TextIsDrawnWithinItsMeasuredBox) {
    struct Case {
        const char* text;
        const char* font;
        double size;
    };
    const Case cases[] = {{"OK", "Helvetica Bold", 18},
                          {"Cancel", "Helvetica", 18},
                          {"Wide WWWWWW text", "Helvetica", 15},
                          {"こんにちは", "Helvetica", 15}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Font font(c.font, c.size);
        const Size measured = TextMeasurer::singleLineSize(c.text, font);
        for (double scale : {1.0, 2.0}) {
            auto root = std::make_shared<View>(Rect(0, 0, std::ceil(measured.width) + 20, 40));
            root->setBackgroundColor(Color::white());
            root->addSubview(label(Rect(10, 5, measured.width, measured.height), c.text, FontSpec{c.font, c.size}));
            const Ink ink = inkOf(*Renderer::render(*root, scale));
            // Glyphs stay inside their advances, give or take a pixel of anti-aliasing and side
            // bearing; and they fill most of the measured width.
            EXPECT_GE(ink.left, std::floor(10 * scale) - 1);
            EXPECT_LE(ink.right, std::ceil((10 + measured.width) * scale) + 1);
            EXPECT_GE(ink.right - ink.left + 1, 0.85 * measured.width * scale);
            EXPECT_GE(ink.top, std::floor(5 * scale) - 1);
            EXPECT_LE(ink.bottom, std::ceil((5 + measured.height) * scale) + 1);
        }
    }
}

TEST(RendererTest, LongTitlesAreCutWithinTheirLabel) {
    struct Case {
        int lines;
        double height;
    };
    for (const Case& c : {Case{1, 18}, Case{2, 36}, Case{0, 36}}) {
        SCOPED_TRACE(c.lines);
        auto root = std::make_shared<View>(Rect(0, 0, 200, 60));
        root->setBackgroundColor(Color::white());
        auto title = label(Rect(10, 10, 80, c.height), "A title much too long for its label", FontSpec{"Helvetica", 15});
        title->setNumberOfLines(c.lines);
        root->addSubview(title);
        const Ink ink = inkOf(*Renderer::render(*root, 2));
        EXPECT_GE(ink.left, 19);
        EXPECT_LE(ink.right, 2 * 90 + 1);
        EXPECT_GE(ink.right, 2 * 70);  // filled up to the ellipsis, not left short
        EXPECT_LE(ink.bottom, 2 * (10 + c.height) + 1);
    }
}

TEST(RendererTest, DarkBlurBlursAndDarkensWhatIsBehind) {
    // Black and white halves under a dark blur that covers the right half of the canvas.
    auto root = std::make_shared<View>(Rect(0, 0, 200, 100));
    root->setBackgroundColor(Color::white());
    auto black = std::make_shared<View>(Rect(0, 0, 100, 100));
    black->setBackgroundColor(Color::black());
    root->addSubview(black);
    auto edge = std::make_shared<View>(Rect(150, 0, 50, 100));
    edge->setBackgroundColor(Color::black());
    root->addSubview(edge);
    root->addSubview(std::make_shared<BlurView>(BlurStyle::dark, Rect(100, 0, 100, 100)));
    const auto image = Renderer::render(*root, 1);
    auto red = [&](int x, int y) { return int(image->rgba()[(static_cast<size_t>(y) * 200 + x) * 4]); };
    EXPECT_LT(red(10, 50), 5);                  // left of the blur: untouched black
    EXPECT_GT(red(110, 50), 60);                // white behind the blur shows, darkened
    EXPECT_LT(red(110, 50), 120);
    EXPECT_LT(red(195, 50), 40);                // black behind the blur stays dark
    // Across the sharp black/white edge at x = 150 the blur leaves a gradient.
    EXPECT_GT(red(146, 50), red(154, 50) + 10);
    EXPECT_GT(red(154, 50), red(195, 50));
}

TEST(RendererTest, HiddenAndTransparentViewsAreNotDrawn) {
    auto root = std::make_shared<View>(Rect(0, 0, 30, 10));
    root->setBackgroundColor(Color::white());
    const Color colours[] = {Color::black(), Color::black(), Color::black()};
    std::shared_ptr<View> views[3];
    for (int i = 0; i < 3; ++i) {
        views[i] = std::make_shared<View>(Rect(10 * i, 0, 10, 10));
        views[i]->setBackgroundColor(colours[i]);
        root->addSubview(views[i]);
    }
    views[1]->setHidden(true);
    views[2]->setAlpha(0.5);
    const auto image = Renderer::render(*root, 1);
    auto red = [&](int x) { return int(image->rgba()[(5 * 30 + x) * 4]); };
    EXPECT_EQ(red(5), 0);
    EXPECT_EQ(red(15), 255);
    EXPECT_NEAR(red(25), 128, 2);
}

TEST(RendererTest, AbsurdGeometryDrawsNothingInsteadOfBreakingTheRest) {
    auto root = std::make_shared<View>(Rect(0, 0, 20, 10));
    root->setBackgroundColor(Color::white());
    const double nan = std::nan("");
    auto add = [&](Rect frame, auto&& setUp) {
        auto v = std::make_shared<Label>(frame);
        v->setBackgroundColor(Color::black());
        v->setText("x");
        setUp(*v);
        root->addSubview(v);
    };
    add(Rect(0, 0, nan, 5), [](View&) {});
    add(Rect(0, 0, 1e300, 1e300), [](View&) {});
    add(Rect(0, 0, 10, 10), [&](View& v) { v.layer().cornerRadius = nan; });
    add(Rect(0, 0, 10, 10), [&](View& v) {
        v.layer().shadowOpacity = 1;
        v.layer().shadowRadius = 1e12;
    });
    add(Rect(0, 0, 10, 10), [&](View& v) {
        v.layer().shadowOpacity = 1;
        v.layer().shadowOffset = {nan, 1};
    });
    add(Rect(0, 0, 10, 10), [&](View& v) { v.setAlpha(nan); });
    // The last view must still be drawn: nothing before it broke the drawing.
    auto last = std::make_shared<View>(Rect(10, 0, 10, 10));
    last->setBackgroundColor(Color{1, 0, 0, 1});
    root->addSubview(last);
    const auto image = Renderer::render(*root, 1);
    const std::uint8_t* p = &image->rgba()[(5 * 20 + 15) * 4];
    EXPECT_EQ(int(p[0]), 255);
    EXPECT_EQ(int(p[1]), 0);
}

TEST(RendererTest, RefusesDrawingsThatCannotBeMade) {
    auto small = std::make_shared<View>(Rect(0, 0, 10, 10));
    for (double scale : {0.0, 0.5, 5.0, double(NAN), double(INFINITY)}) {
        SCOPED_TRACE(scale);
        EXPECT_THROW(Renderer::render(*small, scale), RenderError);
    }
    auto huge = std::make_shared<View>(Rect(0, 0, 100000, 100000));
    EXPECT_THROW(Renderer::renderPng(*huge, 1), RenderError);
    EXPECT_THROW(Renderer::writePng(*small, "/nonexistent-dir/x.png", 1), RenderError);
    // An empty root still makes a (one pixel) picture.
    auto empty = std::make_shared<View>(Rect(0, 0, 0, 0));
    const auto png = Renderer::renderPng(*empty, 1);
    ASSERT_GE(png.size(), 8u);
    EXPECT_EQ(png[1], 'P');
}

}  // namespace
