// A decoded bitmap image (PNG, JPEG, GIF or BMP) with its pixels kept for drawing. Images are
// immutable once made and shared as std::shared_ptr<const Image>, so any thread may hold and
// read one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "ui/Geometry.h"

namespace ui {

class Image {
public:
    // Largest image accepted, in pixels (about 16384 x 8192); bigger ones are refused before
    // any pixel memory is taken.
    static constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 27;
    static constexpr int kMaxSide = 1 << 15;

    // Decodes PNG, JPEG, GIF (first frame) or BMP bytes. Anything else, damaged bytes, and
    // images larger than the limits above give nullptr.
    static std::shared_ptr<const Image> decode(const void* bytes, std::size_t length);
    // Loads "<name>.png" from `folder`; nullptr when the file is missing or undecodable.
    static std::shared_ptr<const Image> named(std::string_view name,
                                              const std::filesystem::path& folder);
    // An image from straight (not premultiplied) RGBA pixels, four bytes each, row by row.
    // nullptr when the byte count does not match the size or the size is out of range.
    static std::shared_ptr<const Image> fromPixels(int width, int height,
                                                   std::span<const std::uint8_t> rgba,
                                                   std::string description = {});

    // Size in points; images are at scale 1, so one pixel is one point.
    Size size() const { return Size{static_cast<double>(width_), static_cast<double>(height_)}; }
    int pixelWidth() const { return width_; }
    int pixelHeight() const { return height_; }
    double scale() const { return 1; }
    // Straight RGBA, 4 * pixelWidth() bytes per row, top row first.
    std::span<const std::uint8_t> rgba() const;
    // A short readable text such as "<Image PNG 32x32>" or "<Image note_icon 32x32>".
    const std::string& description() const { return description_; }

    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

private:
    static std::shared_ptr<const Image> decodeLabelled(const void* bytes, std::size_t length,
                                                       std::string_view label);
    Image(int width, int height, std::uint8_t* pixels, bool fromDecoder, std::string description);

    int width_;
    int height_;
    std::uint8_t* pixels_;
    bool fromDecoder_;  // whether pixels_ came from the decoder (freed by it) or from new[]
    std::string description_;
};

}  // namespace ui
