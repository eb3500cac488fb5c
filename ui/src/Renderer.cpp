#include "ui/Renderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include <cairo.h>

#include "TextEngine.h"
#include "TextPainter.h"
#include "ui/BlurView.h"
#include "ui/Button.h"
#include "ui/Font.h"
#include "ui/Image.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/ScrollView.h"
#include "ui/Switch.h"
#include "ui/TableView.h"
#include "ui/TextField.h"
#include "ui/TextView.h"
#include "ui/View.h"

namespace ui {

namespace {

using detail::TextLayout;
using detail::TextPainter;

// The platform's tint: carets and default controls.
constexpr Color kTint = Color::rgb255(0, 122, 255);
constexpr Color kPlaceholder = Color::rgb255(199, 199, 205);
constexpr Color kFieldBorder = Color::rgb255(204, 204, 204);
constexpr Color kSwitchOffBorder = Color::rgb255(229, 229, 234);

struct CairoSurface {
    cairo_surface_t* s;
    explicit CairoSurface(cairo_surface_t* surface) : s(surface) {}
    ~CairoSurface() { cairo_surface_destroy(s); }
    CairoSurface(const CairoSurface&) = delete;
    CairoSurface& operator=(const CairoSurface&) = delete;
};

struct CairoContext {
    cairo_t* cr;
    explicit CairoContext(cairo_surface_t* surface) : cr(cairo_create(surface)) {}
    ~CairoContext() { cairo_destroy(cr); }
    CairoContext(const CairoContext&) = delete;
    CairoContext& operator=(const CairoContext&) = delete;
};

void setColor(cairo_t* cr, Color c, double alpha = 1) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a * alpha);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min(r, std::min(w, h) / 2);
    if (!(r > 0)) {
        cairo_rectangle(cr, x, y, w, h);
        return;
    }
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

// Pixels per point at the current transformation.
double deviceScale(cairo_t* cr) {
    double dx = 1, dy = 0;
    cairo_user_to_device_distance(cr, &dx, &dy);
    return std::max(std::hypot(dx, dy), 1e-6);
}

// One box-blur pass over each channel of an image surface, horizontally then vertically,
// with running sums (edges repeat the border pixel). Three passes approach a Gaussian.
void boxBlur(cairo_surface_t* surface, int radius) {
    if (radius < 1) return;
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const int channels = cairo_image_surface_get_format(surface) == CAIRO_FORMAT_A8 ? 1 : 4;
    if (!data || w <= 0 || h <= 0) return;
    const int span = 2 * radius + 1;
    std::vector<unsigned char> line(static_cast<size_t>(std::max(w, h)) * channels);
    auto pass = [&](int count, int length, auto at) {
        for (int k = 0; k < count; ++k) {
            for (int i = 0; i < length; ++i) {
                std::memcpy(&line[static_cast<size_t>(i) * channels], at(k, i), channels);
            }
            for (int c = 0; c < channels; ++c) {
                auto px = [&](int i) { return line[static_cast<size_t>(std::clamp(i, 0, length - 1)) * channels + c]; };
                int sum = 0;
                for (int i = -radius; i <= radius; ++i) sum += px(i);
                for (int i = 0; i < length; ++i) {
                    at(k, i)[c] = static_cast<unsigned char>(sum / span);
                    sum += px(i + radius + 1) - px(i - radius);
                }
            }
        }
    };
    pass(h, w, [&](int y, int x) { return data + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * channels; });
    pass(w, h, [&](int x, int y) { return data + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * channels; });
    cairo_surface_mark_dirty(surface);
}

// An image's pixels as a premultiplied Cairo surface, averaged down by whole factors while
// the image is more than twice the pixels it is drawn at (an 8000 x 8000 photo in a 100 point
// view needs no 256 MB copy).
cairo_surface_t* imageSurface(const Image& image, double drawnWidth, double drawnHeight) {
    const int iw = image.pixelWidth();
    const int ih = image.pixelHeight();
    int factor = 1;
    if (drawnWidth > 0 && drawnHeight > 0) {
        factor = static_cast<int>(std::floor(std::min(iw / drawnWidth, ih / drawnHeight) / 2));
        factor = std::max(factor, 1);
    }
    const int w = std::max(iw / factor, 1);
    const int h = std::max(ih / factor, 1);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return surface;
    unsigned char* out = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const auto rgba = image.rgba();
    const size_t rowBytes = static_cast<size_t>(iw) * 4;
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(out + static_cast<size_t>(y) * stride);
        for (int x = 0; x < w; ++x) {
            unsigned sum[4] = {0, 0, 0, 0};
            int n = 0;
            for (int sy = y * factor; sy < std::min((y + 1) * factor, ih); ++sy) {
                for (int sx = x * factor; sx < std::min((x + 1) * factor, iw); ++sx) {
                    const std::uint8_t* p = rgba.data() + static_cast<size_t>(sy) * rowBytes + static_cast<size_t>(sx) * 4;
                    for (int c = 0; c < 4; ++c) sum[c] += p[c];
                    ++n;
                }
            }
            n = std::max(n, 1);
            const unsigned a = sum[3] / n;
            auto pre = [&](unsigned v) { return (v / n * a + 127) / 255; };
            row[x] = (a << 24) | (pre(sum[0]) << 16) | (pre(sum[1]) << 8) | pre(sum[2]);
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

class TreePainter {
public:
    TreePainter(cairo_t* cr, cairo_surface_t* canvas) : cr_(cr), canvas_(canvas) {}

    void drawView(View& view) {
        if (view.isHidden() || !(view.alpha() > 0)) return;
        const double scale = view.transformScale();
        if (!(std::abs(scale) > 0) || !std::isfinite(scale)) return;
        const Rect bounds = view.bounds();
        const double w = bounds.width();
        const double h = bounds.height();
        // Geometry that is not a number, or absurdly large, draws nothing rather than
        // putting Cairo into an error state for the rest of the tree.
        constexpr double kFar = 1e7;
        for (double v : {w, h, bounds.x(), bounds.y(), view.center().x, view.center().y}) {
            if (!(std::abs(v) < kFar)) return;
        }
        if (w < 0 || h < 0) return;
        cairo_save(cr_);
        cairo_translate(cr_, view.center().x, view.center().y);
        cairo_scale(cr_, scale, scale);
        cairo_translate(cr_, -w / 2, -h / 2);

        const bool group = view.alpha() < 1;
        if (group) cairo_push_group(cr_);
        const Layer& layer = view.layer();
        if (!layer.masksToBounds && layer.shadowOpacity > 0 && view.backgroundColor().a > 0) {
            drawShadow(layer, w, h);
        }
        if (view.backgroundColor().a > 0) {
            roundedRect(cr_, 0, 0, w, h, layer.cornerRadius);
            setColor(cr_, view.backgroundColor());
            cairo_fill(cr_);
        }
        cairo_save(cr_);
        if (layer.masksToBounds) {
            roundedRect(cr_, 0, 0, w, h, layer.cornerRadius);
            cairo_clip(cr_);
        }
        drawContent(view, w, h);
        cairo_save(cr_);
        cairo_translate(cr_, -bounds.x(), -bounds.y());
        for (const auto& sub : view.subviews()) {
            if (sub) drawView(*sub);
        }
        if (auto* table = dynamic_cast<TableView*>(&view)) drawSeparators(*table);
        cairo_restore(cr_);
        if (auto* scroll = dynamic_cast<ScrollView*>(&view)) drawScrollIndicator(*scroll, w, h);
        cairo_restore(cr_);
        if (layer.borderWidth > 0) {
            const double bw = layer.borderWidth;
            roundedRect(cr_, bw / 2, bw / 2, w - bw, h - bw, layer.cornerRadius - bw / 2);
            cairo_set_line_width(cr_, bw);
            setColor(cr_, layer.borderColor);
            cairo_stroke(cr_);
        }
        if (group) {
            cairo_pop_group_to_source(cr_);
            cairo_paint_with_alpha(cr_, view.alpha());
        }
        cairo_restore(cr_);
    }

private:
    void drawContent(View& view, double w, double h) {
        if (auto* label = dynamic_cast<Label*>(&view)) {
            drawLabel(*label, w, h);
        } else if (auto* button = dynamic_cast<Button*>(&view)) {
            drawButton(*button, w, h);
        } else if (auto* control = dynamic_cast<Switch*>(&view)) {
            drawSwitch(*control, w, h);
        } else if (auto* field = dynamic_cast<TextField*>(&view)) {
            drawTextField(*field, w, h);
        } else if (auto* text = dynamic_cast<TextView*>(&view)) {
            drawTextView(*text, w, h);
        } else if (auto* image = dynamic_cast<ImageView*>(&view)) {
            drawImage(*image, w, h);
        } else if (auto* blur = dynamic_cast<BlurView*>(&view)) {
            drawBlur(*blur, w, h);
        }
    }

    // A soft shadow of the view's rounded rectangle: the shape drawn into an alpha mask at
    // device resolution, blurred, and painted in the shadow colour at the shadow offset.
    void drawShadow(const Layer& layer, double w, double h) {
        const double ds = deviceScale(cr_);
        const double radius = std::isfinite(layer.shadowRadius) ? std::clamp(layer.shadowRadius, 0.0, 1000.0) : 0;
        const double pad = std::ceil(radius * 2) + 1;
        const double mwd = std::ceil((w + 2 * pad) * ds);
        const double mhd = std::ceil((h + 2 * pad) * ds);
        if (!(mwd * mhd <= static_cast<double>(Renderer::kMaxPixels)) || !std::isfinite(layer.shadowOffset.width) ||
            !std::isfinite(layer.shadowOffset.height)) {
            return;
        }
        const int mw = static_cast<int>(mwd);
        const int mh = static_cast<int>(mhd);
        CairoSurface mask(cairo_image_surface_create(CAIRO_FORMAT_A8, mw, mh));
        if (cairo_surface_status(mask.s) != CAIRO_STATUS_SUCCESS) return;
        {
            CairoContext m(mask.s);
            cairo_scale(m.cr, ds, ds);
            roundedRect(m.cr, pad, pad, w, h, layer.cornerRadius);
            cairo_set_source_rgba(m.cr, 0, 0, 0, 1);
            cairo_fill(m.cr);
        }
        // The shadow radius reads as a Gaussian of half that deviation; three box passes of
        // this width come close to it.
        const double sigma = radius / 2 * ds;
        const int box = static_cast<int>(std::lround(std::sqrt(4 * sigma * sigma + 1) / 2));
        for (int i = 0; i < 3; ++i) boxBlur(mask.s, box);
        cairo_save(cr_);
        cairo_translate(cr_, layer.shadowOffset.width - pad, layer.shadowOffset.height - pad);
        cairo_scale(cr_, 1 / ds, 1 / ds);
        setColor(cr_, layer.shadowColor, std::clamp(layer.shadowOpacity, 0.0, 1.0));
        cairo_mask_surface(cr_, mask.s, 0, 0);
        cairo_restore(cr_);
    }

    // What lies behind the view on the canvas, blurred, then the style's tint over it.
    void drawBlur(const BlurView& view, double w, double h) {
        cairo_save(cr_);
        roundedRect(cr_, 0, 0, w, h, view.layer().cornerRadius);
        cairo_clip(cr_);
        double x0 = 0, y0 = 0, x1 = w, y1 = h;
        double xs[4] = {0, w, 0, w}, ys[4] = {0, 0, h, h};
        for (int i = 0; i < 4; ++i) cairo_user_to_device(cr_, &xs[i], &ys[i]);
        const int cw = cairo_image_surface_get_width(canvas_);
        const int ch = cairo_image_surface_get_height(canvas_);
        x0 = std::clamp(std::floor(*std::min_element(xs, xs + 4)), 0.0, double(cw));
        x1 = std::clamp(std::ceil(*std::max_element(xs, xs + 4)), 0.0, double(cw));
        y0 = std::clamp(std::floor(*std::min_element(ys, ys + 4)), 0.0, double(ch));
        y1 = std::clamp(std::ceil(*std::max_element(ys, ys + 4)), 0.0, double(ch));
        // Blurring at a quarter of the resolution is four times smoother per pass and
        // sixteen times cheaper; the result is scaled back up with bilinear filtering.
        constexpr int kDown = 4;
        const int sw = static_cast<int>(std::ceil((x1 - x0) / kDown));
        const int sh = static_cast<int>(std::ceil((y1 - y0) / kDown));
        if (sw > 0 && sh > 0) {
            cairo_surface_flush(canvas_);
            CairoSurface small(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, sw, sh));
            if (cairo_surface_status(small.s) == CAIRO_STATUS_SUCCESS) {
                {
                    CairoContext s(small.s);
                    cairo_scale(s.cr, 1.0 / kDown, 1.0 / kDown);
                    cairo_set_source_surface(s.cr, canvas_, -x0, -y0);
                    cairo_pattern_set_filter(cairo_get_source(s.cr), CAIRO_FILTER_GOOD);
                    cairo_pattern_set_extend(cairo_get_source(s.cr), CAIRO_EXTEND_PAD);
                    cairo_paint(s.cr);
                }
                // About 20 points of blur, as the platform's dark material.
                const int box = std::max(1, static_cast<int>(std::lround(6 * deviceScale(cr_) / kDown)));
                for (int i = 0; i < 3; ++i) boxBlur(small.s, box);
                cairo_save(cr_);
                cairo_identity_matrix(cr_);
                cairo_pattern_t* pattern = cairo_pattern_create_for_surface(small.s);
                cairo_matrix_t m;
                cairo_matrix_init_scale(&m, 1.0 / kDown, 1.0 / kDown);
                cairo_matrix_translate(&m, -x0, -y0);
                cairo_pattern_set_matrix(pattern, &m);
                cairo_pattern_set_filter(pattern, CAIRO_FILTER_BILINEAR);
                cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
                cairo_set_source(cr_, pattern);
                cairo_paint(cr_);
                cairo_pattern_destroy(pattern);
                cairo_restore(cr_);
            }
        }
        Color tint;
        switch (view.style()) {
        case BlurStyle::dark: tint = Color{0.11, 0.11, 0.11, 0.73}; break;
        case BlurStyle::light: tint = Color{1, 1, 1, 0.3}; break;
        case BlurStyle::extraLight: tint = Color{0.97, 0.97, 0.97, 0.8}; break;
        case BlurStyle::regular: tint = Color{1, 1, 1, 0.55}; break;
        }
        setColor(cr_, tint);
        cairo_paint(cr_);
        cairo_restore(cr_);
    }

    void drawLabel(const Label& label, double w, double h) {
        if (label.text().empty()) return;
        const Font font(label.font().name, label.font().size);
        const int fit = static_cast<int>(std::clamp(std::floor((h + 0.01) / font.lineHeight()), 1.0, 100000.0));
        const int lines = label.numberOfLines() == 0 ? fit : std::min(label.numberOfLines(), fit);
        const bool ellipsis = label.lineBreakMode() != LineBreakMode::clip;
        const TextLayout layout = TextPainter::layout(label.text(), font, w, lines, ellipsis);
        // Labels centre their text vertically.
        TextPainter::draw(cr_, layout, 0, (h - layout.height()) / 2, w, label.textAlignment(),
                          label.textColor());
    }

    void drawButton(const Button& button, double w, double h) {
        double alpha = 1;
        if (!button.isEnabled()) alpha = 0.35;
        else if (button.isHighlighted()) alpha = 0.3;
        struct Piece {
            TextLayout layout;
            Color color;
            bool underline;
            double size;
        };
        std::vector<Piece> pieces;
        if (auto attributed = button.currentAttributedTitle(); attributed && !attributed->empty()) {
            for (const TextRun& run : attributed->runs) {
                const Font font(run.font.name, run.font.size);
                pieces.push_back({TextPainter::layout(run.text, font, detail::kNoWrap, 1, false),
                                  run.color, run.underline, font.pointSize()});
            }
        } else {
            const std::string title = button.currentTitle();
            if (title.empty()) return;
            const Font font(button.titleFont().name, button.titleFont().size);
            pieces.push_back({TextPainter::layout(title, font, w, 1), button.currentTitleColor(),
                              false, font.pointSize()});
        }
        double total = 0, baseline = 0, lineHeight = 0;
        for (const Piece& p : pieces) {
            if (!p.layout.lines.empty()) total += p.layout.lines.front().width;
            baseline = std::max(baseline, p.layout.baseline);
            lineHeight = std::max(lineHeight, p.layout.lineHeight);
        }
        double x = 0;
        switch (button.contentHorizontalAlignment()) {
        case ContentHorizontalAlignment::center: x = (w - total) / 2; break;
        case ContentHorizontalAlignment::right: x = w - total; break;
        case ContentHorizontalAlignment::left:
        case ContentHorizontalAlignment::fill: break;
        }
        const double y = (h - lineHeight) / 2 + baseline;
        for (const Piece& p : pieces) {
            if (p.layout.lines.empty()) continue;
            const detail::TextLine& line = p.layout.lines.front();
            const Color color{p.color.r, p.color.g, p.color.b, p.color.a * alpha};
            TextPainter::drawLine(cr_, line, x, y, color);
            if (p.underline) {
                const double thickness = std::max(p.size / 16, 1 / deviceScale(cr_));
                cairo_rectangle(cr_, x, y + p.size * 0.12, line.width, thickness);
                setColor(cr_, color);
                cairo_fill(cr_);
            }
            x += line.width;
        }
    }

    void drawSwitch(const Switch& control, double w, double h) {
        const double alpha = control.isEnabled() ? 1 : 0.5;
        roundedRect(cr_, 0, 0, w, h, h / 2);
        if (control.isOn()) {
            setColor(cr_, control.onTintColor(), alpha);
            cairo_fill(cr_);
        } else {
            setColor(cr_, Color::white(), alpha);
            cairo_fill_preserve(cr_);
            cairo_new_path(cr_);
            roundedRect(cr_, 1, 1, w - 2, h - 2, h / 2 - 1);
            cairo_set_line_width(cr_, 2);
            setColor(cr_, kSwitchOffBorder, alpha);
            cairo_stroke(cr_);
        }
        const double d = h - 4;
        const double cx = control.isOn() ? w - 2 - d / 2 : 2 + d / 2;
        const double cy = h / 2;
        // The knob's soft shadow: two faint discs below it.
        for (auto [dy, grow, a] : {std::tuple{2.0, 1.0, 0.08}, std::tuple{1.0, 0.5, 0.1}}) {
            cairo_arc(cr_, cx, cy + dy, d / 2 + grow, 0, 2 * M_PI);
            cairo_set_source_rgba(cr_, 0, 0, 0, a * alpha);
            cairo_fill(cr_);
        }
        cairo_arc(cr_, cx, cy, d / 2, 0, 2 * M_PI);
        setColor(cr_, Color::white(), alpha);
        cairo_fill_preserve(cr_);
        cairo_set_line_width(cr_, 0.5);
        cairo_set_source_rgba(cr_, 0, 0, 0, 0.06 * alpha);
        cairo_stroke(cr_);
    }

    void drawTextField(const TextField& field, double w, double h) {
        double inset = 0;
        switch (field.borderStyle()) {
        case TextBorderStyle::roundedRect:
            roundedRect(cr_, 0.25, 0.25, w - 0.5, h - 0.5, 5);
            setColor(cr_, Color::white());
            cairo_fill_preserve(cr_);
            cairo_set_line_width(cr_, 0.5);
            setColor(cr_, kFieldBorder);
            cairo_stroke(cr_);
            inset = 7;
            break;
        case TextBorderStyle::line:
            cairo_rectangle(cr_, 0.5, 0.5, w - 1, h - 1);
            cairo_set_line_width(cr_, 1);
            setColor(cr_, Color::black());
            cairo_stroke(cr_);
            inset = 4;
            break;
        case TextBorderStyle::bezel:
            cairo_rectangle(cr_, 0.5, 0.5, w - 1, h - 1);
            cairo_set_line_width(cr_, 1);
            setColor(cr_, Color::rgb255(150, 150, 150));
            cairo_stroke(cr_);
            inset = 4;
            break;
        case TextBorderStyle::none: break;
        }
        const double textWidth = std::max(w - 2 * inset, 0.0);
        const Font font(field.font().name, field.font().size);
        const std::string shown = field.displayText();
        const bool placeholder = shown.empty();
        const std::string& text = placeholder ? field.placeholder() : shown;
        const TextLayout layout = TextPainter::layout(text, font, detail::kNoWrap, 1, false);
        const double lineWidth = layout.lines.empty() ? 0 : layout.lines.front().width;
        double x = inset;
        switch (field.textAlignment()) {
        case TextAlignment::center: x = inset + (textWidth - lineWidth) / 2; break;
        case TextAlignment::right: x = inset + textWidth - lineWidth; break;
        default: break;
        }
        // While editing, a text longer than the field shows its end, where the caret is.
        if (field.isEditing() && !placeholder && lineWidth > textWidth) x = inset + textWidth - lineWidth;
        const double top = (h - font.lineHeight()) / 2;
        cairo_save(cr_);
        cairo_rectangle(cr_, inset, 0, textWidth, h);
        cairo_clip(cr_);
        if (!layout.lines.empty()) {
            TextPainter::drawLine(cr_, layout.lines.front(), x, top + layout.baseline,
                                  placeholder ? kPlaceholder : field.textColor());
        }
        cairo_restore(cr_);
        if (field.isEditing()) {
            double caretX = placeholder ? inset : x + lineWidth;
            if (placeholder && field.textAlignment() == TextAlignment::center) caretX = inset + textWidth / 2;
            if (placeholder && field.textAlignment() == TextAlignment::right) caretX = inset + textWidth;
            drawCaret(std::min(caretX, w - inset), (h - font.lineHeight()) / 2, font.lineHeight());
        }
    }

    void drawTextView(const TextView& view, double w, double h) {
        const double left = TextView::kInsetLeft;
        const double width = std::max(w - TextView::kInsetLeft - TextView::kInsetRight, 0.0);
        const double visible = h - TextView::kInsetTop - TextView::kInsetBottom;
        const Font font(view.font().name, view.font().size);
        const TextLayout layout = TextPainter::layout(view.text(), font, width);
        double top = TextView::kInsetTop;
        // A text view being edited keeps its last line, where the caret is, in sight.
        double lines = static_cast<double>(layout.lines.size());
        const bool endsInBreak = !view.text().empty() && (view.text().back() == '\n' || view.text().back() == '\r');
        if (endsInBreak) lines += 1;
        if (view.isEditing() && lines * layout.lineHeight > visible) {
            top = TextView::kInsetTop + visible - lines * layout.lineHeight;
        }
        TextPainter::draw(cr_, layout, left, top, width, view.textAlignment(), view.textColor());
        if (view.isEditing()) {
            double caretX = left;
            double caretTop = top;
            if (!layout.lines.empty() && !endsInBreak) {
                const auto& last = layout.lines.back();
                caretX = left + last.width;
                if (view.textAlignment() == TextAlignment::center) caretX = left + (width + last.width) / 2;
                if (view.textAlignment() == TextAlignment::right) caretX = left + width;
                caretTop = top + (lines - 1) * layout.lineHeight;
            } else if (endsInBreak) {
                caretTop = top + (lines - 1) * layout.lineHeight;
            }
            drawCaret(caretX, caretTop, font.lineHeight());
        }
    }

    void drawCaret(double x, double top, double height) {
        cairo_rectangle(cr_, x, top, 2, height);
        setColor(cr_, kTint);
        cairo_fill(cr_);
    }

    void drawImage(const ImageView& view, double w, double h) {
        const auto& image = view.image();
        if (!image || w <= 0 || h <= 0) return;
        const double ds = deviceScale(cr_);
        CairoSurface surface(imageSurface(*image, w * ds, h * ds));
        if (cairo_surface_status(surface.s) != CAIRO_STATUS_SUCCESS) return;
        const int sw = cairo_image_surface_get_width(surface.s);
        const int sh = cairo_image_surface_get_height(surface.s);
        cairo_save(cr_);
        cairo_rectangle(cr_, 0, 0, w, h);
        cairo_clip(cr_);
        // Stretched to fill the bounds.
        cairo_scale(cr_, w / sw, h / sh);
        cairo_set_source_surface(cr_, surface.s, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_GOOD);
        cairo_pattern_set_extend(cairo_get_source(cr_), CAIRO_EXTEND_PAD);
        cairo_paint(cr_);
        cairo_restore(cr_);
    }

    // Hairlines under the visible rows, inset like the rows' text; none under the last row.
    void drawSeparators(TableView& table) {
        if (table.separatorStyle() != TableSeparatorStyle::singleLine) return;
        const int rows = table.numberOfRows();
        const double thickness = 1 / deviceScale(cr_);
        for (int row : table.visibleRows()) {
            if (row >= rows - 1) continue;
            const Rect r = table.rectForRow(row);
            cairo_rectangle(cr_, r.x() + TableViewCell::kTextInset, r.maxY() - thickness,
                            r.width() - TableViewCell::kTextInset, thickness);
        }
        setColor(cr_, table.separatorColor());
        cairo_fill(cr_);
    }

    // The vertical indicator shows once the view has been asked to flash it, while the
    // content is taller than the view.
    void drawScrollIndicator(const ScrollView& view, double w, double h) {
        const double content = view.contentSize().height;
        if (!view.showsVerticalScrollIndicator() || view.scrollIndicatorFlashes() == 0 ||
            content <= h || h <= 12) {
            return;
        }
        const double track = h - 6;
        const double length = std::max(track * h / content, 36.0);
        const double maxOffset = view.maxContentOffset().y;
        const double fraction = maxOffset > 0 ? std::clamp(view.contentOffset().y / maxOffset, 0.0, 1.0) : 0;
        roundedRect(cr_, w - 6, 3 + (track - length) * fraction, 3, length, 1.5);
        cairo_set_source_rgba(cr_, 0, 0, 0, 0.35);
        cairo_fill(cr_);
    }

    cairo_t* cr_;
    cairo_surface_t* canvas_;
};


cairo_surface_t* draw(View& root, double scale) {
    if (!std::isfinite(scale) || scale < 1 || scale > 4) {
        throw RenderError("scale " + std::to_string(scale) + " is out of range (1 to 4)");
    }
    root.layoutIfNeeded();
    const Size size = root.bounds().size;
    const double pw = std::ceil(std::max(size.width, 0.0) * scale);
    const double ph = std::ceil(std::max(size.height, 0.0) * scale);
    if (!(pw <= Renderer::kMaxSide && ph <= Renderer::kMaxSide) ||
        pw * ph > static_cast<double>(Renderer::kMaxPixels)) {
        throw RenderError("a canvas of " + std::to_string(static_cast<long long>(pw)) + " x " +
                          std::to_string(static_cast<long long>(ph)) + " pixels is too large");
    }
    const int width = std::max(static_cast<int>(pw), 1);
    const int height = std::max(static_cast<int>(ph), 1);
    cairo_surface_t* canvas = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(canvas) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(canvas);
        throw RenderError("no memory for a canvas of " + std::to_string(width) + " x " + std::to_string(height));
    }
    CairoContext context(canvas);
    cairo_set_source_rgb(context.cr, 0, 0, 0);
    cairo_paint(context.cr);
    cairo_scale(context.cr, scale, scale);
    // The root is drawn at the canvas's origin whatever its own frame.
    cairo_translate(context.cr, -root.frame().x(), -root.frame().y());
    TreePainter(context.cr, canvas).drawView(root);
    cairo_surface_flush(canvas);
    return canvas;
}

}  // namespace

std::shared_ptr<const Image> Renderer::render(View& root, double scale) {
    CairoSurface canvas(draw(root, scale));
    const int w = cairo_image_surface_get_width(canvas.s);
    const int h = cairo_image_surface_get_height(canvas.s);
    const int stride = cairo_image_surface_get_stride(canvas.s);
    const unsigned char* data = cairo_image_surface_get_data(canvas.s);
    std::vector<std::uint8_t> rgba(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = row[x];
            const unsigned a = p >> 24;
            auto un = [a](unsigned v) { return a ? static_cast<std::uint8_t>(std::min(255u, (v * 255 + a / 2) / a)) : 0; };
            std::uint8_t* out = &rgba[(static_cast<size_t>(y) * w + x) * 4];
            out[0] = un((p >> 16) & 0xFF);
            out[1] = un((p >> 8) & 0xFF);
            out[2] = un(p & 0xFF);
            out[3] = static_cast<std::uint8_t>(a);
        }
    }
    auto image = Image::fromPixels(w, h, rgba, "<Image rendering " + std::to_string(w) + "x" + std::to_string(h) + ">");
    if (!image) throw RenderError("the rendering cannot be kept as an image");
    return image;
}

std::vector<std::uint8_t> Renderer::renderPng(View& root, double scale) {
    CairoSurface canvas(draw(root, scale));
    std::vector<std::uint8_t> bytes;
    const cairo_status_t status = cairo_surface_write_to_png_stream(
        canvas.s,
        [](void* closure, const unsigned char* data, unsigned int length) {
            auto* out = static_cast<std::vector<std::uint8_t>*>(closure);
            out->insert(out->end(), data, data + length);
            return CAIRO_STATUS_SUCCESS;
        },
        &bytes);
    if (status != CAIRO_STATUS_SUCCESS) throw RenderError(std::string("PNG encoding failed: ") + cairo_status_to_string(status));
    return bytes;
}

void Renderer::writePng(View& root, const std::filesystem::path& path, double scale) {
    CairoSurface canvas(draw(root, scale));
    const cairo_status_t status = cairo_surface_write_to_png(canvas.s, path.c_str());
    if (status != CAIRO_STATUS_SUCCESS) {
        throw RenderError("cannot write " + path.string() + ": " + cairo_status_to_string(status));
    }
}

}  // namespace ui
