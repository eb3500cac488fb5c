// Points, sizes, rectangles and colours of the toolkit. All in floating-point points.
#pragma once

#include <algorithm>

namespace ui {

struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    double width = 0;
    double height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    Point origin;
    Size size;

    Rect() = default;
    Rect(double x, double y, double w, double h) : origin{x, y}, size{w, h} {}
    Rect(Point o, Size s) : origin(o), size(s) {}

    double x() const { return origin.x; }
    double y() const { return origin.y; }
    double width() const { return size.width; }
    double height() const { return size.height; }
    double minX() const { return std::min(origin.x, origin.x + size.width); }
    double minY() const { return std::min(origin.y, origin.y + size.height); }
    double maxX() const { return std::max(origin.x, origin.x + size.width); }
    double maxY() const { return std::max(origin.y, origin.y + size.height); }
    double midX() const { return origin.x + size.width / 2; }
    double midY() const { return origin.y + size.height / 2; }
    bool contains(Point p) const { return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY(); }
    bool intersects(const Rect& r) const {
        return minX() < r.maxX() && r.minX() < maxX() && minY() < r.maxY() && r.minY() < maxY();
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Channels from 0 to 1.
struct Color {
    double r = 0, g = 0, b = 0, a = 0;

    static constexpr Color rgb255(int r, int g, int b, int a = 255) {
        return Color{r / 255.0, g / 255.0, b / 255.0, a / 255.0};
    }
    static constexpr Color clear() { return Color{0, 0, 0, 0}; }
    static constexpr Color black() { return Color{0, 0, 0, 1}; }
    static constexpr Color white() { return Color{1, 1, 1, 1}; }
    friend bool operator==(const Color&, const Color&) = default;
};

}  // namespace ui
