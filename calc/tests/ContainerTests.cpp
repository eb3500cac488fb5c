// Base64Decode into a container as a real host keeps it: the file name, the file's bytes
// under a type sniffed from them, and for images their size read from the header.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "CalcTestSupport.h"

namespace calc {
namespace {

std::string base64(const std::vector<std::uint8_t>& bytes) {
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t n = bytes[i] << 16;
        if (i + 1 < bytes.size()) n |= bytes[i + 1] << 8;
        if (i + 2 < bytes.size()) n |= bytes[i + 2];
        out += alphabet[(n >> 18) & 63];
        out += alphabet[(n >> 12) & 63];
        out += i + 1 < bytes.size() ? alphabet[(n >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? alphabet[n & 63] : '=';
    }
    return out;
}

std::vector<std::uint8_t> stream(const fmx::BinaryData& data, const char* type) {
    fmx::int32 index = data.GetIndex(fmx::QuadChar(type));
    if (index < 0) return {};
    std::vector<std::uint8_t> bytes(data.GetSize(index));
    if (!bytes.empty()) data.GetData(index, 0, static_cast<fmx::uint32>(bytes.size()), bytes.data());
    return bytes;
}

// A real 1x1 PNG, and the smallest headers of the other formats that state a size.
const std::vector<std::uint8_t> kPng = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
    0x01, 0x2C, 0x00, 0x00, 0x00, 0xC8, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1F, 0x15, 0xC4, 0x89};
const std::vector<std::uint8_t> kGif = {'G', 'I', 'F', '8', '9', 'a', 0x40, 0x01, 0xF0, 0x00, 0x80, 0x00, 0x00};
const std::vector<std::uint8_t> kJpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 0x4A, 0x46, 0xFF, 0xC0, 0x00, 0x11,
                                          0x08, 0x00, 0x78, 0x00, 0xA0, 0x03, 0x01, 0x22, 0x00};
std::vector<std::uint8_t> bmp() {
    std::vector<std::uint8_t> b(54, 0);
    b[0] = 'B';
    b[1] = 'M';
    b[14] = 40;               // BITMAPINFOHEADER
    b[18] = 0x10;             // width 16
    b[22] = 0xF8;             // height -8: rows stored top-down
    b[23] = b[24] = b[25] = 0xFF;
    return b;
}

struct ImageCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* type;
    std::vector<std::uint8_t> size;
};

TEST(Base64Decode, SniffsImagesAndReadsTheirSize) {
    const ImageCase cases[] = {
        {"icon.png", kPng, "PNGf", {0x01, 0x2C, 0x00, 0xC8}},  // 300 x 200
        {"anim.gif", kGif, "GIFf", {0x01, 0x40, 0x00, 0xF0}},  // 320 x 240
        {"photo.jpg", kJpeg, "JPEG", {0x00, 0xA0, 0x00, 0x78}},  // 160 x 120
        {"pic.bmp", bmp(), "BMPf", {0x00, 0x10, 0x00, 0x08}},   // 16 x 8
    };
    Engine engine;
    calc::Run run;
    for (const ImageCase& c : cases) {
        Result r = engine.evaluate("Base64Decode ( \"" + base64(c.bytes) + "\" ; \"" + c.name + "\" )", run);
        ASSERT_EQ(r.errorCode, 0) << r.errorMessage;
        ASSERT_EQ(r.value.GetNativeType(), fmx::kDTBinary) << c.name;
        const fmx::BinaryData& data = r.value.GetBinaryData();
        EXPECT_EQ(stream(data, c.type), c.bytes) << c.name;
        EXPECT_EQ(stream(data, "SIZE"), c.size) << c.name;
        std::vector<std::uint8_t> name = stream(data, "FNAM");
        EXPECT_EQ(std::string(name.begin(), name.end()), c.name);
        EXPECT_EQ(r.value.GetAsText().utf8(), c.name);
    }
}

TEST(Base64Decode, OtherFilesAndCutOffImagesAreFiles) {
    Engine engine;
    calc::Run run;
    std::vector<std::uint8_t> cutPng(kPng.begin(), kPng.begin() + 12);
    for (const auto& bytes : {std::vector<std::uint8_t>{'%', 'P', 'D', 'F'}, cutPng}) {
        Result r = engine.evaluate("Base64Decode ( \"" + base64(bytes) + "\" ; \"x.bin\" )", run);
        ASSERT_EQ(r.errorCode, 0) << r.errorMessage;
        const fmx::BinaryData& data = r.value.GetBinaryData();
        EXPECT_EQ(stream(data, "FILE"), bytes);
        EXPECT_EQ(data.GetIndex(fmx::QuadChar("SIZE")), -1);
    }
}

TEST(Base64Decode, WithoutAFileNameGivesText) {
    Engine engine;
    calc::Run run;
    EXPECT_EQ(testing::evaluate(engine, run, "Base64Decode ( \"SGVsbG8g8J+YgA==\" )").text, "Hello 😀");
    EXPECT_EQ(testing::evaluate(engine, run, "Base64Encode ( \"Hello 😀\" )").text, "SGVsbG8g8J+YgA==");
    // Line breaks inside the encoded text, as mail and PEM files have them, are skipped.
    EXPECT_EQ(testing::evaluate(engine, run, "Base64Decode ( \"SGVs¶bG8=\" )").text, "Hello");
    EXPECT_EQ(testing::evaluate(engine, run, "Base64Decode ( \"SGVsbG8=\" ; \"\" )").code, 1200);
}

TEST(Base64Decode, ContainerRoundTripsThroughBase64Encode) {
    Engine engine;
    calc::Run run;
    std::string encoded = base64(kPng);
    EXPECT_EQ(testing::evaluate(engine, run, "Base64Encode ( Base64Decode ( \"" + encoded + "\" ; \"a.png\" ) )").text,
              encoded);
    EXPECT_EQ(testing::evaluate(engine, run, "IsEmpty ( Base64Decode ( \"" + encoded + "\" ; \"a.png\" ) )").text, "0");
}

}  // namespace
}  // namespace calc
