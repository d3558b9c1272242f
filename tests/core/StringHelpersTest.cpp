#include "StringHelpers.h"
#include "TextHelpers.h"

#include <gtest/gtest.h>

#include <random>

using namespace kesto;

namespace {

// Replacement starting over at position 1 after each hit, the slow obvious way.
std::string NaiveRescan(const std::string& text, const std::string& find, const std::string& repl) {
    std::string out = text;
    int made = 0;
    for (std::size_t hit; (hit = out.find(find)) != std::string::npos; ++made) {
        if (made == 32767) return text;
        out.replace(hit, find.size(), repl);
    }
    return out;
}

std::string RandomText(std::mt19937& rng, std::string_view alphabet, std::size_t maxLen) {
    std::string s(rng() % (maxLen + 1), ' ');
    for (char& c : s) c = alphabet[rng() % alphabet.size()];
    return s;
}

} // namespace

TEST(StringHelpers, TrimRemovesBlanksOnly) {
    EXPECT_EQ(Trim("  \tab c\t  "), "\tab c\t");
    EXPECT_EQ(LTrim("  a  "), "a  ");
    EXPECT_EQ(RTrim("  a  "), "  a");
    EXPECT_EQ(Trim("    "), "");
}

TEST(StringHelpers, NumericValueReadsLeadingNumberLikeVal) {
    EXPECT_DOUBLE_EQ(NumericValue("  -12.5abc"), -12.5);
    EXPECT_DOUBLE_EQ(NumericValue("1 2"), 12.0); // blanks inside are skipped too
    EXPECT_DOUBLE_EQ(NumericValue("3.4.5"), 3.4);
    EXPECT_DOUBLE_EQ(NumericValue("+.5"), 0.5);
    EXPECT_EQ(NumericValue(""), 0.0);
    EXPECT_EQ(NumericValue("abc12"), 0.0);

    EXPECT_TRUE(IsNumeric(" 12 "));
    EXPECT_TRUE(IsNumeric("-3.5"));
    EXPECT_FALSE(IsNumeric("1 2"));
    EXPECT_FALSE(IsNumeric("12a"));
    EXPECT_FALSE(IsNumeric("."));
}

TEST(StringHelpers, ConvertCrLfEqualsTheThreeReplacements) {
    EXPECT_EQ(ConvertCrLf("\r\r\n\n"), "\r\n\r\n\r\n");
    EXPECT_EQ(ConvertCrLf("a\rb\nc\r\nd\n\r"), "a\r\nb\r\nc\r\nd\r\n\r\n");
    std::mt19937 rng(7);
    for (int i = 0; i < 500; ++i) {
        std::string s = RandomText(rng, "\r\nx", 12);
        std::string ref = StrReplace(StrReplace(StrReplace(s, "\r\n", "\n"), "\r", "\n"), "\n", "\r\n");
        ASSERT_EQ(ConvertCrLf(s), ref) << testing::PrintToString(s);
    }
}

TEST(StringHelpers, StripTrailingCrLfAndColourCodes) {
    EXPECT_EQ(StripTrailingCrLf("   "), "   ");
    EXPECT_EQ(StripTrailingCrLf("x\r\n\r\n"), "x");
    EXPECT_EQ(StripTrailingCrLf("x\r\n \r\n"), "x\r\n "); // a blank stops it
    EXPECT_EQ(StripTrailingCrLf("x\n\r"), "x\n\r");
    EXPECT_EQ(StripTrailingCrLf("\r\n\r\n"), "");

    EXPECT_EQ(StripHeartCodes("\x03"
                              "1Hi \x03"
                              "2there"),
              "Hi there");
    EXPECT_EQ(StripHeartCodes("\x03\x03x"), "x"); // the code character may itself be a 3
    EXPECT_EQ(StripHeartCodes("end\x03"), "end");
}

TEST(StringHelpers, CountOccurrencesCountsOverlapsFromStart) {
    EXPECT_EQ(CountOccurrences("a,b,,c", ",", 0), 3);
    EXPECT_EQ(CountOccurrences("a,b,,c", ",", 3), 2);
    EXPECT_EQ(CountOccurrences("a,b,,c", ",", 7), 0);
    EXPECT_EQ(CountOccurrences("aaa", "aa", 1), 2);
    EXPECT_EQ(CountOccurrences("a,b", ",", -1), 0);
    EXPECT_EQ(CountOccurrences(std::string(32767, ','), ",", 0), 32767);
    EXPECT_EQ(CountOccurrences(std::string(32768, ','), ",", 0), 0); // 16-bit overflow
}

TEST(StringHelpers, ExplodeFillsFixedSlots) {
    using Pieces = std::vector<std::string>;
    EXPECT_EQ(Explode(":", "10:30", 2, 2), (Pieces{"10", "30"}));
    EXPECT_EQ(Explode(":", "10", 2, 2), (Pieces{"10", ""}));
    EXPECT_EQ(Explode(":", "", 0, 0), (Pieces{""}));
    EXPECT_EQ(Explode(",", "a,b,c,d", 3, 0), (Pieces{"a", "b", "c,d"}));
    EXPECT_EQ(Explode(",", "a,,b,", 0, 6), (Pieces{"a", "", "b", "", "", ""}));
    EXPECT_EQ(Explode("X", "axbXc", -1, 0), (Pieces{"a", "b", "c"})); // delimiter case ignored
    EXPECT_EQ(Explode("<>", "a<>b<", 0, 0), (Pieces{"a", "b<"}));
}

TEST(StringHelpers, ExplodeFailsPast32767Pieces) {
    std::string text;
    for (int i = 1; i <= 32767; ++i) text += std::to_string(i) + ",";
    text.pop_back();
    std::vector<std::string> p = Explode(",", text, 0, 0);
    ASSERT_EQ(p.size(), 32767u);
    EXPECT_EQ(p[32766], "32767");
    // One more piece has no number: the pieces of an empty text.
    EXPECT_EQ(Explode(",", text + ",", 0, 3), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(Explode(",", text + ",", 2, 0).size(), 2u); // a limit keeps it within range
    EXPECT_EQ(Explode(",", "a,b", 0, 40000), (std::vector<std::string>{""}));
}

TEST(StringHelpers, StrPadModes) {
    EXPECT_EQ(StrPad("abc", 6, " ", "PAD_CENTER"), " abc  ");
    EXPECT_EQ(StrPad("abc", 2), "ab");
    EXPECT_EQ(StrPad("abc", 5, "", "pad_left "), "  abc");
    EXPECT_EQ(StrPad("abc", 5, "*-", "PAD_RIGHT"), "abc**");
    EXPECT_EQ(StrPad("abc", 5, ".", "middle"), "abc..");
    EXPECT_EQ(StrPad("abc", -1), "");
}

TEST(StringHelpers, StrReplaceLimitsAndContinuesAfterReplacement) {
    EXPECT_EQ(StrReplace("a.b.c", ".", "::", 1), "a::b.c");
    EXPECT_EQ(StrReplace("a.b.c", ".", "::", -3), "a::b::c");
    EXPECT_EQ(StrReplace("a.b", "", "x"), "a.b");
    EXPECT_EQ(StrReplace("aaa", "a", "aa"), "aaaaaa"); // not searched again inside the replacement
    EXPECT_EQ(StrReplace("a    b", "  ", " "), "a  b");
    // The count is 16-bit: one replacement too many leaves the text as it was.
    EXPECT_EQ(StrReplace(std::string(32767, '.'), ".", "x"), std::string(32767, 'x'));
    EXPECT_EQ(StrReplace(std::string(32768, '.'), ".", "x"), std::string(32768, '.'));
    EXPECT_EQ(StrReplace(std::string(32768, '.'), ".", "x", 32767), std::string(32767, 'x') + ".");
}

TEST(StringHelpers, StrReplaceRescanMatchesStartingOverAndAlwaysEnds) {
    EXPECT_EQ(StrReplace("a     b  c", "  ", " ", 0, true), "a b c");
    EXPECT_EQ(StrReplace("a b c", " ", "", 0, true), "abc");
    EXPECT_EQ(StrReplace("aaab", "ab", "b", 2, true), "ab");    // the maximum still counts
    EXPECT_EQ(StrReplace("aabb", "ab", "bb", 0, true), "bbbb"); // as long as the searched text
    EXPECT_EQ(StrReplace("aab", "ab", "bbaa", 0, true), NaiveRescan("aab", "ab", "bbaa"));
    // A replacement that holds the searched text would be found forever: it goes on after it.
    EXPECT_EQ(StrReplace("abab", "ab", "xab", 0, true), "xabxab");
    // Each "a" doubles the "b"s after it: 16 of them need more replacements than the count holds.
    EXPECT_EQ(StrReplace(std::string(16, 'a') + "b", "ab", "bba", 0, true), std::string(16, 'a') + "b");

    std::mt19937 rng(11);
    const std::pair<std::string, std::string> rules[] = {{"ab", "b"},  {"aa", "a"},   {"aba", "b"},
                                                         {"abc", ""},  {"ab", "ba"},  {"ab", "bbca"},
                                                         {"ca", "ac"}, {"abc", "cab"}};
    for (int i = 0; i < 4000; ++i) {
        const auto& [find, repl] = rules[i % 8];
        std::string s = RandomText(rng, "abc", 16);
        ASSERT_EQ(StrReplace(s, find, repl, 0, true), NaiveRescan(s, find, repl)) << s << " " << find;
    }
}

TEST(StringHelpers, ClampToIntegerLimitsAndRoundsHalfToEven) {
    EXPECT_EQ(ClampToInteger("40000"), 32767);
    EXPECT_EQ(ClampToInteger("32767.6"), 32767);
    EXPECT_EQ(ClampToInteger("-40000"), -32767);
    EXPECT_EQ(ClampToInteger("2.5"), 2);
    EXPECT_EQ(ClampToInteger("3.5"), 4);
    EXPECT_EQ(ClampToInteger("-2.5"), -2);
    EXPECT_EQ(ClampToInteger(" 12 days"), 12);
    EXPECT_EQ(ClampToInteger(std::string(400, '9')), 32767);
}
