// Fuzz target: builds the parameter dictionary of a Brelka_InputDialog call and the dialog
// settings of the store from arbitrary bytes, and parses it into the real dialog controller.
// The bytes are read as a small program, so that short inputs already reach deep forms: texts
// made of item keywords, option lines and menu separators joined by carriage returns, raw
// texts, numbers (whole, fractional, huge, NaN), booleans, decoded images, and gaps where an
// argument could not be converted. After the parse the controller's layout is read back,
// which runs the deferred sizing of every section, and must be finite.
// Built with libFuzzer (-DBRELKA_FUZZ=ON, clang) or, in the normal build, with the standalone
// driver beside it.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialog/InputDialog.h"
#include "parser/InputDialogParamParser.h"
#include "store/Config.h"
#include "store/Plugin.h"
#include "ui/Image.h"
#include "ui/Screen.h"

namespace {

using brelka::Dictionary;
using brelka::ImageRef;
using brelka::Value;

const char* const kTokens[] = {
    "text", "password", "checkbox", "radio", "menu", "list", "textArea", "TEXTAREA", "caption",
    "separator", "image", "link", "Link", " text", "comment", "Name", "", "-", "-", "a", "b",
    "focus=1", "focus=0", "FOCUS=1", "lines=2", "lines=6", "lines=0", "lines=-2", "lines=+6",
    "lines=9223372036854775807", "lines=99999999999999999999", "minlines=3",
    "minlines=9223372036854775807", "lines= 6", "validation=none", "validation=CREDIT_CARD",
    "validation=ssn", "validation=Sin", "validation=czech_id", "validation=regexp",
    "validation=filemaker", "Validation=none", "validation=bogus", "^[a-z]+$", "1 + 1 = 2", "=",
    "a=b=c", "key=value", "https://example.com/a?b=c#d", "mailto:x@y.z", "http://[::1]:80/",
    "has space", "%zz", "yes", "true", "True", "no", "0", "1", "YES", "OK", "Cancel", "Red",
    "Green", "2", "\xc3\xa9", "\xe2\x84\xaa", "\xff", "\xf0\x9f\x98\x80",
};

const double kNumbers[] = {
    0, 1, 2, 3, -1, 2.5, 2.9, -0.0, 7, 1e20, -1e20, 9.2233720368547758e18, 1e308,
    std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN(),
    0.5, 100000,
};

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool done() const { return at_ >= size_; }
    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::string bytes(std::size_t n) {
        n = std::min(n, size_ - std::min(at_, size_));
        std::string out(reinterpret_cast<const char*>(data_ + at_), n);
        at_ += n;
        return out;
    }
    double rawDouble() {
        std::string raw = bytes(sizeof(double));
        raw.resize(sizeof(double), '\0');
        double value;
        std::memcpy(&value, raw.data(), sizeof value);
        return value;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

const std::vector<ImageRef>& images() {
    static const std::vector<ImageRef> all = [] {
        std::vector<ImageRef> made;
        for (auto [w, h] : {std::pair{1, 1}, std::pair{40, 30}, std::pair{600, 20}}) {
            std::vector<std::uint8_t> rgba(static_cast<std::size_t>(w) * h * 4, 0x80);
            made.push_back(ui::Image::fromPixels(w, h, rgba));
        }
        return made;
    }();
    return all;
}

std::string tokenText(Reader& in) {
    std::string text;
    const int count = 1 + in.byte() % 6;
    for (int k = 0; k < count; ++k) {
        if (k > 0) text += '\r';
        text += kTokens[in.byte() % std::size(kTokens)];
    }
    return text;
}

Value number(Reader& in) {
    const std::uint8_t pick = in.byte();
    if (pick == 255) return in.rawDouble();
    return kNumbers[pick % std::size(kNumbers)];
}

void applySettings(Reader& in) {
    const std::uint8_t flags = in.byte();
    using brelka::CFG;
    using brelka::Plugin;
    switch (flags % 6) {
    case 0: Plugin::setValue(CFG::dialog_blur, std::nullopt); break;
    case 1: Plugin::setValue(CFG::dialog_blur, Value(true)); break;
    case 2: Plugin::setValue(CFG::dialog_blur, Value(2.0)); break;
    case 3: Plugin::setValue(CFG::dialog_blur, Value(std::string("no"))); break;
    case 4: Plugin::setValue(CFG::dialog_blur, Value(std::string("No"))); break;
    default: Plugin::setValue(CFG::dialog_blur, Value(images()[0])); break;
    }
    Plugin::setValue(CFG::dialog_icon, (flags & 8) ? std::optional<Value>(images()[1]) : std::nullopt);
    if (flags & 16) {
        Plugin::setValue(CFG::dialog_title, Value(std::string((flags & 32) ? "" : "Title")));
    } else {
        Plugin::setValue(CFG::dialog_title, (flags & 32) ? std::optional<Value>(Value(3.0)) : std::nullopt);
    }
}

Dictionary parameters(Reader& in) {
    Dictionary dictionary;
    std::uint64_t index = 0;
    while (!in.done() && dictionary.size() < 4096) {
        const std::uint8_t op = in.byte();
        std::optional<Value> value;
        switch (op % 9) {
        case 0: value = tokenText(in); break;
        case 1: value = Value(std::string(kTokens[in.byte() % std::size(kTokens)])); break;
        case 2: value = in.bytes(in.byte() % 48); break;
        case 3: value = number(in); break;
        case 4: value = Value(static_cast<bool>(in.byte() & 1)); break;
        case 5: value = Value(images()[in.byte() % images().size()]); break;
        case 6: index += 1 + in.byte() % 3; continue;  // arguments that left no key
        case 7: index += 1000u * (1 + in.byte()); continue;
        default: value = tokenText(in); break;
        }
        dictionary.emplace("param_" + std::to_string(index), std::move(*value));
        ++index;
    }
    return dictionary;
}

void setUp() {
    static const bool done = [] {
        ui::Screen::main().setProfile(ui::ScreenProfile::ipad());
        return true;
    }();
    (void)done;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    setUp();
    Reader in(data, size);
    applySettings(in);
    const Dictionary dictionary = parameters(in);
    brelka::InputDialog& controller = *brelka::InputDialogParamParser::_custom_view_controller();
    brelka::InputDialogParamParser::prepareComponents(dictionary);
    // Reading the sections back applies the pending layout of every one of them.
    (void)controller._view_components();
    if (!std::isfinite(controller._width()) || !std::isfinite(controller._height()) ||
        !std::isfinite(controller._width_left())) {
        std::abort();
    }
    return 0;
}
