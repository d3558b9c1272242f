#include "FileHelpers.h"
#include "TextHelpers.h"
#include "HalkTestBoard.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kesto;
using namespace kesto::test;

namespace {

struct FileHelpers : ::testing::Test {
    TempDir dir;
    Board b;
    FileHelpers() {
        b.startDir = dir.Path();
        b.log = ErrorLog{dir.File("HMRERROR.LOG"), "kesto"};
    }
};

} // namespace

TEST_F(FileHelpers, ExistenceChecksNeverLog) {
    WriteNative(dir.File("Board/EMAIL.DAT"), "x");

    EXPECT_TRUE(FileExists(b, "  board\\email.dat "));
    EXPECT_FALSE(FolderExists(b, "board\\email.dat"));
    EXPECT_TRUE(FolderExists(b, "BOARD"));
    EXPECT_FALSE(FileExists(b, "BOARD"));
    EXPECT_FALSE(FileExists(b, "board\\nothing.dat"));
    EXPECT_FALSE(FolderExists(b, "nowhere\\deeper"));
    EXPECT_FALSE(FileExists(b, "   "));
    EXPECT_TRUE(FileExists(b, dir.File("Board/EMAIL.DAT"))); // absolute paths as they are

    // Patterns match the last component, letter case ignored; a file search skips folders.
    EXPECT_TRUE(FolderExists(b, "board\\*.dat"));
    EXPECT_TRUE(FileExists(b, "BOARD\\e?ail.*"));
    EXPECT_FALSE(FileExists(b, "board\\*.bin"));
    EXPECT_TRUE(FolderExists(b, "bo*"));
    EXPECT_FALSE(FileExists(b, "bo*"));
    EXPECT_TRUE(FolderExists(b, "board", true));
    EXPECT_TRUE(LogLines(b).empty());
}

TEST_F(FileHelpers, CreateFileKeepsOrEmptiesAndLogsFailures) {
    WriteNative(dir.File("AB1.DAT"), "entry\r\n");
    EXPECT_TRUE(CreateFile(b, "ab1.dat", false));
    EXPECT_EQ(ReadNative(dir.File("AB1.DAT")), "entry\r\n");
    EXPECT_TRUE(CreateFile(b, "AB1.DAT ", true));
    EXPECT_EQ(ReadNative(dir.File("AB1.DAT")), "");
    EXPECT_TRUE(CreateFile(b, "AB2.DAT", false));
    EXPECT_TRUE(std::filesystem::exists(dir.File("AB2.DAT")));
    EXPECT_TRUE(LogLines(b).empty());

    EXPECT_FALSE(CreateFile(b, "missing\\AB3.DAT", false));
    std::filesystem::create_directory(dir.File("ADIR"));
    EXPECT_FALSE(CreateFile(b, "ADIR", true));
    std::string log = ReadNative(b.log.path);
    EXPECT_EQ(LogLines(b).size(), 2u);
    EXPECT_NE(log.find("  modCommonFunctions CreateFile - Path not found\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("  modCommonFunctions CreateFile - Path/File access error\r\n"), std::string::npos)
        << log;
}

TEST_F(FileHelpers, ReadFileContentsDropsTrailingLineEnds) {
    WriteNative(dir.File("EMAIL.TAG"), "--\r\nTag line \r\n\r\n\r\n");
    EXPECT_EQ(*ReadFileContents(b, "email.tag"), "--\r\nTag line ");
    WriteNative(dir.File("MIXED.TXT"), "a\rb\nc\r\n\r\n \r\n");
    EXPECT_EQ(*ReadFileContents(b, "MIXED.TXT", true), "a\rb\nc\r\n\r\n ");
    EXPECT_EQ(*ReadFileContents(b, "MIXED.TXT", false), "a\r\nb\r\nc\r\n\r\n ");
    WriteNative(dir.File("BLANKS.TXT"), "   ");
    EXPECT_EQ(*ReadFileContents(b, "BLANKS.TXT"), "   ");
    EXPECT_EQ(*ReadFileContents(b, "NONE.TXT"), "");
    std::filesystem::create_directory(dir.File("ADIR"));
    EXPECT_EQ(*ReadFileContents(b, "ADIR"), "");
    EXPECT_TRUE(LogLines(b).empty()); // missing files and folders are no failure
}

TEST_F(FileHelpers, ReadFileContentsLogsAFileThatCannotBeOpened) {
    ASSERT_TRUE(MakeSocket(dir.File("SOCK")));
    EXPECT_FALSE(ReadFileContents(b, "sock"));
    EXPECT_EQ(LogLines(b).size(), 1u);
    EXPECT_NE(ReadNative(b.log.path).find("  modCommonFunctions ReadFileContents - "), std::string::npos);
}

TEST_F(FileHelpers, WriteToFileAppendsExactBytes) {
    EXPECT_TRUE(WriteToFile(b, "SAVED.TXT", "line 1"));
    EXPECT_TRUE(WriteToFile(b, "saved.txt ", "tail", true));
    EXPECT_TRUE(WriteToFile(b, "SAVED.TXT", ""));
    EXPECT_EQ(ReadNative(dir.File("SAVED.TXT")), "line 1\r\ntail\r\n");
    EXPECT_FALSE(WriteToFile(b, "  ", "x"));
    EXPECT_TRUE(LogLines(b).empty());

    EXPECT_FALSE(WriteToFile(b, "/dev/full", "x"));
    EXPECT_FALSE(WriteToFile(b, "nodir\\SAVED.TXT", "x"));
    EXPECT_FALSE(std::filesystem::exists(dir.File("nodir")));
    std::string log = ReadNative(b.log.path);
    EXPECT_EQ(LogLines(b).size(), 2u);
    EXPECT_NE(log.find("  modCommonFunctions WriteToFile - Disk full\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("  modCommonFunctions WriteToFile - Path not found\r\n"), std::string::npos) << log;
}

TEST_F(FileHelpers, BasenameLongAndShortNames) {
    EXPECT_EQ(GetFileBasename("C:\\board\\mail\\EMAIL.TAG"), "EMAIL.TAG");
    EXPECT_EQ(GetFileBasename(" /home/sysop/File Name.txt "), "File Name.txt");
    EXPECT_EQ(GetFileBasename("EMAIL.TAG"), "EMAIL.TAG");
    EXPECT_EQ(GetFileBasename("dir\\"), "");
    EXPECT_EQ(GetFileBasename("  "), "");

    WriteNative(dir.File("Program Files/Board/Long Report File.text"), "x");

    std::string shortName = GetShortFilename(b, "program files\\board\\long report file.text");
    EXPECT_EQ(shortName, "program files\\board\\LONGRE~1.TEX");
    EXPECT_TRUE(FileExists(b, shortName));
    // The attachment picker's round trip: an absolute path, shortened, upper-cased, opened, lengthened.
    std::string picked =
        UpperAscii(GetShortFilename(b, dir.File("Program Files/Board/Long Report File.text")));
    EXPECT_EQ(picked.substr(picked.size() - 13), "/LONGRE~1.TEX");
    EXPECT_TRUE(FileExists(b, picked));
    EXPECT_EQ(GetLongFilename(b, picked), dir.File("Program Files/Board/Long Report File.text"));
    EXPECT_EQ(GetShortFilename(b, "PROGRA~1\\board"), "PROGRA~1\\BOARD");
    EXPECT_EQ(GetShortFilename(b, "Program Files\\none.txt"), "");

    EXPECT_EQ(GetLongFilename(b, "PROGRA~1\\BOARD\\longre~1.tex"),
              "Program Files\\Board\\Long Report File.text");
    EXPECT_EQ(GetLongFilename(b, "program files/board"), "Program Files/Board");
    EXPECT_EQ(GetLongFilename(b, "PROGRA~1\\NOSUCH\\x"), "");
    // Drives do not exist here: "X:" is dropped and the rest taken from the root.
    std::string abs = dir.File("PROGRA~1/BOARD");
    EXPECT_EQ(GetLongFilename(b, "c:" + abs), dir.File("Program Files/Board"));
    EXPECT_TRUE(LogLines(b).empty());
}
