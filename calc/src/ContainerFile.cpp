#include "ContainerFile.h"

#include <algorithm>

namespace calc {

namespace {

int base64Digit(char16_t c) {
    if (c >= u'A' && c <= u'Z') return c - u'A';
    if (c >= u'a' && c <= u'z') return c - u'a' + 26;
    if (c >= u'0' && c <= u'9') return c - u'0' + 52;
    if (c == u'+' || c == u'-') return 62;
    if (c == u'/' || c == u'_') return 63;
    return -1;
}

std::uint32_t be16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return (static_cast<std::uint32_t>(b[at]) << 8) | b[at + 1];
}
std::uint32_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return (static_cast<std::uint32_t>(b[at + 1]) << 8) | b[at];
}
std::uint32_t be32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return (be16(b, at) << 16) | be16(b, at + 2);
}
std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return (le16(b, at + 2) << 16) | le16(b, at);
}

std::optional<ContainerFile::ImageInfo> jpegSize(const std::vector<std::uint8_t>& b) {
    std::size_t i = 2;
    while (i + 4 <= b.size()) {
        if (b[i] != 0xFF) return std::nullopt;
        std::uint8_t marker = b[i + 1];
        if (marker == 0xFF) {  // fill byte
            ++i;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD9)) {  // markers without a length
            i += 2;
            continue;
        }
        std::uint32_t length = be16(b, i + 2);
        if (length < 2) return std::nullopt;
        bool startOfFrame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (startOfFrame) {
            if (i + 9 > b.size()) return std::nullopt;
            return ContainerFile::ImageInfo{fmx::QuadChar('J', 'P', 'E', 'G'), be16(b, i + 7), be16(b, i + 5)};
        }
        i += 2 + length;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ContainerFile::decodeBase64(std::u16string_view text) {
    std::vector<std::uint8_t> out;
    out.reserve(text.size() / 4 * 3);
    std::uint32_t buffer = 0;
    int bits = 0;
    int padding = 0;
    std::size_t digits = 0;
    for (char16_t c : text) {
        if (c == u' ' || c == u'\r' || c == u'\n' || c == u'\t') continue;
        if (c == u'=') {
            ++padding;
            continue;
        }
        int d = base64Digit(c);
        if (d < 0 || padding > 0) return std::nullopt;
        ++digits;
        buffer = (buffer << 6) | static_cast<std::uint32_t>(d);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<std::uint8_t>((buffer >> bits) & 0xFF));
        }
    }
    if (digits % 4 == 1 || padding > 2) return std::nullopt;
    return out;
}

std::string ContainerFile::encodeBase64(const std::uint8_t* bytes, std::size_t size) {
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((size + 2) / 3 * 4);
    for (std::size_t i = 0; i < size; i += 3) {
        std::uint32_t n = static_cast<std::uint32_t>(bytes[i]) << 16;
        if (i + 1 < size) n |= static_cast<std::uint32_t>(bytes[i + 1]) << 8;
        if (i + 2 < size) n |= bytes[i + 2];
        out += alphabet[(n >> 18) & 63];
        out += alphabet[(n >> 12) & 63];
        out += i + 1 < size ? alphabet[(n >> 6) & 63] : '=';
        out += i + 2 < size ? alphabet[n & 63] : '=';
    }
    return out;
}

std::optional<ContainerFile::ImageInfo> ContainerFile::sniffImage(const std::vector<std::uint8_t>& b) {
    static const std::uint8_t png[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (b.size() >= 24 && std::equal(std::begin(png), std::end(png), b.begin()) && b[12] == 'I' &&
        b[13] == 'H' && b[14] == 'D' && b[15] == 'R')
        return ImageInfo{fmx::QuadChar('P', 'N', 'G', 'f'), be32(b, 16), be32(b, 20)};
    if (b.size() >= 10 && b[0] == 'G' && b[1] == 'I' && b[2] == 'F' && b[3] == '8' &&
        (b[4] == '7' || b[4] == '9') && b[5] == 'a')
        return ImageInfo{fmx::QuadChar('G', 'I', 'F', 'f'), le16(b, 6), le16(b, 8)};
    if (b.size() >= 26 && b[0] == 'B' && b[1] == 'M') {
        std::uint32_t header = le32(b, 14);
        if (header == 12) return ImageInfo{fmx::QuadChar('B', 'M', 'P', 'f'), le16(b, 18), le16(b, 20)};
        if (header >= 40) {
            auto width = static_cast<std::int32_t>(le32(b, 18));
            auto height = static_cast<std::int32_t>(le32(b, 22));
            // A negative height marks rows stored top-down.
            auto magnitude = [](std::int32_t v) {
                return v < 0 ? static_cast<std::uint32_t>(-static_cast<std::int64_t>(v)) : static_cast<std::uint32_t>(v);
            };
            return ImageInfo{fmx::QuadChar('B', 'M', 'P', 'f'), magnitude(width), magnitude(height)};
        }
    }
    if (b.size() >= 4 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return jpegSize(b);
    return std::nullopt;
}

std::shared_ptr<fmx::BinaryData> ContainerFile::make(const std::vector<std::uint8_t>& bytes,
                                                     const std::string& fileNameUtf8) {
    auto data = std::make_shared<fmx::BinaryData>();
    data->Add(fmx::QuadChar('F', 'N', 'A', 'M'), static_cast<fmx::uint32>(fileNameUtf8.size()),
              fileNameUtf8.data());
    std::optional<ImageInfo> image = sniffImage(bytes);
    fmx::QuadChar type = image ? image->type : fmx::QuadChar('F', 'I', 'L', 'E');
    data->Add(type, static_cast<fmx::uint32>(bytes.size()), bytes.data());
    if (image) {
        auto clamp = [](std::uint32_t v) { return v > 0xFFFF ? 0xFFFFu : v; };
        std::uint32_t w = clamp(image->width), h = clamp(image->height);
        const std::uint8_t size[4] = {static_cast<std::uint8_t>(w >> 8), static_cast<std::uint8_t>(w),
                                      static_cast<std::uint8_t>(h >> 8), static_cast<std::uint8_t>(h)};
        data->Add(fmx::QuadChar('S', 'I', 'Z', 'E'), 4, size);
    }
    return data;
}

std::vector<std::uint8_t> ContainerFile::fileBytes(const fmx::BinaryData& data) {
    fmx::int32 best = -1;
    fmx::uint32 bestSize = 0;
    for (fmx::int32 i = 0; i < data.GetCount(); ++i) {
        fmx::QuadChar type;
        data.GetType(i, type);
        if (type == fmx::QuadChar('F', 'N', 'A', 'M') || type == fmx::QuadChar('S', 'I', 'Z', 'E')) continue;
        if (best < 0 || data.GetSize(i) > bestSize) {
            best = i;
            bestSize = data.GetSize(i);
        }
    }
    std::vector<std::uint8_t> out(bestSize);
    if (best >= 0 && bestSize > 0 && data.GetData(best, 0, bestSize, out.data()) != 0) out.clear();
    return out;
}

}  // namespace calc
