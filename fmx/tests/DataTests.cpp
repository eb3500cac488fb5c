#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "fmx/BinaryData.h"
#include "fmx/Data.h"
#include "fmx/DataVect.h"
#include "fmx/Exceptions.h"

namespace fmx {
namespace {

Data textData(std::u16string s, const Locale& locale = Locale()) {
    Data d;
    d.SetAsText(Text(std::move(s)), locale);
    return d;
}

TEST(DataViews, TextReadsAsItsLeadingNumber) {
    struct Case {
        std::u16string text;
        double number;
        bool boolean;
    };
    const std::vector<Case> cases = {
        {u"12abc", 12, true},  {u"  -3.5x", -3.5, true}, {u".5", 0.5, true},
        {u"abc", 0, false},    {u"", 0, false},           {u"1e3", 1000, true},
        {u"2e", 2, true},      {u"+7", 7, true},          {u"-", 0, false},
        {u"1.2.3", 1.2, true}, {u"0", 0, false},          {u"abc 5", 0, false},
        {u"1e999", HUGE_VAL, true},
    };
    for (const auto& c : cases) {
        const Data d = textData(c.text);
        EXPECT_EQ(d.GetNativeType(), kDTText);
        EXPECT_EQ(d.GetAsNumber().AsFloat(), c.number);
        EXPECT_EQ(d.GetAsBoolean(), c.boolean);
        EXPECT_EQ(d.GetAsText().units(), c.text);
    }
}

TEST(DataViews, NumbersAndBooleansReadAsText) {
    struct Case {
        std::function<void(Data&)> set;
        int32 type;
        std::u16string text;
        double number;
    };
    const std::vector<Case> cases = {
        {[](Data& d) { d.SetAsNumber(FixPt::fromDouble(0.5)); }, kDTNumber, u".5", 0.5},
        {[](Data& d) { d.SetAsNumber(FixPt(-4)); }, kDTNumber, u"-4", -4},
        {[](Data& d) { d.SetAsNumber(FixPt::fromDouble(3.14159, 2)); }, kDTNumber, u"3.14", 3.14159},
        {[](Data& d) { d.SetAsBoolean(true); }, kDTBoolean, u"1", 1},
        {[](Data& d) { d.SetAsBoolean(false); }, kDTBoolean, u"0", 0},
        {[](Data& d) { d.SetAsDateTime(kDTDate, 738000, Text(u"7/1/2021")); }, kDTDate,
         u"7/1/2021", 738000},
    };
    for (const auto& c : cases) {
        Data d;
        c.set(d);
        EXPECT_EQ(d.GetNativeType(), c.type);
        EXPECT_EQ(d.GetAsText().units(), c.text);
        EXPECT_EQ(d.GetAsNumber().AsFloat(), c.number);
    }
}

TEST(DataViews, TheLastWriteWinsAndTheLocaleTravelsWithText) {
    Data d;
    d.SetAsText(Text(u"first"), Locale("de_DE"));
    EXPECT_EQ(d.GetLocale().name(), "de_DE");
    d.SetAsNumber(FixPt(7));
    EXPECT_EQ(d.GetNativeType(), kDTNumber);
    EXPECT_EQ(d.GetAsText().units(), u"7");
    d.SetAsText(Text(u"again"), Locale("ja_JP"));
    EXPECT_EQ(d.GetNativeType(), kDTText);
    EXPECT_EQ(d.GetAsText().units(), u"again");
    EXPECT_EQ(d.GetAsNumber().AsFloat(), 0);
    EXPECT_EQ(d.GetLocale().name(), "ja_JP");
    d.Clear();
    EXPECT_EQ(d.GetNativeType(), kDTInvalid);
    EXPECT_EQ(d.GetAsText().GetSize(), 0u);
}

TEST(DataContainer, ReadsAsItsFileNameAndKeepsItsStreams) {
    BinaryData b;
    const std::string name = "photo \xE6\x97\xA5.png";
    const unsigned char png[] = {0x89, 'P', 'N', 'G'};
    ASSERT_EQ(b.Add(QuadChar("FNAM"), static_cast<uint32>(name.size()), name.data()), 0);
    ASSERT_EQ(b.Add(QuadChar("PNGf"), sizeof png, png), 0);
    Data d;
    d.SetBinaryData(b);
    EXPECT_EQ(d.GetNativeType(), kDTBinary);
    EXPECT_EQ(d.GetAsText().utf8(), name);
    EXPECT_TRUE(d.GetAsBoolean());
    EXPECT_EQ(d.GetBinaryData().GetCount(), 2);
    EXPECT_EQ(d.GetBinaryData().GetSize(1), sizeof png);

    Data empty;
    empty.SetBinaryData(BinaryData());
    EXPECT_EQ(empty.GetAsText().GetSize(), 0u);
    EXPECT_FALSE(empty.GetAsBoolean());
}

TEST(BinaryDataStreams, GetDataChecksIndexAndRangeWithoutOverflow) {
    BinaryData b;
    const char bytes[] = "0123456789";
    b.Add(QuadChar("JPEG"), 10, bytes);
    b.Add(QuadChar("SIZE"), 0, nullptr);
    EXPECT_EQ(b.GetIndex(QuadChar("SIZE")), 1);
    EXPECT_EQ(b.GetIndex(QuadChar("GIFf")), -1);
    EXPECT_EQ(b.GetTotalSize(), 10u);
    struct Case {
        int32 index;
        uint32 offset, amount;
        bool ok;
        std::string copied;
    };
    const std::vector<Case> cases = {
        {0, 0, 10, true, "0123456789"}, {0, 7, 3, true, "789"},  {0, 10, 0, true, ""},
        {0, 8, 3, false, ""},           {0, 11, 0, false, ""},   {0, 1, 0xFFFFFFFFu, false, ""},
        {2, 0, 1, false, ""},           {-1, 0, 1, false, ""},   {1, 0, 0, true, ""},
    };
    for (const auto& c : cases) {
        char out[16];
        std::memset(out, '#', sizeof out);
        const errcode code = b.GetData(c.index, c.offset, c.amount, out);
        EXPECT_EQ(code == 0, c.ok) << c.index << " " << c.offset << "+" << c.amount;
        EXPECT_EQ(std::string(out, c.copied.size()), c.copied);
        if (!c.ok) {
            EXPECT_EQ(out[0], '#');
        }
    }
    QuadChar type;
    b.GetType(0, type);
    EXPECT_EQ(type.str(), "JPEG");
    EXPECT_TRUE(b.Remove(QuadChar("JPEG")));
    EXPECT_FALSE(b.Remove(QuadChar("JPEG")));
    EXPECT_EQ(b.GetCount(), 1);
}

TEST(QuadCharCodes, PadShortCodesAndCompareByValue) {
    EXPECT_EQ(QuadChar("NvBk"), QuadChar('N', 'v', 'B', 'k'));
    EXPECT_EQ(QuadChar("NvBk").value(), 0x4E76426Bu);
    EXPECT_EQ(QuadChar("ab").str(), "ab  ");
    EXPECT_FALSE(QuadChar("NvBk") == QuadChar("NvBK"));
}

TEST(DataVectAccess, PositionsOutsideTheVectorRaise) {
    DataVect v;
    v.PushBack(textData(u"x"));
    Data n;
    n.SetAsNumber(FixPt(3));
    v.PushBack(n);
    EXPECT_EQ(v.Size(), 2u);
    EXPECT_EQ(v.AtAsText(0).units(), u"x");
    EXPECT_EQ(v.AtAsNumber(1).AsLong(), 3);
    EXPECT_TRUE(v.AtAsBoolean(1));
    EXPECT_EQ(v.At(1).GetNativeType(), kDTNumber);

    const std::vector<std::function<void()>> outside = {
        [&] { v.At(2); },         [&] { v.AtAsText(2); },        [&] { v.AtAsNumber(99); },
        [&] { v.AtAsBoolean(2); }, [&] { v.AtAsBinaryData(2); }, [&] { DataVect().At(0); },
    };
    for (const auto& access : outside) EXPECT_THROW(access(), HostException);
}

}  // namespace
}  // namespace fmx
