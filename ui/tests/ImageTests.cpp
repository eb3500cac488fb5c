// Screen profiles and image decoding: what the host can choose, and what bytes become images.
#include <cairo.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>
#include <vector>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "ui/Image.h"
#include "ui/Screen.h"

namespace {

using ui::Image;
using ui::Screen;
using ui::ScreenProfile;
using ui::UserInterfaceIdiom;

TEST(ScreenProfileTest, ParsesNamedAndCustomProfiles) {
    struct Case {
        const char* text;
        double width, height;
        UserInterfaceIdiom idiom;
        double keyboard;
    };
    const Case cases[] = {
        {"ipad", 1024, 768, UserInterfaceIdiom::pad, 398},
        {"iphone", 390, 844, UserInterfaceIdiom::phone, 336},
        {"1366x1024", 1366, 1024, UserInterfaceIdiom::pad, 398},
        {"768x1024", 768, 1024, UserInterfaceIdiom::pad, 398},   // shorter side exactly 768
        {"1024x767", 1024, 767, UserInterfaceIdiom::phone, 336},  // one point short of it
        {"320x480", 320, 480, UserInterfaceIdiom::phone, 336},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto profile = ScreenProfile::parse(c.text);
        ASSERT_TRUE(profile.has_value());
        EXPECT_EQ(profile->size, (ui::Size{c.width, c.height}));
        EXPECT_EQ(profile->idiom, c.idiom);
        EXPECT_EQ(profile->keyboardHeight, c.keyboard);
    }
}

TEST(ScreenProfileTest, RefusesMalformedProfiles) {
    for (const char* text : {"", "IPAD", "ipad ", "x", "100x", "x100", "0x100", "-5x100",
                             "100x100x100", "1e3x100", "100X100", "99999999999999999999x1",
                             "100001x100", " 100x100", "+100x100"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ScreenProfile::parse(text).has_value());
    }
}

TEST(ScreenTest, InvalidProfileLeavesScreenUnchanged) {
    Screen& screen = Screen::main();
    ASSERT_TRUE(screen.setProfile("iphone"));
    EXPECT_FALSE(screen.setProfile("bogus"));
    EXPECT_EQ(screen.bounds(), ui::Rect(0, 0, 390, 844));
    EXPECT_EQ(screen.idiom(), UserInterfaceIdiom::phone);
    EXPECT_EQ(screen.keyboardHeight(), 336);
    screen.setProfile(ScreenProfile::ipad());
    EXPECT_EQ(screen.bounds(), ui::Rect(0, 0, 1024, 768));
    EXPECT_FALSE(screen.reduceTransparency());
}

// Reads on one thread while another switches profiles never see a torn profile.
TEST(ScreenTest, ReadsDuringChangesSeeWholeProfiles) {
    Screen& screen = Screen::main();
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (int i = 0; i < 20000; ++i) {
            screen.setProfile(i % 2 ? ScreenProfile::ipad() : ScreenProfile::iphone());
        }
        stop = true;
    });
    int torn = 0;
    while (!stop) {
        ScreenProfile p = screen.profile();
        bool pad = p == ScreenProfile::ipad();
        bool phone = p == ScreenProfile::iphone();
        torn += !(pad || phone);
    }
    writer.join();
    EXPECT_EQ(torn, 0);
    screen.setProfile(ScreenProfile::ipad());
}

// PNG bytes of a width x height image, every pixel `rgba`, written by Cairo.
std::vector<unsigned char> pngBytes(int width, int height, uint32_t argb) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface));
    int stride = cairo_image_surface_get_stride(surface) / 4;
    cairo_surface_flush(surface);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            data[y * stride + x] = argb;
        }
    }
    cairo_surface_mark_dirty(surface);
    std::vector<unsigned char> out;
    cairo_surface_write_to_png_stream(
        surface,
        [](void* closure, const unsigned char* bytes, unsigned int length) {
            auto* v = static_cast<std::vector<unsigned char>*>(closure);
            v->insert(v->end(), bytes, bytes + length);
            return CAIRO_STATUS_SUCCESS;
        },
        &out);
    cairo_surface_destroy(surface);
    return out;
}

// A 1-bit BMP: small on disk however large the picture, so huge sizes are cheap to make.
std::vector<unsigned char> monochromeBmp(int32_t width, int32_t height, bool writePixels = true) {
    uint32_t rowBytes = ((static_cast<uint32_t>(width) + 31) / 32) * 4;
    uint32_t pixelBytes = writePixels ? rowBytes * static_cast<uint32_t>(height) : 0;
    uint32_t offset = 14 + 40 + 8;
    std::vector<unsigned char> b(offset + pixelBytes, 0);
    auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&b[at], &v, 2); };
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, offset + pixelBytes);
    put32(10, offset);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    put16(26, 1);
    put16(28, 1);  // bits per pixel
    put32(34, pixelBytes);
    put32(46, 2);  // palette entries
    // Palette: 0 black, 1 white (blue, green, red, reserved).
    b[58] = b[59] = b[60] = 255;
    if (writePixels) {
        std::fill(b.begin() + offset, b.end(), 0xFF);  // all white
    }
    return b;
}

// The same in the old OS/2 layout: a 12-byte header with 16-bit fields, 3-byte palette.
std::vector<unsigned char> os2MonochromeBmp(uint16_t width, uint16_t height) {
    uint32_t rowBytes = ((width + 31u) / 32u) * 4u;
    uint32_t offset = 14 + 12 + 6;
    std::vector<unsigned char> b(offset + rowBytes * height, 0xFF);
    auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&b[at], &v, 2); };
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<uint32_t>(b.size()));
    put16(6, 0);
    put16(8, 0);
    put32(10, offset);
    put32(14, 12);
    put16(18, width);
    put16(20, height);
    put16(22, 1);
    put16(24, 1);
    b[26] = b[27] = b[28] = 0;  // black, then white
    return b;
}

TEST(ImageTest, DecodesPngWithSizeAndPixels) {
    auto bytes = pngBytes(3, 2, 0xFF336699);  // opaque
    auto image = Image::decode(bytes.data(), bytes.size());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), (ui::Size{3, 2}));
    EXPECT_EQ(image->scale(), 1);
    ASSERT_EQ(image->rgba().size(), 3u * 2 * 4);
    EXPECT_EQ(image->rgba()[0], 0x33);
    EXPECT_EQ(image->rgba()[1], 0x66);
    EXPECT_EQ(image->rgba()[2], 0x99);
    EXPECT_EQ(image->rgba()[3], 0xFF);
    EXPECT_EQ(image->description(), "<Image PNG 3x2>");
}

std::vector<unsigned char> jpegBytes(int width, int height) {
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<unsigned char>(i * 37);
    }
    std::vector<unsigned char> out;
    stbi_write_jpg_to_func(
        [](void* closure, void* data, int size) {
            auto* v = static_cast<std::vector<unsigned char>*>(closure);
            auto* bytes = static_cast<unsigned char*>(data);
            v->insert(v->end(), bytes, bytes + size);
        },
        &out, width, height, 3, pixels.data(), 90);
    return out;
}

std::vector<unsigned char> firstBytes(const std::vector<unsigned char>& bytes, size_t count) {
    return std::vector<unsigned char>(bytes.begin(), bytes.begin() + static_cast<long>(count));
}

TEST(ImageTest, DecodesEachFormat) {
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        double width, height;
    };
    const Case cases[] = {
        {"PNG", pngBytes(7, 5, 0xFF102030), 7, 5},
        {"JPEG", jpegBytes(9, 4), 9, 4},
        {"BMP", monochromeBmp(33, 3), 33, 3},
        {"BMP", os2MonochromeBmp(12, 7), 12, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto image = Image::decode(c.bytes.data(), c.bytes.size());
        ASSERT_TRUE(image);
        EXPECT_EQ(image->size(), (ui::Size{c.width, c.height}));
        EXPECT_EQ(image->description(), std::string("<Image ") + c.name + " " +
                                            std::to_string(int(c.width)) + "x" +
                                            std::to_string(int(c.height)) + ">");
    }
}

TEST(ImageTest, DecodesTheLargestSupportedPictures) {
    auto bytes = monochromeBmp(8000, 8000);
    auto image = Image::decode(bytes.data(), bytes.size());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), (ui::Size{8000, 8000}));
    EXPECT_EQ(image->rgba().back(), 255);
}

TEST(ImageTest, RefusesWhatIsNotAnImage) {
    auto png = pngBytes(16, 16, 0xFF000000);
    auto jpeg = jpegBytes(16, 16);
    auto bmp = monochromeBmp(64, 64);
    std::vector<unsigned char> random(4096);
    std::mt19937 generator(7);
    for (auto& byte : random) {
        byte = static_cast<unsigned char>(generator());
    }
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"random", random},
        {"signature only", std::vector<unsigned char>(png.begin(), png.begin() + 8)},
        {"truncated png", firstBytes(png, png.size() / 2)},
        {"truncated jpeg", firstBytes(jpeg, jpeg.size() - 2)},
        {"truncated bmp", firstBytes(bmp, bmp.size() - 1)},
        {"text", {'h', 'e', 'l', 'l', 'o'}},
        // Headers that claim sizes no picture has; refused before any pixel memory is taken.
        {"bmp 100000 x 100000", monochromeBmp(100000, 100000, false)},
        {"bmp 30000 x 30000", monochromeBmp(30000, 30000, false)},
        {"bmp 0 x 10", monochromeBmp(0, 10, false)},
        {"bmp 10 x 10 without pixels", monochromeBmp(10, 10, false)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Image::decode(c.bytes.data(), c.bytes.size()), nullptr);
    }
    EXPECT_EQ(Image::decode(nullptr, 100), nullptr);
}

TEST(ImageTest, NamedImagesComeFromTheFolder) {
    auto folder = std::filesystem::temp_directory_path() / "ui_image_named_test";
    std::filesystem::create_directories(folder);
    auto bytes = pngBytes(5, 4, 0xFFFFFFFF);
    {
        std::ofstream(folder / "dot.png", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
        std::ofstream(folder / "broken.png") << "not a png";
    }
    auto dot = Image::named("dot", folder);
    ASSERT_TRUE(dot);
    EXPECT_EQ(dot->size(), (ui::Size{5, 4}));
    EXPECT_EQ(dot->description(), "<Image dot 5x4>");
    EXPECT_EQ(Image::named("missing", folder), nullptr);
    EXPECT_EQ(Image::named("broken", folder), nullptr);
    EXPECT_EQ(Image::named("", folder), nullptr);
    EXPECT_EQ(Image::named("../ui_image_named_test/dot", folder), nullptr);
    EXPECT_EQ(Image::named("dot", folder / "nowhere"), nullptr);
    std::filesystem::remove_all(folder);
}

TEST(ImageTest, FromPixelsChecksTheByteCount) {
    std::vector<uint8_t> pixels(2 * 2 * 4, 9);
    auto image = Image::fromPixels(2, 2, pixels);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->rgba()[15], 9);
    EXPECT_EQ(Image::fromPixels(2, 3, pixels), nullptr);
    EXPECT_EQ(Image::fromPixels(0, 0, {}), nullptr);
}

}  // namespace
