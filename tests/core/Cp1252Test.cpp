#include "Cp1252.h"

#include <gtest/gtest.h>

using namespace kesto;

TEST(Cp1252, EveryByteRoundTripsThroughUtf8AndCodePoints) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    std::u32string decoded = DecodeCp1252(all);
    ASSERT_EQ(decoded.size(), 256u);
    EXPECT_EQ(EncodeCp1252(decoded), all);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Cp1252, HighRangeUsesTheWindowsTableAndC1ForUnassignedBytes) {
    std::u32string d = DecodeCp1252("\x80\x81\x8D\x8F\x90\x9D\x9F\xA0\xFF\x92\x85");
    EXPECT_EQ(d, (std::u32string{0x20AC, 0x81, 0x8D, 0x8F, 0x90, 0x9D, 0x178, 0xA0, 0xFF, 0x2019, 0x2026}));
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(Utf8ToCp1252("\xE2\x82\xAC 5"), "\x80 5");
    EXPECT_EQ(Cp1252ToUtf8("caf\xE9"), "caf\xC3\xA9");
}

TEST(Cp1252, UnmappableAndMalformedInputBecomesQuestionMarks) {
    EXPECT_EQ(EncodeCp1252(U"\u0100x\U0001F600"), "?x?");
    // CJK, a lone continuation byte, a truncated sequence and an overlong '/'.
    EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD|\x80|\xE2\x82|\xC0\xAF"), "?|?|??|??");
}
