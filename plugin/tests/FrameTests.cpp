// The external functions' frames, called through their function pointers with host argument
// vectors as the host builds them: argument conversion, answers back into the result, the
// inactive functions, and host failures that must never unwind into the host.
#include <gtest/gtest.h>

#include <random>

#include "StoreTestSupport.h"
#include "TestEngine.h"
#include "fmx/fmx.h"
#include "host/Bundle.h"
#include "host/Diagnostics.h"
#include "host/Functions.h"
#include "host/ParameterParser.h"
#include "host/Support_Functions.h"
#include "store/Plugin.h"

namespace brelka {
namespace {

using fmx::testing::arguments;
using fmx::testing::booleanValue;
using fmx::testing::numberValue;
using fmx::testing::textValue;
using testing::pngBytes;
using testing::StoreTest;

using Bytes = std::vector<unsigned char>;

fmx::Data dateValue(fmx::int32 type) {
    fmx::Data d;
    d.SetAsDateTime(type, 738000, fmx::Text::fromUtf8("1.1.2022"));
    return d;
}

// A container with the given streams, each a type and its bytes.
fmx::Data container(std::initializer_list<std::pair<const char*, Bytes>> streams) {
    fmx::BinaryData binary;
    for (const auto& [type, bytes] : streams) {
        binary.Add(fmx::QuadChar(type), static_cast<fmx::uint32>(bytes.size()), bytes.data());
    }
    fmx::Data d;
    d.SetBinaryData(binary, true);
    return d;
}

fmx::Data textUnits(std::u16string units) {
    fmx::Data d;
    d.SetAsText(fmx::Text(std::move(units)), fmx::Locale());
    return d;
}

struct Answer {
    fmx::errcode code;
    fmx::int32 type;
    std::string text;
};

Answer call(fmx::ExtPluginType function, const fmx::DataVect& args) {
    fmx::Data result;
    fmx::errcode code = function(0, fmx::ExprEnv(), args, result);
    return {code, result.GetNativeType(), result.GetAsText().utf8()};
}

std::string storedText(std::string_view key) {
    auto v = Plugin::value(key);
    return v ? valueAsText(*v) : "(absent)";
}

class FrameTest : public StoreTest {};

TEST_F(FrameTest, VersionAnswersByKeyword) {
    struct Case {
        const char* name;
        fmx::DataVect args;
        const char* answer;
    };
    const Case cases[] = {
        {"no argument", arguments({}), "6.0.6"},
        {"short", arguments({textValue("short")}), "6.0.6"},
        {"Long", arguments({textValue("Long")}), "Norvik Brelka Plug-In 6.0.6"},
        {"PLATFORM", arguments({textValue("PLATFORM")}), "iOS"},
        {"autoupdate", arguments({textValue("autoupdate")}), "06000601"},
        {"leading space", arguments({textValue(" long")}), "6.0.6"},
        {"unknown word", arguments({textValue("bogus")}), "6.0.6"},
        {"number", arguments({numberValue(1)}), "6.0.6"},
        {"extra arguments", arguments({textValue("long"), numberValue(3)}),
         "Norvik Brelka Plug-In 6.0.6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Answer a = call(&Brelka_Version, c.args);
        EXPECT_EQ(a.code, 0);
        EXPECT_EQ(a.type, fmx::kDTText);
        EXPECT_EQ(a.text, c.answer);
    }
}

TEST_F(FrameTest, EveryNativeTypeAtEveryPosition) {
    auto png = pngBytes(4, 3);
    fmx::DataVect args = arguments({
        textValue("dialog-title"), numberValue(1.25), dateValue(fmx::kDTDate),
        booleanValue(true), dateValue(fmx::kDTTime), dateValue(fmx::kDTTimeStamp),
        container({{"PNGf", png}}), container({}), textValue(""),
    });
    Dictionary d = ParameterParser::getAllParameters(args);
    EXPECT_EQ(d.at("param_0"), Value(std::string("dialog-title")));
    EXPECT_EQ(d.at("param_1"), Value(1.25));
    EXPECT_EQ(d.at("param_3"), Value(true));
    ASSERT_TRUE(d.contains("param_6"));
    EXPECT_EQ(std::get<ImageRef>(d.at("param_6"))->size(), (ui::Size{4, 3}));
    EXPECT_EQ(d.at("param_8"), Value(std::string()));
    for (const char* missing : {"param_2", "param_4", "param_5", "param_7"}) {
        EXPECT_FALSE(d.contains(missing)) << missing;
    }
    EXPECT_EQ(d.size(), 5u);

    // The same order shifted: every position takes every type.
    for (int shift = 1; shift < 4; ++shift) {
        fmx::DataVect shifted;
        for (int i = 0; i < shift; ++i) shifted.PushBack(dateValue(fmx::kDTDate));
        shifted.PushBack(numberValue(7));
        shifted.PushBack(textValue("x"));
        Dictionary s = ParameterParser::getAllParameters(shifted);
        EXPECT_EQ(s.size(), 2u);
        EXPECT_EQ(s.at("param_" + std::to_string(shift)), Value(7.0));
        EXPECT_EQ(s.at("param_" + std::to_string(shift + 1)), Value(std::string("x")));
    }
}

TEST_F(FrameTest, ContainersGiveTheirLargestImage) {
    auto thumbnail = pngBytes(4, 4);
    auto large = pngBytes(40, 30);
    auto truncated = Bytes(large.begin(), large.begin() + static_cast<long>(large.size() / 2));
    Bytes random(5000);
    std::mt19937 generator(11);
    for (auto& b : random) b = static_cast<unsigned char>(generator());
    Bytes name = {'a', '.', 'p', 'n', 'g'};
    struct Case {
        const char* name;
        fmx::Data value;
        std::optional<ui::Size> size;
    };
    const Case cases[] = {
        {"no stream", container({}), std::nullopt},
        {"zero-byte stream", container({{"PNGf", {}}}), std::nullopt},
        {"truncated", container({{"PNGf", truncated}}), std::nullopt},
        {"random bytes", container({{"JPEG", random}}), std::nullopt},
        {"thumbnail then image", container({{"THMB", thumbnail}, {"PNGf", large}}),
         ui::Size{40, 30}},
        {"image then thumbnail", container({{"PNGf", large}, {"THMB", thumbnail}}),
         ui::Size{40, 30}},
        {"file name beside image", container({{"FNAM", name}, {"PNGf", thumbnail}}),
         ui::Size{4, 4}},
        {"largest is not an image", container({{"PNGf", thumbnail}, {"JPEG", random}}),
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Dictionary d = ParameterParser::getAllParameters(arguments({c.value}));
        if (c.size) {
            ASSERT_TRUE(d.contains("param_0"));
            EXPECT_EQ(std::get<ImageRef>(d.at("param_0"))->size(), *c.size);
        } else {
            EXPECT_FALSE(d.contains("param_0"));
        }
    }
}

TEST_F(FrameTest, AmongEqualStreamsTheFirstWins) {
    auto red = pngBytes(5, 2, 0xFF0000FF);
    auto blue = pngBytes(5, 2, 0x0000FFFF);
    ASSERT_EQ(red.size(), blue.size());
    Dictionary d = ParameterParser::getAllParameters(
        arguments({container({{"PNGf", red}, {"PNGf", blue}})}));
    ASSERT_TRUE(d.contains("param_0"));
    EXPECT_EQ(std::get<ImageRef>(d.at("param_0"))->rgba()[0], 0xFF);
}

TEST_F(FrameTest, TextsArriveAsUtf8) {
    std::string tenMegabytes(10 * 1024 * 1024, 'a');
    tenMegabytes.replace(tenMegabytes.size() - 3, 3, "\xE6\x97\xA5");  // ends in a kanji
    struct Case {
        const char* name;
        fmx::Data value;
        std::string expected;
    };
    const Case cases[] = {
        {"Japanese", textValue("日本語のテキスト、かな・カナ"), "日本語のテキスト、かな・カナ"},
        {"Chinese", textValue("中文文本：简体與繁體"), "中文文本：简体與繁體"},
        {"outside the BMP", textValue("emoji 😀 and 𠀋"), "emoji 😀 and 𠀋"},
        {"unpaired high surrogate", textUnits(u"a\xD800" "b"), "a\xEF\xBF\xBD" "b"},
        {"unpaired low surrogate at end", textUnits(u"ab\xDC00"), "ab\xEF\xBF\xBD"},
        {"embedded NUL ends the text", textUnits(std::u16string(u"ab\0cd", 5)), "ab"},
        {"empty", textValue(""), ""},
        {"10 MB", textValue(tenMegabytes), tenMegabytes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Dictionary d = ParameterParser::getAllParameters(arguments({c.value}));
        ASSERT_TRUE(d.contains("param_0"));
        const auto& got = std::get<std::string>(d.at("param_0"));
        EXPECT_EQ(got.size(), c.expected.size());
        EXPECT_TRUE(got == c.expected);
    }
}

TEST_F(FrameTest, SetThenGetThroughTheFrames) {
    struct Case {
        const char* name;
        fmx::DataVect setArgs;
        const char* setAnswer;
        fmx::DataVect getArgs;
        const char* getAnswer;
    };
    const Case cases[] = {
        {"position", arguments({textValue("dialog-position"), numberValue(100), numberValue(200)}),
         "100\r200", arguments({textValue("dialog-position")}), "100\r200"},
        {"Japanese title", arguments({textValue("dialog-title"), textValue("確認してください")}),
         "確認してください", arguments({textValue("dialog-title")}), "確認してください"},
        {"title removed", arguments({textValue("dialog-title")}), "0",
         arguments({textValue("dialog-title")}), ""},
        {"number argument", arguments({textValue("dialog-width"), numberValue(320.5)}), "320.5",
         arguments({textValue("dialog-width"), numberValue(1)}), "320.5"},
        {"date value is left out", arguments({textValue("dialog-timeout"), dateValue(fmx::kDTDate)}),
         "0", arguments({textValue("dialog-timeout")}), ""},
        {"no arguments", arguments({}), "-50", arguments({}), "-50"},
        {"selector of wrong case", arguments({textValue("Dialog-Title"), textValue("x")}), "-50",
         arguments({textValue("DIALOG-TITLE")}), "-50"},
        {"selector of wrong type", arguments({numberValue(1), textValue("x")}), "-50",
         arguments({booleanValue(true)}), "-50"},
        {"screen", arguments({textValue("screen-width"), numberValue(1)}), "-50",
         arguments({textValue("screen-width")}), "1024.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Answer s = call(&Brelka_Set, c.setArgs);
        EXPECT_EQ(s.code, 0);
        EXPECT_EQ(s.type, fmx::kDTText);
        EXPECT_EQ(s.text, c.setAnswer);
        Answer g = call(&Brelka_Get, c.getArgs);
        EXPECT_EQ(g.code, 0);
        EXPECT_EQ(g.text, c.getAnswer);
    }
}

TEST_F(FrameTest, ImageContainerBecomesTheIcon) {
    auto png = pngBytes(30, 20);
    Answer a = call(&Brelka_Set, arguments({textValue("dialog-icon"), container({{"PNGf", png}})}));
    EXPECT_EQ(a.text, "0");
    auto icon = Plugin::value("dialog-icon");
    ASSERT_TRUE(icon);
    EXPECT_EQ(std::get<ImageRef>(*icon)->size(), (ui::Size{30, 20}));
    // A container without an image is no argument at all: nothing changes.
    EXPECT_EQ(call(&Brelka_Set, arguments({textValue("dialog-icon"), container({})})).text, "0");
    EXPECT_TRUE(Plugin::value("dialog-icon").has_value());
}

TEST_F(FrameTest, InactiveFunctionsAnswerByCompatibilityMode) {
    for (auto function : {&Brelka_ProgressDialog, &Brelka_SetCalculation}) {
        PluginTestApi::reset();
        Answer off = call(function, arguments({textValue("open"), numberValue(1)}));
        EXPECT_EQ(off.code, 0);
        EXPECT_EQ(off.type, fmx::kDTNumber);
        EXPECT_EQ(off.text, "-4");
        EXPECT_EQ(Plugin::value("lastError"), Value(-4.0));
        EXPECT_EQ(storedText("lastErrorMessage"), "Not implemented");

        call(&Brelka_Set, arguments({textValue("compatibility-mode"), textValue("Yes")}));
        EXPECT_EQ(call(function, arguments({})).text, "-4");

        call(&Brelka_Set, arguments({textValue("compatibility-mode"), textValue("yes")}));
        call(&Brelka_Set, arguments({textValue("lastError"), textValue("earlier")}));
        Answer on = call(function, arguments({}));
        EXPECT_EQ(on.type, fmx::kDTNumber);
        EXPECT_EQ(on.text, "0");
        EXPECT_EQ(storedText("lastError"), "earlier");  // untouched
    }
}

TEST_F(FrameTest, RefusedGetLeavesTheLastError) {
    call(&Brelka_SetCalculation, arguments({}));
    EXPECT_EQ(call(&Brelka_Get, arguments({textValue("nonsense")})).text, "-50");
    EXPECT_EQ(call(&Brelka_Set, arguments({textValue("nonsense")})).text, "-50");
    EXPECT_EQ(call(&Brelka_Get, arguments({textValue("lastError")})).text, "-4");
    EXPECT_EQ(call(&Brelka_Get, arguments({textValue("lastErrorMessage")})).text,
              "Not implemented");
}

TEST_F(FrameTest, StoreErrorCodeWritesANumber) {
    fmx::Data result;
    storeErrorCode(-5611, result);
    EXPECT_EQ(result.GetNativeType(), fmx::kDTNumber);
    EXPECT_EQ(result.GetAsNumber().AsLong(), -5611);
}

// A host failure inside a frame is answered with 2400 in the result and the last error; it
// never reaches the host as an exception.
TEST_F(FrameTest, HostFailuresNeverUnwindIntoTheHost) {
    struct Case {
        const char* operation;
        int kind;
    };
    const Case cases[] = {
        {"DataVect::At", 1},     {"DataVect::AtAsText", 2}, {"Text::GetBytes", 1},
        {"Data::SetAsText", 2},  {"Text::Lowercase", 1},    {"Text::Assign", 2},
    };
    const fmx::ExtPluginType functions[] = {&Brelka_Version, &Brelka_Get, &Brelka_Set,
                                             &Brelka_InputDialog};
    for (const Case& c : cases) {
        for (auto function : functions) {
            SCOPED_TRACE(c.operation);
            PluginTestApi::reset();
            fmx::DataVect args = arguments({textValue("long"), textValue("x")});
            fmx::Data result;
            fmx::errcode code = 0;
            {
                fmx::testing::ScopedFailureHook hook([&](const char* operation) {
                    return std::string_view(operation) == c.operation ? c.kind : 0;
                });
                EXPECT_NO_THROW(code = function(0, fmx::ExprEnv(), args, result));
            }
            EXPECT_EQ(code, 0);
            // Not every function reaches every operation; those that did report 2400.
            if (result.GetNativeType() == fmx::kDTNumber) {
                EXPECT_EQ(result.GetAsNumber().AsLong(), 2400);
                EXPECT_EQ(storedText("lastError"), "2400");
                EXPECT_EQ(storedText("lastErrorMessage").rfind("General error, Brelka", 0), 0u);
            }
        }
    }
    // The failing read of the first argument always leads to the report.
    PluginTestApi::reset();
    fmx::Data result;
    fmx::testing::ScopedFailureHook hook(
        [](const char* operation) { return std::string_view(operation) == "DataVect::At"; });
    Brelka_Get(0, fmx::ExprEnv(), arguments({textValue("dialog-title")}), result);
    EXPECT_EQ(result.GetAsNumber().AsLong(), 2400);
    EXPECT_EQ(storedText("lastError"), "2400");
}

TEST_F(FrameTest, DiagnosticLinesReachStandardErrorWhenAsked) {
    Diagnostics::setStderrForTesting(true);
    ::testing::internal::CaptureStderr();
    call(&Brelka_Set, arguments({textValue("dialog-title"), textValue("Hi\r2")}));
    call(&Brelka_Get, arguments({textValue("dialog-value"), numberValue(4)}));
    std::string lines = ::testing::internal::GetCapturedStderr();
    Diagnostics::setStderrForTesting(false);
    EXPECT_NE(lines.find("Brelka: {param_0: \"dialog-title\", param_1: \"Hi\\r2\"}\n"),
              std::string::npos)
        << lines;
    EXPECT_NE(lines.find("Brelka: Set Hi\\r2 for dialog-title\n"), std::string::npos) << lines;
    EXPECT_NE(lines.find("Brelka: value_4\n"), std::string::npos) << lines;
}

// Without an override the bundle sits beside the object the plug-in's code is in: here the
// test executable, in a host the loaded module.
TEST(BundleTest, FolderIsBesideTheLoadedCode) {
    const char* saved = std::getenv("BRELKA_BUNDLE");
    std::string keep = saved ? saved : "";
    ::unsetenv("BRELKA_BUNDLE");
    auto self = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(Bundle::folder(), self.parent_path() / "Brelka.bundle");
    ::setenv("BRELKA_BUNDLE", "/some/where", 1);
    EXPECT_EQ(Bundle::folder(), std::filesystem::path("/some/where"));
    if (saved) {
        ::setenv("BRELKA_BUNDLE", keep.c_str(), 1);
    } else {
        ::unsetenv("BRELKA_BUNDLE");
    }
}

}  // namespace
}  // namespace brelka
