// The settings store: its defaults, its memory of earlier dialogs, the Get and Set selectors,
// the text form of stored values, and safe use from several threads.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <thread>

#include "StoreTestSupport.h"
#include "store/Config.h"
#include "store/Plugin.h"
#include "store/Saturating.h"
#include "store/Value.h"

namespace brelka {
namespace {

using testing::StoreTest;

Value text(const char* s) { return Value(std::string(s)); }

// A parameter dictionary as the frames build it; nullopt leaves a position out.
Dictionary params(std::initializer_list<std::optional<Value>> values) {
    Dictionary d;
    int i = 0;
    for (const auto& v : values) {
        if (v) d.emplace("param_" + std::to_string(i), *v);
        ++i;
    }
    return d;
}

std::string get(std::initializer_list<std::optional<Value>> values) {
    return Plugin::get(params(values));
}
std::string set(std::initializer_list<std::optional<Value>> values) {
    return Plugin::set(params(values));
}

// ---- text forms and integer conversions ----

TEST(ValueTextTest, NumbersReadAsScriptsExpect) {
    struct Case {
        double number;
        const char* plain;
        const char* withFraction;
    };
    const Case cases[] = {
        {300, "300", "300.0"},
        {1.5, "1.5", "1.5"},
        {0.1, "0.1", "0.1"},
        {-2, "-2", "-2.0"},
        {-0.0, "0", "0.0"},
        {1024, "1024", "1024.0"},
        {1e21, "1000000000000000000000", "1000000000000000000000.0"},
        {1e-7, "0.0000001", "0.0000001"},
        {std::nan(""), "?", "?"},
        {std::numeric_limits<double>::infinity(), "?", "?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plain);
        EXPECT_EQ(numberAsText(c.number), c.plain);
        EXPECT_EQ(numberWithFraction(c.number), c.withFraction);
    }
    EXPECT_EQ(valueAsText(true), "1");
    EXPECT_EQ(valueAsText(false), "0");
    EXPECT_EQ(valueAsText(text("abc")), "abc");
    EXPECT_EQ(valueAsText(ImageRef()), "");
}

TEST(ValueTextTest, DiagnosticDumpQuotesAndShortensTexts) {
    Dictionary d = params({text("a\"b\r"), 2.0, true, Value(std::string(1000, 'x'))});
    std::string dump = describeDictionary(d);
    EXPECT_EQ(dump.substr(0, 45), "{param_0: \"a\\\"b\\r\", param_1: 2, param_2: true");
    EXPECT_NE(dump.find("... (1000 bytes)"), std::string::npos);
    EXPECT_LT(dump.size(), 400u);
    // Never cut inside a character: 200 three-byte characters, cut near 256 bytes.
    std::string japanese;
    for (int i = 0; i < 200; ++i) japanese += "\xE3\x81\x82";
    std::string cut = describeDictionary(params({Value(japanese)}));
    std::string shown = cut.substr(cut.find('"') + 1, cut.rfind('"') - cut.find('"') - 1);
    EXPECT_EQ(shown.size() % 3, 0u);
}

TEST(SaturatingTest, ConvertsWithoutWrapping) {
    const double two32 = 4294967296.0;
    struct Case {
        double in;
        std::int64_t out64;
        std::int32_t out32;
    };
    const Case cases[] = {
        {std::nan(""), 0, 0},
        {0.5, 0, 0},
        {-0.5, 0, 0},
        {2.9, 2, 2},
        {-2.9, -2, -2},
        {two32, 4294967296LL, INT32_MAX},
        {-two32, -4294967296LL, INT32_MIN},
        {1e300, INT64_MAX, INT32_MAX},
        {-1e300, INT64_MIN, INT32_MIN},
        {9223372036854775808.0, INT64_MAX, INT32_MAX},
        {-9223372036854775808.0, INT64_MIN, INT32_MIN},
        {std::numeric_limits<double>::infinity(), INT64_MAX, INT32_MAX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(saturatingInt64(c.in), c.out64);
        EXPECT_EQ(saturatingInt32(c.in), c.out32);
    }
}

TEST(ErrorsTest, RawValuesRoundTripOnlyExactly) {
    EXPECT_EQ(rawValue(Errors::kNoError), "0");
    EXPECT_EQ(rawValue(Errors::kNotImplemented), "-4");
    EXPECT_EQ(rawValue(Errors::kWrongParameters), "-50");
    EXPECT_EQ(rawValue(Errors::kUnknownError), "2400");
    EXPECT_EQ(errorsFromRawValue("-50"), Errors::kWrongParameters);
    for (const char* raw : {"", "50", "-50 ", "-5611", "-1", "00"}) {
        EXPECT_FALSE(errorsFromRawValue(raw).has_value()) << raw;
    }
}

// ---- keys, defaults and memory ----

TEST_F(StoreTest, KeyTablesAreExactAndCaseSensitive) {
    struct Case {
        const char* key;
        bool settable, gettable;
    };
    const Case cases[] = {
        {"dialog-title", true, true},       {"blur", true, true},
        {"dialog-min_width", true, true},   {"dialog-min-width", false, false},
        {"dialog-icon", true, false},       {"default-button", true, false},
        {"cancel-button", true, false},     {"progress-title", true, false},
        {"progress-position", true, true},  {"lastError", true, true},
        {"lasterror", false, false},        {"dialog-button", false, true},
        {"dialog-value", false, true},      {"dialog-all-text", false, true},
        {"last-dialog-position", false, true}, {"screen-width", false, true},
        {"device-family", false, true},     {"clear", true, false},
        {"reset", true, false},             {"Dialog-Title", false, false},
        {"dialog-title ", false, false},    {"", false, false},
        {"value_1", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(Plugin::isKeyFromSettable(c.key), c.settable);
        EXPECT_EQ(Plugin::isKeyFromGettable(c.key), c.gettable);
    }
}

TEST_F(StoreTest, DefaultsAppearOnlyAfterTheFirstDialog) {
    EXPECT_EQ(get({text("blur")}), "");
    EXPECT_EQ(get({text("dialog-position")}), "");
    EXPECT_FALSE(Plugin::value("default-button").has_value());

    Plugin::saveGetSetDictionary();

    EXPECT_EQ(get({text("blur")}), "0");
    EXPECT_EQ(std::get<bool>(*Plugin::value("blur")), false);
    EXPECT_EQ(get({text("dialog-position")}), "default\rdefault");
    EXPECT_EQ(std::get<std::string>(*Plugin::value("default-button")), "1");
    EXPECT_EQ(get({text("default-button")}), "-50");  // stored, yet not gettable
}

TEST_F(StoreTest, DialogEndRestoresPerDialogKeysAndKeepsResults) {
    for (auto [key, value] : {std::pair{"dialog-title", "T"}, {"blur", "1"},
                              {"dialog-width", "400"}, {"dialog-min_width", "300"},
                              {"dialog-timeout", "5"}, {"dialog-position", "1\r2"},
                              {"default-button", "2"}, {"cancel-button", "1"},
                              {"progress-title", "p"}, {"progress-position", "q"},
                              {"calculation-period", "3"}, {"compatibility-mode", "yes"},
                              {"lastError", "-50"}, {"lastErrorMessage", "paramErr"}}) {
        ASSERT_EQ(set({text(key), text(value)}), value);
    }
    set({text("dialog-icon"), text("note")});
    Plugin::setValue("dialog-button", text("2"));
    Plugin::setValue("value_3", text("third"));

    Plugin::saveGetSetDictionary();

    const Dictionary live = Plugin::get_set_dictionary();
    const Dictionary expected = {
        {"blur", false},
        {"dialog-position", text("default\rdefault")},
        {"default-button", text("1")},
        {"compatibility-mode", text("yes")},
        {"lastError", text("-50")},
        {"lastErrorMessage", text("paramErr")},
        {"dialog-button", text("2")},
        {"value_3", text("third")},
    };
    EXPECT_EQ(live, expected);

    auto memory = Plugin::get_set_memory();
    ASSERT_EQ(memory.size(), 1u);
    EXPECT_EQ(std::get<std::string>(memory[0].at("dialog-title")), "T");
    EXPECT_TRUE(std::holds_alternative<ImageRef>(memory[0].at("dialog-icon")));
    EXPECT_EQ(Plugin::get_set_memory_position(), 1);
}

TEST_F(StoreTest, ClearStepsBackThroughCopiesOfTheMemory) {
    EXPECT_EQ(set({text("clear")}), "0");  // nothing to step back to
    EXPECT_TRUE(Plugin::get_set_dictionary().empty());
    EXPECT_EQ(Plugin::get_set_memory_position(), 0);

    set({text("dialog-title"), text("first")});
    Plugin::saveGetSetDictionary();
    set({text("dialog-title"), text("second")});
    Plugin::saveGetSetDictionary();
    EXPECT_EQ(Plugin::get_set_memory().size(), 2u);
    EXPECT_EQ(Plugin::get_set_memory_position(), 2);

    EXPECT_EQ(set({text("clear")}), "0");
    EXPECT_EQ(Plugin::get_set_memory_position(), 1);
    EXPECT_EQ(get({text("dialog-title")}), "second");

    // Settings made now must not rewrite the history they came from.
    set({text("dialog-title"), text("changed")});
    EXPECT_EQ(std::get<std::string>(Plugin::get_set_memory()[1].at("dialog-title")), "second");

    set({text("clear")});
    EXPECT_EQ(get({text("dialog-title")}), "first");
    EXPECT_EQ(Plugin::get_set_memory_position(), 0);
    set({text("clear")});
    EXPECT_EQ(get({text("dialog-title")}), "first");
    EXPECT_EQ(Plugin::get_set_memory_position(), 0);
}

TEST_F(StoreTest, ResetEmptiesTheLiveDictionaryOnly) {
    set({text("dialog-title"), text("T")});
    Plugin::saveGetSetDictionary();
    set({text("lastError"), -4.0});

    EXPECT_EQ(set({text("reset")}), "0");
    EXPECT_TRUE(Plugin::get_set_dictionary().empty());
    EXPECT_EQ(Plugin::get_set_memory().size(), 1u);
    EXPECT_EQ(Plugin::get_set_memory_position(), 1);
}

// ---- Set ----

TEST_F(StoreTest, SetAnswersAndStoresTheValueInItsForm) {
    struct Case {
        const char* name;
        Dictionary parameters;
        const char* answer;
        std::optional<Value> stored;  // under "dialog-title" unless refused
    };
    const Case cases[] = {
        {"text", params({text("dialog-title"), text("Hello")}), "Hello", text("Hello")},
        {"whole number", params({text("dialog-title"), 300.0}), "300", 300.0},
        {"fraction", params({text("dialog-title"), 1.5}), "1.5", 1.5},
        {"boolean", params({text("dialog-title"), true}), "1", true},
        {"two parts", params({text("dialog-title"), 100.0, 200.0}), "100\r200", text("100\r200")},
        {"second part only", params({text("dialog-title"), std::nullopt, text("y")}), "\ry",
         text("\ry")},
        {"no value", params({text("dialog-title")}), "0", std::nullopt},
        {"extra arguments ignored", params({text("dialog-title"), text("a"), text("b"), text("c")}),
         "a\rb", text("a\rb")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Plugin::setValue("dialog-title", text("previous"));
        EXPECT_EQ(Plugin::set(c.parameters), c.answer);
        EXPECT_EQ(Plugin::value("dialog-title"), c.stored);
    }
}

TEST_F(StoreTest, SetRefusesBadSelectorsAndChangesNothing) {
    set({text("dialog-title"), text("kept")});
    const Dictionary before = Plugin::get_set_dictionary();
    const Dictionary refused[] = {
        params({}),
        params({std::nullopt, text("x")}),
        params({text("Dialog-Title"), text("x")}),
        params({text("dialog-button"), text("x")}),  // a result, not a setting
        params({text("screen-width"), 5.0}),
        params({1.0, text("x")}),
        params({true, text("x")}),
        params({text(""), text("x")}),
    };
    for (const Dictionary& p : refused) {
        SCOPED_TRACE(describeDictionary(p));
        EXPECT_EQ(Plugin::set(p), "-50");
    }
    EXPECT_EQ(Plugin::get_set_dictionary(), before);
}

TEST_F(StoreTest, IconFromTextNumberOrImage) {
    auto picture = ui::Image::fromPixels(2, 2, std::vector<std::uint8_t>(16, 255), "<picture>");
    struct Case {
        const char* name;
        std::optional<Value> argument;
        const char* answer;
        const char* stored;  // description of the stored icon; "" absent; nullptr unchanged
    };
    const Case cases[] = {
        {"0", text("0"), "0", "<Image error_icon 48x48>"},
        {"stop", text("stop"), "stop", "<Image error_icon 48x48>"},
        {"1", text("1"), "1", "<Image note_icon 48x48>"},
        {"3", text("3"), "3", "<Image note_icon 48x48>"},
        {"note", text("note"), "note", "<Image note_icon 48x48>"},
        {"question", text("question"), "question", "<Image note_icon 48x48>"},
        {"2", text("2"), "2", "<Image caution_icon 48x48>"},
        {"caution", text("caution"), "caution", "<Image caution_icon 48x48>"},
        {"number 2", 2.0, "2", "<Image caution_icon 48x48>"},
        {"number 3", 3.0, "3", "<Image note_icon 48x48>"},
        {"number 0.5 reads as 0", 0.5, "0.5", "<Image error_icon 48x48>"},
        {"true", true, "1", "<Image note_icon 48x48>"},
        {"false", false, "0", "<Image error_icon 48x48>"},
        {"image", Value(picture), "0", "<picture>"},
        {"Stop", text("Stop"), "-50", nullptr},
        {"STOP", text("STOP"), "-50", nullptr},
        {" 1", text(" 1"), "-50", nullptr},
        {"7", 7.0, "-50", nullptr},
        {"-1", -1.0, "-50", nullptr},
        {"2^32 does not wrap to 0", 4294967296.0, "-50", nullptr},
        {"NaN reads as 0", std::nan(""), "?", "<Image error_icon 48x48>"},
        {"no argument", std::nullopt, "0", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Plugin::setValue("dialog-icon", text("marker"));
        EXPECT_EQ(Plugin::set(params({text("dialog-icon"), c.argument})), c.answer);
        auto stored = Plugin::value("dialog-icon");
        if (c.stored == nullptr) {
            EXPECT_EQ(stored, text("marker"));
        } else {
            ASSERT_TRUE(stored && std::holds_alternative<ImageRef>(*stored));
            EXPECT_EQ(std::get<ImageRef>(*stored)->description(), c.stored);
        }
    }
}

TEST_F(StoreTest, MissingIconResourceRemovesTheEntry) {
    auto empty = std::filesystem::temp_directory_path() / "brelka_empty_bundle";
    std::filesystem::create_directories(empty);
    ::setenv("BRELKA_BUNDLE", empty.c_str(), 1);
    Plugin::setValue("dialog-icon", text("marker"));
    EXPECT_EQ(set({text("dialog-icon"), text("caution")}), "caution");
    EXPECT_FALSE(Plugin::value("dialog-icon").has_value());
    std::filesystem::remove_all(empty);
}

// ---- Get ----

TEST_F(StoreTest, GetAnswersStoredValuesAsText) {
    set({text("dialog-position"), 100.0, 200.0});
    set({text("dialog-width"), 300.0});
    set({text("lastError"), -4.0});
    set({text("blur"), true});
    struct Case {
        Dictionary parameters;
        const char* answer;
    };
    const Case cases[] = {
        {params({text("dialog-position")}), "100\r200"},
        {params({text("dialog-width")}), "300"},
        {params({text("lastError")}), "-4"},
        {params({text("blur")}), "1"},
        {params({text("dialog-title")}), ""},  // absent
        {params({text("dialog-title"), 1.0}), ""},
        {params({}), "-50"},
        {params({text("Dialog-Width")}), "-50"},
        {params({text("dialog-icon")}), "-50"},
        {params({3.0}), "-50"},
        {params({std::nullopt, text("dialog-width")}), "-50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(describeDictionary(c.parameters));
        EXPECT_EQ(Plugin::get(c.parameters), c.answer);
    }
}

TEST_F(StoreTest, ScreenAnswersFollowTheProfile) {
    struct Case {
        const char* profile;
        const char* width;
        const char* height;
        const char* family;
    };
    for (const Case& c : {Case{"ipad", "1024.0", "768.0", "iPad"},
                          Case{"iphone", "390.0", "844.0", "iPhone"},
                          Case{"1366x1024", "1366.0", "1024.0", "iPad"},
                          Case{"700x1000", "700.0", "1000.0", "iPhone"}}) {
        SCOPED_TRACE(c.profile);
        ASSERT_TRUE(ui::Screen::main().setProfile(std::string_view(c.profile)));
        EXPECT_EQ(get({text("screen-width")}), c.width);
        EXPECT_EQ(get({text("screen-height")}), c.height);
        EXPECT_EQ(get({text("device-family")}), c.family);
    }
}

TEST_F(StoreTest, ItemResultsAreReadByNumber) {
    Plugin::setValue("value_2", text("abc"));
    Plugin::setValue("text_2", text("Abc"));
    Plugin::setValue("value_3", 5.0);  // not a text: refused
    struct Case {
        Dictionary parameters;
        const char* answer;
    };
    const Case cases[] = {
        {params({text("dialog-value"), 2.0}), "abc"},
        {params({text("dialog-value"), text("2")}), "abc"},
        {params({text("dialog-text"), 2.0}), "Abc"},
        {params({text("dialog-value")}), "-50"},
        {params({text("dialog-value"), 3.0}), "-50"},
        {params({text("dialog-value"), 9.0}), "-50"},
        {params({text("dialog-value"), 2.5}), "-50"},
        {params({text("dialog-value"), text("02")}), "-50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(describeDictionary(c.parameters));
        EXPECT_EQ(Plugin::get(c.parameters), c.answer);
    }
}

TEST_F(StoreTest, AllValuesAreJoinedWithTheCallersSeparator) {
    EXPECT_EQ(get({text("dialog-all-values"), text(", ")}), "-50");  // no dialog yet
    Plugin::setValue("dialog-all-values", text("abc\r0\r\rx"));
    Plugin::setValue("dialog-all-text", text("abc\rOff"));
    struct Case {
        Dictionary parameters;
        const char* answer;
    };
    const Case cases[] = {
        {params({text("dialog-all-values"), text(", ")}), "abc, 0, , x"},
        {params({text("dialog-all-values"), text("")}), "abc0x"},
        {params({text("dialog-all-values"), text("\r")}), "abc\r0\r\rx"},
        {params({text("dialog-all-text"), text("|")}), "abc|Off"},
        {params({text("dialog-all-values"), 1.0}), "-50"},
        {params({text("dialog-all-values")}), "-50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(describeDictionary(c.parameters));
        EXPECT_EQ(Plugin::get(c.parameters), c.answer);
    }
}

TEST_F(StoreTest, ValueEntriesOfEarlierDialogsSurvive) {
    Plugin::setValue("value_1", text("a"));
    Plugin::setValue("value_2", text("b"));
    Plugin::setValue("value_3", text("c"));
    Plugin::saveGetSetDictionary();
    Plugin::setValue("value_1", text("x"));
    Plugin::setValue("value_2", text("y"));
    Plugin::saveGetSetDictionary();
    EXPECT_EQ(get({text("dialog-value"), 3.0}), "c");
    EXPECT_EQ(get({text("dialog-value"), 1.0}), "x");
}

// ---- threads ----

// The calculation thread sets and reads while the main thread ends dialogs; nothing is lost
// or torn, and the memory holds exactly one snapshot per ended dialog.
TEST_F(StoreTest, CalculationAndMainThreadsShareTheStore) {
    constexpr int kDialogs = 300;
    std::thread mainThread([] {
        for (int i = 0; i < kDialogs; ++i) {
            Plugin::setValue("value_1", Value(std::to_string(i)));
            Plugin::saveGetSetDictionary();
        }
    });
    int refused = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string answer = set({text("dialog-title"), text("title")});
        refused += answer != "title";
        std::string position = get({text("dialog-position")});
        refused += !(position.empty() || position == "default\rdefault");
    }
    mainThread.join();
    EXPECT_EQ(refused, 0);
    EXPECT_EQ(Plugin::get_set_memory().size(), static_cast<std::size_t>(kDialogs));
    EXPECT_EQ(get({text("dialog-value"), 1.0}), std::to_string(kDialogs - 1));
}

}  // namespace
}  // namespace brelka
