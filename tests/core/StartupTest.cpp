#include "Startup.h"

#include "Bytes.h"
#include "TestBoard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include <sys/stat.h>
#include <unistd.h>

using namespace kesto;
using namespace kesto::test;

namespace {

Bytes SysPathsBytes(std::initializer_list<std::pair<int, std::string>> fields) {
    Bytes b(400, ' ');
    for (const auto& [i, text] : fields) b.replace(static_cast<std::size_t>(i) * 40, text.size(), text);
    return b;
}

// A board whose MainPath is the start directory, enough for the settings routines.
Board MainOnlyBoard(const TempDir& dir) {
    WriteNative(dir.File("SYSPATHS.CFG"), SysPathsBytes({{0, "."}}));
    WriteNative(dir.File("MAIN.CFG"), Bytes(372, ' '));
    return LoadCfg(dir.Path()).value();
}

std::string LogText(const TempDir& dir) {
    return ReadNative(dir.File("HMRERROR.LOG"));
}

long LogLines(const TempDir& dir) {
    std::string log = LogText(dir);
    return std::count(log.begin(), log.end(), '\n');
}

// Screen 19200 x 14400 twips, the window at its initial 10455 x 6465.
const ScreenGeometry kScreen{19200, 14400, 10455, 6465};

Bytes SettingsBytes(std::int32_t top, std::int32_t left, std::int32_t width, std::int32_t height,
                    std::int32_t state, std::int16_t column, std::int16_t order,
                    std::array<std::int32_t, 6> widths) {
    Bytes b(48, '\0');
    PutI32(b, 0, top);
    PutI32(b, 4, left);
    PutI32(b, 8, width);
    PutI32(b, 12, height);
    PutI32(b, 16, state);
    PutI16(b, 20, column);
    PutI16(b, 22, order);
    for (int i = 0; i < 6; ++i)
        PutI32(b, 24 + 4 * static_cast<std::size_t>(i), widths[static_cast<std::size_t>(i)]);
    return b;
}

struct MainOnly : ::testing::Test {
    TempDir dir;
    Board b = MainOnlyBoard(dir);
};
using StampVersionTest = MainOnly;
using LoadDatTest = MainOnly;
using SaveDatTest = MainOnly;

} // namespace

TEST(LoadCfg, MissingPathFileTouchesNothing) {
    TempDir dir;
    EXPECT_EQ(LoadCfg(dir.Path()), std::nullopt);
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(LoadCfg, ReadsTrimmedFieldsAndMainConfigWithAbsoluteLog) {
    TempDir dir;
    WriteNative(dir.File("SYSPATHS.CFG"), SysPathsBytes({{0, "  cfg  "}, {2, " DATA"}, {7, "MAIL   x"}}));
    Bytes main(372, ' ');
    PutI16(main, 210, 7);
    PutI16(main, 242, 100);
    PutI16(main, 244, 20);
    WriteNative(dir.File("cfg/MAIN.CFG"), main);

    std::optional<Board> r = LoadCfg(dir.Path() + "/", "kesto");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->startDir, dir.Path());
    EXPECT_EQ(r->log.path, dir.Path() + "/HMRERROR.LOG");
    EXPECT_EQ(r->paths.MainPath(), "  cfg" + std::string(35, ' ')); // kept as stored
    EXPECT_EQ(r->paths.MailPath().substr(0, 9), "MAIL   x ");
    EXPECT_EQ(r->mainCfg.MaxNode, 7);
    EXPECT_EQ(r->mainCfg.SysopAttachLevel, 100);
    EXPECT_EQ(r->mainCfg.EmailAttachLevel, 20);
    EXPECT_EQ(LogLines(dir), 0);
}

TEST(LoadCfg, MissingMainConfigGoesOnWithEmptyRecordAndOneLogLine) {
    TempDir dir;
    WriteNative(dir.File("SYSPATHS.CFG"), SysPathsBytes({{0, "."}}));
    std::optional<Board> r = LoadCfg(dir.Path(), "kesto");
    ASSERT_TRUE(r);
    const MainConfig& c = r->mainCfg;
    EXPECT_EQ(std::tie(c.MaxNode, c.SysopAttachLevel, c.EmailAttachLevel), std::make_tuple(0, 0, 0));
    EXPECT_EQ(LogLines(dir), 1);
    EXPECT_NE(LogText(dir).find("kesto v1.0.060711  modHALK GetMainCfg - "), std::string::npos);
}

TEST_F(StampVersionTest, WritesOnlyItsFieldAndCreatesAMissingFile) {
    ASSERT_TRUE(StampVersion(b));
    EXPECT_EQ(ReadNative(dir.File("HMRDATA.DAT")),
              std::string(66, ' ') + "1.0.060711" + std::string(20, ' '));

    Bytes before;
    for (int i = 0; i < 96 * 2 + 10; ++i) before += static_cast<char>(i % 251);
    WriteNative(dir.File("HMRDATA.DAT"), before);
    ASSERT_TRUE(StampVersion(b));
    EXPECT_EQ(ReadNative(dir.File("HMRDATA.DAT")), Bytes(before).replace(66, 15, "1.0.060711     "));

    // A record cut short keeps its bytes; the rest reads as blanks.
    WriteNative(dir.File("HMRDATA.DAT"), "HMR230Halkmoor");
    ASSERT_TRUE(StampVersion(b));
    EXPECT_EQ(ReadNative(dir.File("HMRDATA.DAT")),
              "HMR230Halkmoor" + std::string(52, ' ') + "1.0.060711" + std::string(20, ' '));
}

TEST_F(LoadDatTest, MissingFileIsCreatedWithCentredDefaults) {
    ViewSettings v = LoadDat(b, kScreen);
    // (14400 - 6465) / 2 = 3967.5 and (19200 - 10455) / 2 = 4372.5, both truncated.
    EXPECT_EQ(EncodeViewSettings(v), ReadNative(dir.File("KESTO.DAT")));
    EXPECT_EQ(ReadNative(dir.File("KESTO.DAT")),
              SettingsBytes(3967, 4372, 10215, 5865, 0, 2, 1, {360, 800, 2000, 3500, 2500, 1000}));

    // A screen smaller than the window: -1465 / 2 and -1455 / 2, truncated toward zero.
    ViewSettings small = DefaultViewSettings({9000, 5000, 10455, 6465});
    EXPECT_EQ(small.Top, -732);
    EXPECT_EQ(small.Left, -727);
}

TEST_F(LoadDatTest, OffScreenPlacementIsCentredAtDefaultSizeKeepingState) {
    struct Case {
        std::int32_t top, left;
        bool reset;
    };
    const Case cases[] = {
        {14400, 19200, false},  // exactly at the right and bottom edge: still on screen
        {14401, 100, true},     // below the bottom edge
        {100, 19201, true},     // past the right edge
        {-6465, -10455, false}, // off by exactly the window's own size
        {-6466, 100, true},     {100, -10456, true},
    };
    for (const auto& c : cases) {
        WriteNative(dir.File("KESTO.DAT"),
                    SettingsBytes(c.top, c.left, 8000, 4000, 2, 3, 0, {400, 900, 2100, 3600, 2600, 1100}));
        ViewSettings v = LoadDat(b, kScreen);
        SCOPED_TRACE(std::to_string(c.top) + "," + std::to_string(c.left));
        EXPECT_EQ(v.Top, c.reset ? 3967 : c.top);
        EXPECT_EQ(v.Left, c.reset ? 4372 : c.left);
        EXPECT_EQ(v.Width, c.reset ? 10215 : 8000);
        EXPECT_EQ(v.Height, c.reset ? 5865 : 4000);
        EXPECT_EQ(v.WindowState, 2);
        EXPECT_EQ(v.SortedColumn, 3);
        EXPECT_EQ(v.SortOrder, 0);
    }
}

TEST_F(LoadDatTest, ValidatesSortAndColumnWidths) {
    struct Case {
        std::int16_t column, order, expectColumn, expectOrder;
    };
    const Case cases[] = {{0, 5, 2, 1}, {7, -1, 2, 0}, {1, 1, 1, 1}, {6, 0, 6, 0}, {-3, 32767, 2, 1}};
    for (const auto& c : cases) {
        WriteNative(dir.File("KESTO.DAT"),
                    SettingsBytes(0, 0, 9000, 5000, 0, c.column, c.order, {99, 100, 0, -5, 101, 5000}));
        ViewSettings v = LoadDat(b, kScreen);
        EXPECT_EQ(v.SortedColumn, c.expectColumn) << c.column;
        EXPECT_EQ(v.SortOrder, c.expectOrder) << c.order;
        std::array<std::int32_t, 6> widths{360, 100, 2000, 3500, 101, 5000};
        EXPECT_EQ(v.ColumnWidths, widths);
    }
}

TEST_F(LoadDatTest, UnreadableFileGivesDefaultsAndOneLogLine) {
    std::filesystem::create_directory(dir.File("KESTO.DAT"));
    ViewSettings v = LoadDat(b, kScreen);
    EXPECT_EQ(v.Top, 3967);
    EXPECT_EQ(v.Width, 10215);
    EXPECT_EQ(LogLines(dir), 1);
    EXPECT_NE(LogText(dir).find("modKesto LoadDat - "), std::string::npos);
}

TEST_F(SaveDatTest, RoundsHalvesToEvenAndWritesRecordOne) {
    LiveViewState live;
    live.WindowTop = 2.5f;
    live.WindowLeft = 3.5f;
    live.WindowWidth = -2.5f;
    live.WindowHeight = 1234.4999f;
    live.WindowStateValue = 2;
    live.SortedColumn = 5;
    live.SortOrder = 0;
    live.ColumnWidths = {361, 801, 2001, 3501, 2501, 1001};
    ASSERT_TRUE(SaveDat(b, live));
    EXPECT_EQ(ReadNative(dir.File("KESTO.DAT")),
              SettingsBytes(2, 4, -2, 1234, 2, 5, 0, {361, 801, 2001, 3501, 2501, 1001}));

    live.WindowTop = 10214.5f;
    live.WindowLeft = 10215.5f;
    live.WindowWidth = 10215.51f;
    live.WindowHeight = -0.5f;
    ASSERT_TRUE(SaveDat(b, live));
    Bytes rec = ReadNative(dir.File("KESTO.DAT"));
    EXPECT_EQ(GetI32(rec, 0), 10214);
    EXPECT_EQ(GetI32(rec, 4), 10216);
    EXPECT_EQ(GetI32(rec, 8), 10216);
    EXPECT_EQ(GetI32(rec, 12), 0);
}

TEST_F(SaveDatTest, WritesRecordOneInPlaceKeepingLinksAndLaterBytes) {
    const std::string path = dir.File("KESTO.DAT");
    const Bytes later = "board-added bytes past record 1";
    WriteNative(path, SettingsBytes(1, 2, 3000, 4000, 0, 2, 1, {360, 800, 2000, 3500, 2500, 1000}) + later);
    std::filesystem::create_hard_link(path, dir.File("KESTO.LNK"));
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);

    LiveViewState live;
    live.WindowTop = 10;
    live.WindowLeft = 20;
    live.WindowWidth = 5000;
    live.WindowHeight = 6000;
    ASSERT_TRUE(SaveDat(b, live));
    const Bytes expected =
        SettingsBytes(10, 20, 5000, 6000, 0, 2, 1, {360, 800, 2000, 3500, 2500, 1000}) + later;
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_nlink, 2u);
    EXPECT_EQ(ReadNative(path), expected);
    EXPECT_EQ(ReadNative(dir.File("KESTO.LNK")), expected);
}

TEST_F(SaveDatTest, AWritableFileInAReadOnlyFolderIsSaved) {
    // Root writes into any folder, so a read-only one proves nothing there.
    if (::geteuid() == 0) GTEST_SKIP() << "root is not held back by folder permissions";
    WriteNative(dir.File("KESTO.DAT"), Bytes(48, '\0'));
    LiveViewState live;
    live.WindowWidth = 5000;
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    const Result<void> saved = SaveDat(b, live);
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    ASSERT_TRUE(saved);
    EXPECT_EQ(GetI32(ReadNative(dir.File("KESTO.DAT")), 8), 5000);
}

TEST_F(SaveDatTest, FailureLeavesTheFileAsItWas) {
    const Bytes before = SettingsBytes(1, 2, 3000, 4000, 0, 2, 1, {360, 800, 2000, 3500, 2500, 1000});
    WriteNative(dir.File("KESTO.DAT"), before);
    LiveViewState live;
    live.WindowWidth = 3e9f; // past a 32-bit field
    EXPECT_FALSE(SaveDat(b, live));
    EXPECT_EQ(ReadNative(dir.File("KESTO.DAT")), before);
    EXPECT_EQ(LogLines(dir), 1);
    EXPECT_NE(LogText(dir).find("modKesto SaveDat - Overflow"), std::string::npos);

    std::filesystem::remove(dir.File("KESTO.DAT"));
    std::filesystem::create_symlink("/dev/full", dir.File("KESTO.DAT"));
    EXPECT_FALSE(SaveDat(b, LiveViewState{}));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("KESTO.DAT")));
    EXPECT_NE(LogText(dir).find("modKesto SaveDat - Disk full"), std::string::npos);
}
