#include "ui/Screen.h"

#include <algorithm>
#include <charconv>

namespace ui {

namespace {

constexpr double kTabletKeyboardHeight = 398;
constexpr double kPhoneKeyboardHeight = 336;
constexpr double kTabletShorterSide = 768;
constexpr long kLargestSide = 100000;

// A whole number of points without sign, spaces or leading "+"; nothing else.
std::optional<long> parseSide(std::string_view text) {
    long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    if (value < 1 || value > kLargestSide) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

ScreenProfile ScreenProfile::ipad() {
    return {Size{1024, 768}, UserInterfaceIdiom::pad, kTabletKeyboardHeight};
}

ScreenProfile ScreenProfile::iphone() {
    return {Size{390, 844}, UserInterfaceIdiom::phone, kPhoneKeyboardHeight};
}

std::optional<ScreenProfile> ScreenProfile::parse(std::string_view text) {
    if (text == "ipad") {
        return ipad();
    }
    if (text == "iphone") {
        return iphone();
    }
    auto cross = text.find('x');
    if (cross == std::string_view::npos) {
        return std::nullopt;
    }
    auto width = parseSide(text.substr(0, cross));
    auto height = parseSide(text.substr(cross + 1));
    if (!width || !height) {
        return std::nullopt;
    }
    double shorter = static_cast<double>(std::min(*width, *height));
    bool tablet = shorter >= kTabletShorterSide;
    return ScreenProfile{Size{static_cast<double>(*width), static_cast<double>(*height)},
                         tablet ? UserInterfaceIdiom::pad : UserInterfaceIdiom::phone,
                         tablet ? kTabletKeyboardHeight : kPhoneKeyboardHeight};
}

Screen::Screen() : profile_(ScreenProfile::ipad()) {}

Screen& Screen::main() {
    static Screen screen;
    return screen;
}

ScreenProfile Screen::profile() const {
    std::lock_guard lock(mutex_);
    return profile_;
}

void Screen::setProfile(const ScreenProfile& profile) {
    std::lock_guard lock(mutex_);
    profile_ = profile;
}

bool Screen::setProfile(std::string_view text) {
    auto parsed = ScreenProfile::parse(text);
    if (!parsed) {
        return false;
    }
    setProfile(*parsed);
    return true;
}

Rect Screen::bounds() const {
    std::lock_guard lock(mutex_);
    return Rect(Point{0, 0}, profile_.size);
}

UserInterfaceIdiom Screen::idiom() const {
    std::lock_guard lock(mutex_);
    return profile_.idiom;
}

double Screen::keyboardHeight() const {
    std::lock_guard lock(mutex_);
    return profile_.keyboardHeight;
}

bool Screen::reduceTransparency() const {
    std::lock_guard lock(mutex_);
    return reduceTransparency_;
}

void Screen::setReduceTransparency(bool on) {
    std::lock_guard lock(mutex_);
    reduceTransparency_ = on;
}

}  // namespace ui
