// The main screen: its size in points, the device idiom, the on-screen keyboard's height and
// the reduce-transparency accessibility setting. The host program chooses a profile once at
// start-up; everything else only reads. One per process.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "ui/Geometry.h"

namespace ui {

enum class UserInterfaceIdiom { phone, pad };

// What a device looks like to the dialog: bounds, idiom and keyboard height.
struct ScreenProfile {
    Size size;
    UserInterfaceIdiom idiom = UserInterfaceIdiom::pad;
    double keyboardHeight = 0;

    static ScreenProfile ipad();
    static ScreenProfile iphone();
    // "ipad", "iphone" or "WIDTHxHEIGHT" (whole points, each 1..100000). A custom size has the
    // tablet idiom when its shorter side is at least 768 points, else the phone idiom, and the
    // keyboard of that idiom. Anything else gives nothing.
    static std::optional<ScreenProfile> parse(std::string_view text);

    friend bool operator==(const ScreenProfile&, const ScreenProfile&) = default;
};

// The process's main screen. Owned by the toolkit; reads and writes are safe from any thread
// (the plug-in reads the size on the host's calculation thread while the main thread draws).
class Screen {
public:
    static Screen& main();

    ScreenProfile profile() const;
    void setProfile(const ScreenProfile& profile);
    // Parses and applies a profile text; answers false (and changes nothing) when it is invalid.
    bool setProfile(std::string_view text);

    // The screen's rectangle in points, origin at the top left.
    Rect bounds() const;
    UserInterfaceIdiom idiom() const;
    double keyboardHeight() const;

    bool reduceTransparency() const;
    void setReduceTransparency(bool on);

    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

private:
    Screen();

    mutable std::mutex mutex_;
    ScreenProfile profile_;
    bool reduceTransparency_ = false;
};

}  // namespace ui
