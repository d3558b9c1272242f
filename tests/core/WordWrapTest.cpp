#include "WordWrap.h"

#include <gtest/gtest.h>

#include <random>

using namespace kesto;

TEST(WordWrap, BreaksAfterTheLastBlankOrHyphenElseHard) {
    EXPECT_EQ(WordWrap(std::string(10, 'a') + std::string(10, 'b') + "ccccc", 10, false),
              "aaaaaaaaaa\r\nbbbbbbbbbb\r\nccccc");
    EXPECT_EQ(WordWrap("aaaa bbbb cccc", 10, false), "aaaa bbbb \r\ncccc");
    EXPECT_EQ(WordWrap("aaaa bbbbb", 10, false), "aaaa \r\nbbbbb");
    EXPECT_EQ(WordWrap("well-known words", 10, false), "well-\r\nknown \r\nwords");
    // A last line of exactly the width is still a full segment and gets its line end.
    EXPECT_EQ(WordWrap("abcdefghij klmnopqrst", 10, false), "abcdefghij\r\n \r\nklmnopqrst\r\n");
}

TEST(WordWrap, ShortTextsAndBadWidthsComeBackUnchanged) {
    EXPECT_EQ(WordWrap("ab\r\ncd\ref", 10, false),
              "ab\r\ncd\ref"); // 9 characters, line ends kept as they are
    EXPECT_EQ(WordWrap("aaaa bbbb cccc", 0, false), "aaaa bbbb cccc");
    EXPECT_EQ(WordWrap("aaaa bbbb cccc", -5, false), "aaaa bbbb cccc");
    EXPECT_EQ(WordWrap("", 1, false), "");
}

TEST(WordWrap, LineEndsInTheTextBecomeCrLf) {
    EXPECT_EQ(WordWrap("ab\ncd\r\nef\rgh ij kl mn", 10, false), "ab\r\ncd\r\nef\r\ngh ij kl \r\nmn");
    // The line end right after a full-width line is outside the window: that line breaks first.
    EXPECT_EQ(WordWrap("first line\r\n\r\nthird", 10, false), "first \r\nline\r\n\r\nthird");
}

TEST(WordWrap, ColourCodesTakeNoRoomWhenSkipped) {
    const std::string text = "\x03"
                             "1aaaa bbbb cccc";
    EXPECT_EQ(WordWrap(text, 10, true), "\x03"
                                        "1aaaa bbbb \r\ncccc");
    EXPECT_EQ(WordWrap(text, 10, false), "\x03"
                                         "1aaaa \r\nbbbb cccc");
}

TEST(WordWrap, LongTextKeepsEveryCharacter) {
    std::mt19937 rng(3);
    std::string text;
    while (text.size() < std::size_t{32} * 1024) {
        text.append(1 + rng() % 12, static_cast<char>('a' + rng() % 26));
        text += (rng() % 9 == 0) ? '-' : ' ';
    }
    std::string out = WordWrap(text, 79, false);

    std::string joined;
    int lines = 0;
    std::size_t start = 0;
    for (std::size_t end; (end = out.find("\r\n", start)) != std::string::npos; start = end + 2, ++lines) {
        ASSERT_LE(end - start, 79u);
        joined.append(out, start, end - start);
    }
    joined.append(out, start);
    EXPECT_EQ(joined, text);
    EXPECT_GT(lines, 32 * 1024 / 79);
}
