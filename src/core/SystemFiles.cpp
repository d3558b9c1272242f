#include "SystemFiles.h"

#include "StringHelpers.h"
#include "TextHelpers.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

#include <limits>

namespace kesto {
namespace {

constexpr std::string_view kModule = "modHALK";
constexpr std::int32_t kSeqLimit = 4000000;

// Calls fn with each line of a text file; CR LF, a lone CR and a lone LF all end
// a line, as files edited on other systems turn up on boards. fn returns false to stop.
template <class Fn>
void ForEachLine(std::string_view text, Fn&& fn) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        std::string_view line =
            text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!fn(line)) return;
        if (end == std::string_view::npos) return;
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
}

// Reads one fixed-length record of a board file and decodes it.
template <class Decode>
auto ReadRecord(const std::string& path, std::int64_t record, std::size_t size, Decode decode)
    -> Result<decltype(decode(std::string_view{}))> {
    if (record < 1) return Error(ErrorCode::BadRecordNumber);
    Result<Bytes> buf = platform::ReadAt(path, (record - 1) * static_cast<std::int64_t>(size),
                                         static_cast<std::int64_t>(size));
    if (!buf) return buf.error();
    return decode(*buf);
}

Result<std::optional<NetworkFields>> FindNetwork(const Board& b, std::int16_t network) {
    std::optional<NetworkFields> found;
    if (network < 1) return found;
    const std::string path = BoardNativePath(b, b.paths.DataPath(), "NETWORKS.LST");
    if (!platform::IsFile(path)) return found;
    Result<Bytes> text = platform::ReadAll(path);
    if (!text) return text.error();
    ForEachLine(*text, [&](std::string_view line) {
        if (Trim(line).empty()) return true;
        std::vector<std::string> pieces = Explode(",", line, 8, 8);
        if (NumericValue(pieces[0]) != network) return true;
        found.emplace();
        std::move(pieces.begin(), pieces.end(), found->begin());
        return false;
    });
    return found;
}

Result<std::string> FindNetEntry(const Board& b, std::int16_t network, std::string_view key) {
    std::string value;
    const std::string wanted = UpperAscii(Trim(key));
    if (network < 1 || wanted.empty()) return value;
    const std::string path = BoardNativePath(b, b.paths.DataPath(), "NET." + std::to_string(network));
    if (!platform::IsFile(path)) return value;
    Result<Bytes> text = platform::ReadAll(path);
    if (!text) return text.error();
    ForEachLine(*text, [&](std::string_view line) {
        const std::vector<std::string> pieces = Explode("=", line, 2, 2);
        if (UpperAscii(Trim(pieces[0])) != wanted) return true;
        value = Trim(pieces[1]);
        return false;
    });
    return value;
}

Result<std::int32_t> NextSeqNum(const Board& b) {
    const std::string path = BoardNativePath(b, b.paths.DataPath(), "DBSEQ.DAT");
    Bytes buf(4, '\0');
    if (platform::FileLengthIfAny(path).value_or(0) <= 0) {
        PutI32(buf, 0, 1);
        if (auto w = platform::WriteAt(path, 0, buf); !w) return w.error();
    }
    Result<Bytes> stored = platform::ReadAt(path, 0, 4);
    if (!stored) return stored.error();
    // The counter is 32-bit: a damaged 2147483647 has no next number, and stays as it is.
    const std::int32_t last = GetI32(*stored, 0);
    if (last == std::numeric_limits<std::int32_t>::max()) return Error(ErrorCode::Overflow);
    const std::int32_t value = last + 1 >= kSeqLimit ? 1 : last + 1;
    PutI32(buf, 0, value);
    if (auto w = platform::WriteAt(path, 0, buf); !w) return w.error();
    return value;
}

} // namespace

Result<MainConfig> GetMainCfg(const Board& b) {
    return Logged(
        b.log, kModule, "GetMainCfg",
        ReadRecord(BoardNativePath(b, b.paths.MainPath(), "MAIN.CFG"), 1, kMainConfigSize, DecodeMainConfig));
}

Result<std::optional<NetworkFields>> GetNetworkInfo(const Board& b, std::int16_t network) {
    return Logged(b.log, kModule, "GetNetworkInfo", FindNetwork(b, network));
}

Result<std::string> GetNetEntry(const Board& b, std::int16_t network, std::string_view key) {
    return Logged(b.log, kModule, "GetNetEntry", FindNetEntry(b, network, key));
}

Result<NodeRecord> GetNode(const Board& b, std::int16_t node) {
    // Node n is record n + 1: node 0 is the first record.
    return Logged(b.log, kModule, "GetNode",
                  ReadRecord(BoardNativePath(b, b.paths.NodePath(), "CONTROL.DAT"), std::int64_t{node} + 1,
                             kNodeRecordSize, DecodeNodeRecord));
}

Result<std::int32_t> GetSeqNum(const Board& b) {
    return Logged(b.log, kModule, "GetSeqNum", NextSeqNum(b));
}

Result<StatHbrdRecord> GetStatHbrdDat(const Board& b) {
    return Logged(
        b.log, kModule, "GetStatHbrdDat",
        ReadRecord(BoardNativePath(b, b.paths.DataPath(), "STATHBRD.DAT"), 1, kStatHbrdSize, DecodeStatHbrd));
}

Result<void> PutStatHbrdDat(const Board& b, const StatHbrdRecord& rec) {
    return Logged(
        b.log, kModule, "PutStatHbrdDat",
        platform::WriteAt(BoardNativePath(b, b.paths.DataPath(), "STATHBRD.DAT"), 0, EncodeStatHbrd(rec)));
}

std::string OwnSystemId(const Board& b) {
    std::string id = Trim(GetNetEntry(b, 1, "SYSTEMID").value_or(""));
    return id.empty() ? "0" : id;
}

std::string NetworkName(const Board& b, std::int16_t network) {
    const std::optional<NetworkFields> fields = GetNetworkInfo(b, network).value_or(std::nullopt);
    std::string name = fields ? Trim((*fields)[2]) : std::string();
    return name.empty() ? "Unknown" : name;
}

} // namespace kesto
