// Base64 and the container a decoded file becomes: a "FNAM" stream with the file name, the
// file's bytes under a type sniffed from them ("PNGf", "JPEG", "GIFf", "BMPf", or "FILE"),
// and for an image a "SIZE" stream with its width and height as two big-endian 16-bit numbers,
// read from the image's header. Stateless; safe from any thread.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fmx/fmx.h"

namespace calc {

class ContainerFile {
public:
    struct ImageInfo {
        fmx::QuadChar type;
        std::uint32_t width = 0;
        std::uint32_t height = 0;
    };

    // Line breaks and spaces are skipped; no value for any other character outside the
    // alphabet or for a wrong length.
    static std::optional<std::vector<std::uint8_t>> decodeBase64(std::u16string_view text);
    static std::string encodeBase64(const std::uint8_t* bytes, std::size_t size);

    // The image type and size when the bytes start like a PNG, JPEG, GIF or BMP file whose
    // header gives a size.
    static std::optional<ImageInfo> sniffImage(const std::vector<std::uint8_t>& bytes);

    static std::shared_ptr<fmx::BinaryData> make(const std::vector<std::uint8_t>& bytes,
                                                 const std::string& fileNameUtf8);
    // The file's bytes: the largest stream that is not the name or the size.
    static std::vector<std::uint8_t> fileBytes(const fmx::BinaryData& data);
};

}  // namespace calc
