#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fmx/Exceptions.h"
#include "fmx/Text.h"

namespace fmx {
namespace {

const std::string kReplacementUtf8 = "\xEF\xBF\xBD";

struct AssignCase {
    const char* label;
    std::string bytes;
    std::u16string units;
};

TEST(TextAssign, DecodesUtf8AndReplacesIllFormedBytes) {
    const std::vector<AssignCase> cases = {
        {"ascii", "Hello", u"Hello"},
        {"two-byte", "caf\xC3\xA9", u"caf\u00E9"},
        {"japanese", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", u"\u65E5\u672C\u8A9E"},
        {"chinese", "\xE4\xB8\xAD\xE6\x96\x87", u"\u4E2D\u6587"},
        {"astral", "\xF0\x9F\x98\x80", u"\U0001F600"},
        {"stray continuation", "a\x80z", u"a\uFFFDz"},
        {"invalid byte", "\xFF", u"\uFFFD"},
        {"truncated sequence at end", "x\xE6\x97", u"x\uFFFD"},
        {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"empty", "", u""},
    };
    for (const auto& c : cases) {
        for (int32 encoding : {kEncoding_Native, kEncoding_UTF8}) {
            Text t(u"previous content");
            t.Assign(c.bytes.c_str(), encoding);
            EXPECT_EQ(t.units(), c.units) << c.label << " encoding " << encoding;
        }
        EXPECT_EQ(Text::fromUtf8(c.bytes).units(), c.units) << c.label;
    }
}

TEST(TextAssign, NullPointersGiveTheEmptyText) {
    Text t(u"x");
    t.Assign(nullptr);
    EXPECT_EQ(t.GetSize(), 0u);
    t = Text(u"x");
    t.AssignUnicode(nullptr);
    EXPECT_EQ(t.GetSize(), 0u);
}

TEST(TextAssign, UnicodeStopsAtNulUnlessGivenALength) {
    const char16_t units[] = {u'a', u'\0', u'b', u'\0'};
    Text t;
    t.AssignUnicode(units);
    EXPECT_EQ(t.units(), u"a");
    t.AssignUnicodeWithLength(units, 3);
    EXPECT_EQ(t.GetSize(), 3u);
    EXPECT_EQ(t.units(), std::u16string(units, 3));
}

TEST(TextRoundTrip, CjkAndAstralTextsSurviveBothDirections) {
    const std::vector<std::string> texts = {
        "\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1\xE3\x81\xAF\xE4\xB8\x96\xE7\x95\x8C",
        "\xE4\xBD\xA0\xE5\xA5\xBD\xEF\xBC\x8C\xE4\xB8\x96\xE7\x95\x8C",
        "mixed \xF0\x9F\x98\x80 \xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82",
    };
    for (const auto& utf8 : texts) {
        Text t;
        t.Assign(utf8.c_str());
        std::vector<char> buffer(utf8.size() + 1, '#');
        EXPECT_EQ(t.GetBytes(buffer.data(), static_cast<uint32>(buffer.size())), utf8.size());
        EXPECT_EQ(std::string(buffer.data()), utf8);
        EXPECT_EQ(t.utf8(), utf8);
    }
}

// "a" (1 byte), "é" (2), "日" (3), U+1F600 (4): 10 bytes in all.
TEST(TextGetBytes, NeverWritesPastCapacityNorCutsACharacter) {
    const Text t(u"a\u00E9\u65E5\U0001F600");
    const std::string full = "a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80";
    struct Case {
        uint32 capacity;
        std::size_t bytes;
    };
    const std::vector<Case> cases = {{1, 0}, {2, 1}, {3, 1},  {4, 3},  {6, 3},
                                     {7, 6}, {10, 6}, {11, 10}, {64, 10}};
    for (const auto& c : cases) {
        std::vector<char> buffer(80, '#');
        const uint32 written = t.GetBytes(buffer.data(), c.capacity);
        EXPECT_EQ(written, c.bytes) << "capacity " << c.capacity;
        EXPECT_EQ(std::string(buffer.data(), written), full.substr(0, c.bytes));
        EXPECT_EQ(buffer[written], '\0') << "capacity " << c.capacity;
        for (std::size_t i = c.capacity; i < buffer.size(); ++i) {
            ASSERT_EQ(buffer[i], '#') << "byte " << i << " written with capacity " << c.capacity;
        }
    }
}

TEST(TextGetBytes, CapacityZeroWritesNothing) {
    char sentinel = '#';
    EXPECT_EQ(Text(u"abc").GetBytes(&sentinel, 0), 0u);
    EXPECT_EQ(sentinel, '#');
    EXPECT_EQ(Text(u"abc").GetBytes(nullptr, 10), 0u);
}

TEST(TextGetBytes, UnpairedSurrogatesBecomeReplacementCharacters) {
    struct Case {
        const char* label;
        std::u16string units;
        std::string utf8;
    };
    const std::vector<Case> cases = {
        {"lone high in the middle", u"a\xD800z", "a" + kReplacementUtf8 + "z"},
        {"lone high at the end", u"a\xD83D", "a" + kReplacementUtf8},
        {"lone low", u"\xDC00z", kReplacementUtf8 + "z"},
        {"reversed pair", u"\xDE00\xD83D", kReplacementUtf8 + kReplacementUtf8},
        {"valid pair", u"\xD83D\xDE00", "\xF0\x9F\x98\x80"},
    };
    for (const auto& c : cases) {
        const Text t(c.units);
        std::vector<char> buffer(32, '#');
        EXPECT_EQ(t.GetBytes(buffer.data(), 32), c.utf8.size()) << c.label;
        EXPECT_EQ(std::string(buffer.data()), c.utf8) << c.label;
        EXPECT_EQ(t.utf8(), c.utf8) << c.label;
    }
}

TEST(TextGetBytes, PositionAndSizeSelectUnitsAndSplitPairsAreReplaced) {
    const Text t(u"ab\U0001F600cd");  // units: a b D83D DE00 c d
    struct Case {
        uint32 position;
        uint32 size;
        std::string utf8;
    };
    const std::vector<Case> cases = {
        {0, kSize_End, "ab\xF0\x9F\x98\x80" "cd"},
        {4, kSize_End, "cd"},
        {1, 1, "b"},
        {2, 1, kReplacementUtf8},
        {3, 2, kReplacementUtf8 + "c"},
        {6, kSize_End, ""},
        {100, 5, ""},
    };
    for (const auto& c : cases) {
        char buffer[32];
        const uint32 n = t.GetBytes(buffer, sizeof buffer, c.position, c.size);
        EXPECT_EQ(std::string(buffer, n), c.utf8) << c.position << "+" << c.size;
    }
}

TEST(TextEmbeddedNul, IsKeptAsAUnitAndWrittenAsAByte) {
    const Text t = Text::fromUtf8(std::string("a\0b", 3));
    EXPECT_EQ(t.GetSize(), 3u);
    char buffer[8];
    ASSERT_EQ(t.GetBytes(buffer, sizeof buffer), 3u);
    EXPECT_EQ(std::string(buffer, 3), std::string("a\0b", 3));
    EXPECT_EQ(t.utf8(), std::string("a\0b", 3));
}

TEST(TextLarge, TenMegabytesRoundTripAndLowercase) {
    std::string utf8;
    const std::string chunk = "Abc \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80 \xC3\x89t\xC3\xA9\n";
    while (utf8.size() < 10 * 1024 * 1024) utf8 += chunk;
    Text t;
    t.Assign(utf8.c_str());
    std::vector<char> buffer(utf8.size() + 1);
    ASSERT_EQ(t.GetBytes(buffer.data(), static_cast<uint32>(buffer.size())), utf8.size());
    EXPECT_EQ(std::memcmp(buffer.data(), utf8.data(), utf8.size()), 0);

    const uint32 size = t.GetSize();
    t.Lowercase();
    EXPECT_EQ(t.GetSize(), size);
    EXPECT_EQ(t.Find(Text(u"A")), kSize_End);
    EXPECT_EQ(t.Find(Text(u"\u00C9")), kSize_End);
}

TEST(TextGetUnicode, CopiesTheClampedRangeWithoutANul) {
    const Text t(u"hello");
    char16_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    t.GetUnicode(buffer, 3, 10);
    EXPECT_EQ(std::u16string(buffer, 3), u"lo#");
}

TEST(TextAppend, AppendsRangesIncludingItself) {
    Text t(u"abc");
    t.AppendText(t);
    EXPECT_EQ(t.units(), u"abcabc");
    t.AppendText(Text(u"wxyz"), 1, 2);
    EXPECT_EQ(t.units(), u"abcabcxy");
    t.AppendText(Text(u"wxyz"), 9);
    EXPECT_EQ(t.units(), u"abcabcxy");
}

TEST(TextFind, FirstOccurrenceAtOrAfterPosition) {
    struct Case {
        std::u16string haystack, needle;
        uint32 position, expected;
    };
    const std::vector<Case> cases = {
        {u"Brelka_Version( x )", u"(", 0, 14},
        {u"a(b(c", u"(", 2, 3},
        {u"abc", u"(", 0, kSize_End},
        {u"abc", u"", 1, 1},
        {u"abc", u"c", 3, kSize_End},
        {u"abc", u"a", 99, kSize_End},
        {u"", u"a", 0, kSize_End},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text(c.haystack).Find(Text(c.needle), c.position), c.expected);
    }
}

TEST(TextDelete, RemovesTheClampedRange) {
    struct Case {
        uint32 position, size;
        std::u16string expected;
    };
    const std::vector<Case> cases = {
        {3, kSize_End, u"abc"}, {0, 2, u"cdef"}, {4, 100, u"abcd"}, {6, 1, u"abcdef"},
        {99, 1, u"abcdef"},     {0, 0, u"abcdef"},
    };
    for (const auto& c : cases) {
        Text t(u"abcdef");
        t.DeleteText(c.position, c.size);
        EXPECT_EQ(t.units(), c.expected) << c.position << "+" << c.size;
    }
}

TEST(TextLowercase, UsesFullRootLocaleCaseMapping) {
    struct Case {
        std::u16string in, out;
    };
    const std::vector<Case> cases = {
        {u"LONG", u"long"},
        {u"\u00C0\u00C9\u00CE", u"\u00E0\u00E9\u00EE"},
        {u"\u0130", u"i\u0307"},
        {u"\u039F\u0394\u039F\u03A3", u"\u03BF\u03B4\u03BF\u03C2"},
        {u"\u65E5\u672C", u"\u65E5\u672C"},
        {u"a\xD800", u"a\xD800"},
        {u"", u""},
    };
    for (const auto& c : cases) {
        Text t(c.in);
        t.Lowercase();
        EXPECT_EQ(t.units(), c.out);
    }
}

TEST(TextEquality, IsCanonicalEquivalenceAndCaseSensitive) {
    struct Case {
        std::u16string a, b;
        bool equal;
    };
    const std::vector<Case> cases = {
        {u"short", u"short", true},
        {u"caf\u00E9", u"cafe\u0301", true},
        {u"\u00C5", u"\u212B", true},
        {u"Short", u"short", false},
        {u" short", u"short", false},
        {u"a", u"ab", false},
        {u"", u"", true},
        {u"\xD800", u"\xDC00", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text(c.a) == Text(c.b), c.equal);
        EXPECT_EQ(Text(c.b) == Text(c.a), c.equal);
        EXPECT_EQ(Text(c.a) != Text(c.b), !c.equal);
    }
}

}  // namespace
}  // namespace fmx
