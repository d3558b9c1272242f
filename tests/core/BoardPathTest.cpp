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
    test::WriteNative(dir.File("My Docs/Long Report File.text"), "x");
    const std::string real = dir.File("My Docs/Long Report File.text");

    EXPECT_EQ(ShortAlias(dir.Path(), "My Docs"), "MYDOCS~1");
    EXPECT_EQ(ShortAlias(dir.File("My Docs"), "Long Report File.text"), "LONGRE~1.TEX");
    EXPECT_EQ(NativePath("MYDOCS~1\\LONGRE~1.TEX", dir.Path()), real);
    EXPECT_EQ(NativePath("MY DOCS\\LONG REPORT FILE.TEXT", dir.Path()), real);
    EXPECT_EQ(NativePath("my docs/long report file.text", dir.Path()), real);
    EXPECT_EQ(NativePath(Backslashed(dir.Path()) + "\\mydocs~1\\longre~1.tex", "/elsewhere"), real);
}

TEST(BoardPath, SeparatorsRelativePathsAndDrives) {
    test::TempDir dir;
    test::WriteNative(dir.File("MAIL/EMAIL.DAT"), "");
    const std::string mail = dir.File("MAIL/EMAIL.DAT");
    EXPECT_EQ(NativePath("mail\\email.dat", dir.Path()), mail);
    EXPECT_EQ(NativePath(".\\MAIL\\\\EMAIL.DAT", dir.Path()), mail);
    EXPECT_EQ(NativePath("C:" + Backslashed(mail), "/elsewhere"), mail); // no drives here: from the root
    EXPECT_EQ(NativePath("", dir.Path()), dir.Path());
}

TEST(BoardPath, UnmatchedComponentsAreKeptForCreation) {
    test::TempDir dir;
    test::WriteNative(dir.File("MAIL/EMAIL.DAT"), "");
    EXPECT_EQ(NativePath("mail\\New File.txt", dir.Path()), dir.File("MAIL/New File.txt"));
    EXPECT_EQ(NativePath("NoDir\\mail\\x", dir.Path()), dir.File("NoDir/mail/x"));
    EXPECT_EQ(NativePath("mail\\NOSUCH~1.DAT", dir.Path()), dir.File("MAIL/NOSUCH~1.DAT"));
}

TEST(BoardPath, AliasesAreNumberedPastCollisionsInNameOrder) {
    test::TempDir dir;
    for (const char* n : {"Long Report Old.text", "Long Report File.text", "longre~1.tex", "readme.txt"})
        test::WriteNative(dir.File(n), n);

    EXPECT_EQ(ShortAlias(dir.Path(), "readme.txt"), "README.TXT");
    EXPECT_EQ(ShortAlias(dir.Path(), "longre~1.tex"), "LONGRE~1.TEX");
    EXPECT_EQ(ShortAlias(dir.Path(), "Long Report File.text"), "LONGRE~2.TEX");
    EXPECT_EQ(ShortAlias(dir.Path(), "Long Report Old.text"), "LONGRE~3.TEX");
    // A real file named like an alias wins over the alias of another file.
    EXPECT_EQ(NativePath("LONGRE~1.TEX", dir.Path()), dir.File("longre~1.tex"));
    EXPECT_EQ(NativePath("LONGRE~2.TEX", dir.Path()), dir.File("Long Report File.text"));
    EXPECT_EQ(NativePath("longre~3.tex", dir.Path()), dir.File("Long Report Old.text"));
    // A name not (yet) in the folder gets the alias it would get there.
    EXPECT_EQ(ShortAlias(dir.Path(), "Long Report New.text"), "LONGRE~3.TEX");
}

TEST(BoardPath, AliasShapes) {
    test::TempDir dir;
    for (int i = 0; i < 10; ++i) test::WriteNative(dir.File("Long Name " + std::to_string(i) + ".txt"), "");
    EXPECT_EQ(ShortAlias(dir.Path(), "Long Name 8.txt"), "LONGNA~9.TXT");
    EXPECT_EQ(ShortAlias(dir.Path(), "Long Name 9.txt"), "LONGN~10.TXT");
    EXPECT_EQ(NativePath("LONGN~10.TXT", dir.Path()), dir.File("Long Name 9.txt"));

    EXPECT_EQ(ShortAlias(dir.Path(), "my.file.tar.gz"), "MYFILE~1.GZ");
    test::WriteNative(dir.File("a+b=c d.te[t"), "");
    EXPECT_EQ(ShortAlias(dir.Path(), "a+b=c d.te[t"), "A_B_CD~1.TE_"); // blanks dropped, the rest "_"
    EXPECT_EQ(NativePath("a_b_cd~1.te_", dir.Path()), dir.File("a+b=c d.te[t"));
    EXPECT_EQ(ShortAlias(dir.Path(), ".profile"), "PROFIL~1");
    EXPECT_EQ(ShortAlias(dir.Path(), "Ab.c"), "AB.C");
    EXPECT_EQ(ShortAlias(dir.Path(), "abcdefghi"), "ABCDEF~1");
    EXPECT_EQ(ShortAlias(dir.Path(), "x.html"), "X~1.HTM");
}
