#include "platform/BoardPath.h"
#include "TestBoard.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kesto;
using platform::NativePath;
using platform::ShortAlias;

namespace {

std::string Backslashed(std::string p) {
    std::replace(p.begin(), p.end(), '/', '\\');
    return p;
}

} // namespace

TEST(BoardPath, ShortAndUpperCasedPathsOpenTheLongFile) {
    test::TempDir dir;
    test::WriteNative(dir.file("My Docs/Long Report File.text"), "x");
    const std::string real = dir.file("My Docs/Long Report File.text");

    EXPECT_EQ(ShortAlias(dir.path(), "My Docs"), "MYDOCS~1");
    EXPECT_EQ(ShortAlias(dir.file("My Docs"), "Long Report File.text"), "LONGRE~1.TEX");
    EXPECT_EQ(NativePath("MYDOCS~1\\LONGRE~1.TEX", dir.path()), real);
    EXPECT_EQ(NativePath("MY DOCS\\LONG REPORT FILE.TEXT", dir.path()), real);
    EXPECT_EQ(NativePath("my docs/long report file.text", dir.path()), real);
    EXPECT_EQ(NativePath(Backslashed(dir.path()) + "\\mydocs~1\\longre~1.tex", "/elsewhere"), real);
}

TEST(BoardPath, SeparatorsRelativePathsAndDrives) {
    test::TempDir dir;
    test::WriteNative(dir.file("MAIL/EMAIL.DAT"), "");
    const std::string mail = dir.file("MAIL/EMAIL.DAT");
    EXPECT_EQ(NativePath("mail\\email.dat", dir.path()), mail);
    EXPECT_EQ(NativePath(".\\MAIL\\\\EMAIL.DAT", dir.path()), mail);
    EXPECT_EQ(NativePath("C:" + Backslashed(mail), "/elsewhere"), mail); // no drives here: from the root
    EXPECT_EQ(NativePath("", dir.path()), dir.path());
}

TEST(BoardPath, UnmatchedComponentsAreKeptForCreation) {
    test::TempDir dir;
    test::WriteNative(dir.file("MAIL/EMAIL.DAT"), "");
    EXPECT_EQ(NativePath("mail\\New File.txt", dir.path()), dir.file("MAIL/New File.txt"));
    EXPECT_EQ(NativePath("NoDir\\mail\\x", dir.path()), dir.file("NoDir/mail/x"));
    EXPECT_EQ(NativePath("mail\\NOSUCH~1.DAT", dir.path()), dir.file("MAIL/NOSUCH~1.DAT"));
}

TEST(BoardPath, AliasesAreNumberedPastCollisionsInNameOrder) {
    test::TempDir dir;
    for (const char* n : {"Long Report Old.text", "Long Report File.text", "longre~1.tex", "readme.txt"})
        test::WriteNative(dir.file(n), n);

    EXPECT_EQ(ShortAlias(dir.path(), "readme.txt"), "README.TXT");
    EXPECT_EQ(ShortAlias(dir.path(), "longre~1.tex"), "LONGRE~1.TEX");
    EXPECT_EQ(ShortAlias(dir.path(), "Long Report File.text"), "LONGRE~2.TEX");
    EXPECT_EQ(ShortAlias(dir.path(), "Long Report Old.text"), "LONGRE~3.TEX");
    // A real file named like an alias wins over the alias of another file.
    EXPECT_EQ(NativePath("LONGRE~1.TEX", dir.path()), dir.file("longre~1.tex"));
    EXPECT_EQ(NativePath("LONGRE~2.TEX", dir.path()), dir.file("Long Report File.text"));
    EXPECT_EQ(NativePath("longre~3.tex", dir.path()), dir.file("Long Report Old.text"));
    // A name not (yet) in the folder gets the alias it would get there.
    EXPECT_EQ(ShortAlias(dir.path(), "Long Report New.text"), "LONGRE~3.TEX");
}

TEST(BoardPath, AliasShapes) {
    test::TempDir dir;
    for (int i = 0; i < 10; ++i) test::WriteNative(dir.file("Long Name " + std::to_string(i) + ".txt"), "");
    EXPECT_EQ(ShortAlias(dir.path(), "Long Name 8.txt"), "LONGNA~9.TXT");
    EXPECT_EQ(ShortAlias(dir.path(), "Long Name 9.txt"), "LONGN~10.TXT");
    EXPECT_EQ(NativePath("LONGN~10.TXT", dir.path()), dir.file("Long Name 9.txt"));

    EXPECT_EQ(ShortAlias(dir.path(), "my.file.tar.gz"), "MYFILE~1.GZ");
    test::WriteNative(dir.file("a+b=c d.te[t"), "");
    EXPECT_EQ(ShortAlias(dir.path(), "a+b=c d.te[t"), "A_B_CD~1.TE_"); // blanks dropped, the rest "_"
    EXPECT_EQ(NativePath("a_b_cd~1.te_", dir.path()), dir.file("a+b=c d.te[t"));
    EXPECT_EQ(ShortAlias(dir.path(), ".profile"), "PROFIL~1");
    EXPECT_EQ(ShortAlias(dir.path(), "Ab.c"), "AB.C");
    EXPECT_EQ(ShortAlias(dir.path(), "abcdefghi"), "ABCDEF~1");
    EXPECT_EQ(ShortAlias(dir.path(), "x.html"), "X~1.HTM");
}
