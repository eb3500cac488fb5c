// Shared pieces of the store and frame tests: a fixture that starts every test from the store
// of a freshly loaded plug-in, and small image files made in memory.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "store/Plugin.h"
#include "ui/Screen.h"

namespace brelka {

class PluginTestApi {
public:
    static void reset() { Plugin::resetAll(); }
};

namespace testing {

// The committed icons, found from this file's place in the source tree.
inline std::filesystem::path resourceFolder() {
    return std::filesystem::path(__FILE__).parent_path().parent_path() / "resources";
}

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        PluginTestApi::reset();
        ::setenv("BRELKA_BUNDLE", resourceFolder().c_str(), 1);
        ui::Screen::main().setProfile(ui::ScreenProfile::ipad());
    }
    void TearDown() override {
        PluginTestApi::reset();
        ::unsetenv("BRELKA_BUNDLE");
    }
};

// A PNG of width x height pixels, all of one colour, with uncompressed ("stored") deflate
// blocks: valid for every decoder and needs no compressor.
inline std::vector<unsigned char> pngBytes(std::uint32_t width, std::uint32_t height,
                                           std::uint32_t rgba = 0x336699FF) {
    auto crc32 = [](const unsigned char* p, std::size_t n, std::uint32_t crc = 0) {
        crc = ~crc;
        for (std::size_t i = 0; i < n; ++i) {
            crc ^= p[i];
            for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
        return ~crc;
    };
    std::vector<unsigned char> raw;
    for (std::uint32_t y = 0; y < height; ++y) {
        raw.push_back(0);  // no filter
        for (std::uint32_t x = 0; x < width; ++x) {
            for (int shift : {24, 16, 8, 0}) raw.push_back(static_cast<unsigned char>(rgba >> shift));
        }
    }
    std::vector<unsigned char> zlib = {0x78, 0x01};
    for (std::size_t at = 0; at < raw.size() || at == 0;) {
        std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
        bool last = at + n == raw.size();
        zlib.push_back(last ? 1 : 0);
        zlib.push_back(static_cast<unsigned char>(n));
        zlib.push_back(static_cast<unsigned char>(n >> 8));
        zlib.push_back(static_cast<unsigned char>(~n));
        zlib.push_back(static_cast<unsigned char>(~n >> 8));
        zlib.insert(zlib.end(), raw.begin() + static_cast<long>(at), raw.begin() + static_cast<long>(at + n));
        at += n;
        if (last) break;
    }
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    for (int shift : {24, 16, 8, 0}) zlib.push_back(static_cast<unsigned char>(((b << 16) | a) >> shift));

    std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto chunk = [&](const char* type, const std::vector<unsigned char>& data) {
        for (int shift : {24, 16, 8, 0}) out.push_back(static_cast<unsigned char>(data.size() >> shift));
        std::vector<unsigned char> body(type, type + 4);
        body.insert(body.end(), data.begin(), data.end());
        out.insert(out.end(), body.begin(), body.end());
        std::uint32_t crc = crc32(body.data(), body.size());
        for (int shift : {24, 16, 8, 0}) out.push_back(static_cast<unsigned char>(crc >> shift));
    };
    std::vector<unsigned char> header;
    for (std::uint32_t v : {width, height}) {
        for (int shift : {24, 16, 8, 0}) header.push_back(static_cast<unsigned char>(v >> shift));
    }
    header.insert(header.end(), {8, 6, 0, 0, 0});
    chunk("IHDR", header);
    chunk("IDAT", zlib);
    chunk("IEND", {});
    return out;
}

}  // namespace testing
}  // namespace brelka
