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

// Read, advanced and written back under the lock, so two copies of Kesto never
// hand out the same number.
Result<std::int32_t> NextSeqNum(const Board& b) {
    const std::string path = BoardNativePath(b, b.paths.DataPath(), "DBSEQ.DAT");
    Result<platform::LockedFile> file = platform::LockedFile::Open(path, 0, 4, true);
    if (!file) return file.error();
    Bytes buf(4, '\0');
    Result<std::int64_t> length = file->Length();
    if (!length) return length.error();
    if (*length <= 0) {
        PutI32(buf, 0, 1);
        if (auto w = file->WriteAt(0, buf); !w) return w.error();
    }
    Result<Bytes> stored = file->ReadAt(0, 4);
    if (!stored) return stored.error();
    // The counter is 32-bit: a damaged 2147483647 has no next number, and stays as it is.
    const std::int32_t last = GetI32(*stored, 0);
    if (last == std::numeric_limits<std::int32_t>::max()) return Error(ErrorCode::Overflow);
    const std::int32_t value = last + 1 >= kSeqLimit ? 1 : last + 1;
    PutI32(buf, 0, value);
    if (auto w = file->WriteAt(0, buf); !w) return w.error();
    if (auto c = file->Close(); !c) return c.error();
    return value;
}

// The two counters advanced under the lock. A file that is there but cannot be read
// is not rewritten with invented counters; a missing one is started afresh.
Result<void> CountMessage(const Board& b) {
    const std::string path = BoardNativePath(b, b.paths.DataPath(), "STATHBRD.DAT");
    const bool missing = !platform::IsFile(path) && !platform::IsDirectory(path);
    if (missing) LogFailure(b.log, kModule, "GetStatHbrdDat", Error(ErrorCode::FileNotFound));
    Result<platform::LockedFile> file = platform::LockedFile::Open(path, 0, kStatHbrdSize, missing);
    if (!file) {
        const bool locked = file.error().code == ErrorCode::Locked;
        LogFailure(b.log, kModule, missing || locked ? "PutStatHbrdDat" : "GetStatHbrdDat", file.error());
        if (locked) return file.error();
        return {};
    }
    Result<Bytes> raw = Logged(b.log, kModule, "GetStatHbrdDat", file->ReadAt(0, kStatHbrdSize));
    if (!raw) return {};
    StatHbrdRecord counted = DecodeStatHbrd(*raw);
    if (counted.MailCount == std::numeric_limits<std::int32_t>::max() ||
        counted.MessageCount == std::numeric_limits<std::int32_t>::max())
        return Error(ErrorCode::Overflow);
    ++counted.MailCount;
    ++counted.MessageCount;
    // Only the two counters go back (the board keeps its others in the same record),
    // unless the record is not whole yet.
    const Bytes record = EncodeStatHbrd(counted);
    constexpr std::size_t first = PlaceOf<&StatHbrdRecord::MessageCount>().offset;
    constexpr std::size_t end = PlaceOf<&StatHbrdRecord::MailCount>().offset + 4;
    static_assert(end - first == 8, "the two counters lie side by side");
    const bool whole = raw->size() == kStatHbrdSize;
    (void)Logged(b.log, kModule, "PutStatHbrdDat",
                 whole ? file->WriteAt(first, std::string_view(record).substr(first, end - first))
                       : file->WriteAt(0, record));
    return {};
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

Result<void> AddToStatHbrdDat(const Board& b) {
    return CountMessage(b);
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
