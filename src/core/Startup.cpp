#include "Startup.h"

#include "SystemFiles.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

#include <cmath>
#include <filesystem>
#include <system_error>

namespace kesto {
namespace {

constexpr std::string_view kModule = "modKesto";
constexpr std::int32_t kDefaultWidth = 10215;
constexpr std::int32_t kDefaultHeight = 5865;

std::string MainFile(const Board& b, std::string_view name) {
    return BoardNativePath(b, b.paths.MainPath(), name);
}

// Nearest whole number, halves to the even neighbour, as the window's single-precision
// twips are stored; a value that does not fit a 32-bit field is an overflow.
std::int32_t RoundTwips(float value) {
    double x = value;
    if (!std::isfinite(x)) throw KestoError("Overflow");
    double lower = std::floor(x);
    double diff = x - lower;
    double r = diff > 0.5 ? lower + 1 : diff < 0.5 ? lower : (std::fmod(lower, 2.0) == 0 ? lower : lower + 1);
    if (r < -2147483648.0 || r > 2147483647.0) throw KestoError("Overflow");
    return static_cast<std::int32_t>(r);
}

// Centre offset: the difference halved, truncating toward zero.
std::int32_t Centred(std::int32_t screen, std::int32_t window) {
    return static_cast<std::int32_t>((static_cast<std::int64_t>(screen) - window) / 2);
}

} // namespace

LoadCfgResult LoadCfg(const std::string& startDir, const std::string& exeName) {
    LoadCfgResult result;
    Board& b = result.board;
    std::error_code ec;
    auto abs = std::filesystem::absolute(startDir.empty() ? std::string(".") : startDir, ec);
    b.startDir = ec ? startDir : abs.lexically_normal().string();
    while (b.startDir.size() > 1 && b.startDir.back() == '/')
        b.startDir.pop_back();
    // Absolute, so the log stays beside SYSPATHS.CFG whatever the current directory becomes.
    b.log.path = b.startDir + "/HMRERROR.LOG";
    b.log.exeName = exeName;
    b.paths = DecodeSysPaths({});
    b.mainCfg = DecodeMainConfig({});

    const std::string sysPaths = platform::NativePath("SYSPATHS.CFG", b.startDir);
    if (!platform::IsFile(sysPaths)) return result;
    result.found = true;

    Guard(b.log, kModule, "LoadCfg", [&] {
        Bytes buf;
        platform::ReadAt(sysPaths, 0, static_cast<std::int64_t>(kSysPathsSize), buf);
        b.paths = DecodeSysPaths(buf);
        std::int16_t status = 0;
        b.mainCfg = GetMainCfg(b, status); // a missing MAIN.CFG is logged there; start-up goes on
    });
    return result;
}

void StampVersion(const Board& b) {
    Guard(b.log, kModule, "StampVersion", [&] {
        const std::string path = MainFile(b, "HMRDATA.DAT");
        Bytes buf;
        if (platform::FileLengthOr(path) >= 0)
            platform::ReadAt(path, 0, static_cast<std::int64_t>(kHmrDataSize), buf);
        // A record past the end reads as blank texts; the board's own bytes are kept as read.
        buf.resize(kHmrDataSize, ' ');
        HmrDataRecord rec = DecodeHmrData(buf);
        rec.Version = AppVersion; // padded to the field's width when encoded
        platform::WriteAt(path, 0, EncodeHmrData(rec));
    });
}

ViewSettings DefaultViewSettings(const ScreenGeometry& g) {
    ViewSettings v;
    v.Top = Centred(g.screenHeight, g.windowHeight);
    v.Left = Centred(g.screenWidth, g.windowWidth);
    v.Width = kDefaultWidth;
    v.Height = kDefaultHeight;
    v.WindowState = 0;
    v.SortedColumn = 2;
    v.SortOrder = 1;
    v.ColumnWidths = {360, 800, 2000, 3500, 2500, 1000};
    return v;
}

ViewSettings LoadDat(const Board& b, const ScreenGeometry& g) {
    const ViewSettings defaults = DefaultViewSettings(g);
    ViewSettings v = defaults;
    Guard(b.log, kModule, "LoadDat", [&] {
        const std::string path = MainFile(b, "KESTO.DAT");
        if (!platform::IsFile(path)) platform::WriteAt(path, 0, EncodeViewSettings(defaults));

        Bytes buf;
        platform::ReadAt(path, 0, static_cast<std::int64_t>(kViewSettingsSize), buf);
        v = DecodeViewSettings(buf);

        if (v.Top > g.screenHeight || v.Left > g.screenWidth ||
            v.Top < -static_cast<std::int64_t>(g.windowHeight) ||
            v.Left < -static_cast<std::int64_t>(g.windowWidth)) {
            v.Top = defaults.Top;
            v.Left = defaults.Left;
            v.Width = kDefaultWidth;
            v.Height = kDefaultHeight;
        }
        if (v.SortedColumn < 1 || v.SortedColumn > 6) v.SortedColumn = 2;
        v.SortOrder = v.SortOrder >= 1 ? 1 : 0;
        for (std::size_t i = 0; i < v.ColumnWidths.size(); ++i)
            if (v.ColumnWidths[i] < 100) v.ColumnWidths[i] = defaults.ColumnWidths[i];
    });
    return v;
}

bool SaveDat(const Board& b, const LiveViewState& live) {
    return Guard(b.log, kModule, "SaveDat", [&] {
        ViewSettings v;
        v.Top = RoundTwips(live.WindowTop);
        v.Left = RoundTwips(live.WindowLeft);
        v.Width = RoundTwips(live.WindowWidth);
        v.Height = RoundTwips(live.WindowHeight);
        v.WindowState = live.WindowStateValue;
        v.SortedColumn = live.SortedColumn;
        v.SortOrder = live.SortOrder;
        v.ColumnWidths = live.ColumnWidths;

        // Record 1 is replaced in a whole new file, so a failed write leaves the old one;
        // anything stored after record 1 is carried over.
        const std::string path = MainFile(b, "KESTO.DAT");
        Bytes contents;
        if (platform::FileLengthOr(path) >= 0) platform::ReadAll(path, contents);
        Bytes record = EncodeViewSettings(v);
        if (contents.size() < record.size()) contents.resize(record.size());
        contents.replace(0, record.size(), record);
        platform::ReplaceContents(path, contents);
    });
}

} // namespace kesto
