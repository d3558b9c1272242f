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
Result<std::int32_t> RoundTwips(float value) {
    double x = value;
    if (!std::isfinite(x)) return Error(ErrorCode::Overflow);
    double lower = std::floor(x);
    double diff = x - lower;
    double r = diff > 0.5 ? lower + 1 : diff < 0.5 ? lower : (std::fmod(lower, 2.0) == 0 ? lower : lower + 1);
    if (r < -2147483648.0 || r > 2147483647.0) return Error(ErrorCode::Overflow);
    return static_cast<std::int32_t>(r);
}

// Centre offset: the difference halved, truncating toward zero.
std::int32_t Centred(std::int32_t screen, std::int32_t window) {
    return static_cast<std::int32_t>((static_cast<std::int64_t>(screen) - window) / 2);
}

Result<void> WriteVersion(const Board& b) {
    const std::string path = MainFile(b, "HMRDATA.DAT");
    Bytes buf;
    if (platform::FileLengthIfAny(path)) {
        Result<Bytes> read = platform::ReadAt(path, 0, static_cast<std::int64_t>(kHmrDataSize));
        if (!read) return read.error();
        buf = std::move(*read);
    }
    // A record past the end reads as blank texts; the board's own bytes are kept as read.
    buf.resize(kHmrDataSize, ' ');
    HmrDataRecord rec = DecodeHmrData(buf);
    rec.Version = AppVersion; // padded to the field's width when encoded
    return platform::WriteAt(path, 0, EncodeHmrData(rec));
}

Result<ViewSettings> ReadSettings(const Board& b, const ScreenGeometry& g, const ViewSettings& defaults) {
    const std::string path = MainFile(b, "KESTO.DAT");
    if (!platform::IsFile(path)) {
        if (auto w = platform::WriteAt(path, 0, EncodeViewSettings(defaults)); !w) return w.error();
    }
    Result<Bytes> buf = platform::ReadAt(path, 0, static_cast<std::int64_t>(kViewSettingsSize));
    if (!buf) return buf.error();
    ViewSettings v = DecodeViewSettings(*buf);

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
    return v;
}

Result<void> WriteSettings(const Board& b, const LiveViewState& live) {
    ViewSettings v;
    for (auto [field, twips] :
         {std::pair{&v.Top, live.WindowTop}, std::pair{&v.Left, live.WindowLeft},
          std::pair{&v.Width, live.WindowWidth}, std::pair{&v.Height, live.WindowHeight}}) {
        Result<std::int32_t> rounded = RoundTwips(twips);
        if (!rounded) return rounded.error();
        *field = *rounded;
    }
    v.WindowState = live.WindowStateValue;
    v.SortedColumn = live.SortedColumn;
    v.SortOrder = live.SortOrder;
    v.ColumnWidths = live.ColumnWidths;

    // Record 1 is written in place, so a hard link and anything stored after the
    // record stay, and the main folder need not be writable. Only a missing file is
    // made whole beside it and renamed in, so no half-written one is ever seen.
    const std::string path = MainFile(b, "KESTO.DAT");
    const Bytes record = EncodeViewSettings(v);
    if (!platform::FileLengthIfAny(path)) return platform::ReplaceContents(path, record);
    return platform::WriteAt(path, 0, record);
}

} // namespace

std::optional<Board> LoadCfg(const std::string& startDir, const std::string& exeName, bool writeLog) {
    Board b;
    std::error_code ec;
    auto abs = std::filesystem::absolute(startDir.empty() ? std::string(".") : startDir, ec);
    b.startDir = ec ? startDir : abs.lexically_normal().string();
    while (b.startDir.size() > 1 && b.startDir.back() == '/') b.startDir.pop_back();
    // Absolute, so the log stays beside SYSPATHS.CFG whatever the current directory becomes.
    if (writeLog) b.log.path = b.startDir + "/HMRERROR.LOG";
    b.log.exeName = exeName;
    b.paths = DecodeSysPaths({});
    b.mainCfg = DecodeMainConfig({});

    const std::string sysPaths = platform::NativePath("SYSPATHS.CFG", b.startDir);
    if (!platform::IsFile(sysPaths)) return std::nullopt;

    const Result<Bytes> buf = Logged(b.log, kModule, "LoadCfg",
                                     platform::ReadAt(sysPaths, 0, static_cast<std::int64_t>(kSysPathsSize)));
    if (buf) {
        b.paths = DecodeSysPaths(*buf);
        // A missing MAIN.CFG is logged there; start-up goes on.
        b.mainCfg = GetMainCfg(b).value_or(DecodeMainConfig({}));
    }
    return b;
}

Result<void> StampVersion(const Board& b) {
    return Logged(b.log, kModule, "StampVersion", WriteVersion(b));
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
    return Logged(b.log, kModule, "LoadDat", ReadSettings(b, g, defaults)).value_or(defaults);
}

Result<void> SaveDat(const Board& b, const LiveViewState& live) {
    return Logged(b.log, kModule, "SaveDat", WriteSettings(b, live));
}

} // namespace kesto
