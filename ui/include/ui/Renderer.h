// Draws a view tree into pixels and PNG files with Cairo: backgrounds, borders, rounded
// corners, shadows, labels, buttons, switches, text inputs with their caret, tables, images
// and blur views, with the same faces and unhinted metrics that TextMeasurer measures with.
// A blur view blurs what was drawn behind it (downsampled, three box-blur passes, scaled back)
// and tints it in its style. Shadows follow the view's rounded rectangle. Stateless; call it
// on the main thread, as it reads the view tree.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <vector>

namespace ui {

class View;
class Image;

// A drawing that cannot be made: a scale out of range, a canvas too large, a file that cannot
// be written.
class RenderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Renderer {
public:
    // Largest canvas, in pixels, and largest side.
    static constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 26;
    static constexpr int kMaxSide = 16384;

    // The tree rooted at `root` drawn at `scale` pixels per point (1, 2 or 3; 1 to 4 accepted)
    // over black, the root at the canvas's top left and the canvas the root's bounds size.
    // Lays out the tree first. Throws RenderError.
    static std::shared_ptr<const Image> render(View& root, double scale = 1);
    // The same drawing as PNG bytes.
    static std::vector<std::uint8_t> renderPng(View& root, double scale = 1);
    // The same drawing written to a PNG file.
    static void writePng(View& root, const std::filesystem::path& path, double scale = 1);
};

}  // namespace ui
