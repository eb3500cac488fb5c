#include "ui/Image.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <new>
#include <vector>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
// Only formats with a signature: a format without one (TGA) would turn random bytes into a
// "picture".
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_GIF
#define STBI_ONLY_BMP
#include <stb_image.h>

namespace ui {

namespace {

const char* formatOf(const unsigned char* b, std::size_t n) {
    if (n >= 8 && std::memcmp(b, "\x89PNG\r\n\x1a\n", 8) == 0) {
        return "PNG";
    }
    if (n >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) {
        return "JPEG";
    }
    if (n >= 6 && (std::memcmp(b, "GIF87a", 6) == 0 || std::memcmp(b, "GIF89a", 6) == 0)) {
        return "GIF";
    }
    if (n >= 2 && b[0] == 'B' && b[1] == 'M') {
        return "BMP";
    }
    return nullptr;
}

std::uint32_t little32(const unsigned char* b) {
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

// The decoder reads past the end of short input as zeros and would turn a cut-off file into a
// partly black picture. These checks catch the cut-offs it cannot notice itself; PNG and GIF
// carry their own checks.
bool looksComplete(const char* format, const unsigned char* b, std::size_t n) {
    if (std::strcmp(format, "BMP") == 0) {
        // Uncompressed rows start at the pixel offset and must all be there.
        if (n < 26) {
            return false;
        }
        auto little16 = [&](std::size_t at) {
            return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8;
        };
        std::uint64_t offset = little32(b + 10);
        std::int32_t width = 0;
        std::int32_t height = 0;
        std::uint32_t bits = 0;
        if (little32(b + 14) == 12) {  // the old OS/2 header: 16-bit fields
            width = static_cast<std::int32_t>(little16(18));
            height = static_cast<std::int32_t>(little16(20));
            bits = little16(24);
        } else {
            if (n < 30) {
                return false;
            }
            width = static_cast<std::int32_t>(little32(b + 18));
            height = static_cast<std::int32_t>(little32(b + 22));
            bits = little16(28);
        }
        if (width <= 0 || height == 0 || bits == 0) {
            return false;
        }
        std::uint64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
        std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
        return offset + rowBytes * rows <= n;
    }
    if (std::strcmp(format, "JPEG") == 0) {
        // The end-of-image marker; after the entropy-coded data an 0xFF 0xD9 pair is nothing else.
        for (std::size_t i = n - 1; i > 2; --i) {
            if (b[i - 1] == 0xFF && b[i] == 0xD9) {
                return true;
            }
        }
        return false;
    }
    return true;
}

bool sizeAllowed(long long width, long long height) {
    return width >= 1 && height >= 1 && width <= Image::kMaxSide && height <= Image::kMaxSide &&
           static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) <=
               Image::kMaxPixels;
}

std::string describe(std::string_view what, int width, int height) {
    return "<Image " + std::string(what) + " " + std::to_string(width) + "x" +
           std::to_string(height) + ">";
}

}  // namespace

Image::Image(int width, int height, std::uint8_t* pixels, bool fromDecoder, std::string description)
    : width_(width),
      height_(height),
      pixels_(pixels),
      fromDecoder_(fromDecoder),
      description_(std::move(description)) {}

Image::~Image() {
    if (fromDecoder_) {
        stbi_image_free(pixels_);
    } else {
        delete[] pixels_;
    }
}

std::span<const std::uint8_t> Image::rgba() const {
    return {pixels_, static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4};
}

std::shared_ptr<const Image> Image::decode(const void* bytes, std::size_t length) {
    return decodeLabelled(bytes, length, {});
}

std::shared_ptr<const Image> Image::decodeLabelled(const void* bytes, std::size_t length,
                                                   std::string_view label) {
    if (bytes == nullptr || length == 0 || length > static_cast<std::size_t>(INT32_MAX)) {
        return nullptr;
    }
    auto data = static_cast<const unsigned char*>(bytes);
    const char* format = formatOf(data, length);
    if (format == nullptr || !looksComplete(format, data, length)) {
        return nullptr;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    int n = static_cast<int>(length);
    // The header alone says how big the image is; refuse absurd sizes before decoding.
    if (!stbi_info_from_memory(data, n, &width, &height, &channels) ||
        !sizeAllowed(width, height)) {
        return nullptr;
    }
    unsigned char* pixels = stbi_load_from_memory(data, n, &width, &height, &channels, 4);
    if (pixels == nullptr) {
        return nullptr;
    }
    if (!sizeAllowed(width, height)) {
        stbi_image_free(pixels);
        return nullptr;
    }
    try {
        return std::shared_ptr<const Image>(new Image(
            width, height, pixels, true, describe(label.empty() ? format : label, width, height)));
    } catch (const std::bad_alloc&) {
        stbi_image_free(pixels);
        return nullptr;
    }
}

std::shared_ptr<const Image> Image::named(std::string_view name,
                                          const std::filesystem::path& folder) {
    if (name.empty() || name.find_first_of(std::string_view("/\0", 2)) != std::string_view::npos) {
        return nullptr;
    }
    try {
        std::ifstream file(folder / (std::string(name) + ".png"), std::ios::binary);
        if (!file) {
            return nullptr;
        }
        std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                std::istreambuf_iterator<char>());
        return decodeLabelled(bytes.data(), bytes.size(), name);
    } catch (const std::exception&) {
        return nullptr;
    }
}

std::shared_ptr<const Image> Image::fromPixels(int width, int height,
                                               std::span<const std::uint8_t> rgba,
                                               std::string description) {
    if (!sizeAllowed(width, height) ||
        rgba.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4) {
        return nullptr;
    }
    try {
        auto pixels = std::make_unique<std::uint8_t[]>(rgba.size());
        std::memcpy(pixels.get(), rgba.data(), rgba.size());
        if (description.empty()) {
            description = describe("bitmap", width, height);
        }
        auto image = std::shared_ptr<const Image>(
            new Image(width, height, pixels.get(), false, std::move(description)));
        pixels.release();
        return image;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace ui
