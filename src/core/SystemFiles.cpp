#include "SystemFiles.h"

#include "StringHelpers.h"
#include "TextHelpers.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

namespace kesto {
namespace {

constexpr std::string_view kModule = "modHALK";
constexpr std::int32_t kSeqLimit = 4000000;

// Calls fn with each line of a text file; CR LF, a lone CR and a lone LF all end
// a line, as files edited on other systems turn up on boards. fn returns false to stop.
template <class Fn> void ForEachLine(std::string_view text, Fn&& fn) {
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

// Reads one fixed-length record of a board file: the record decoded, or after a
// failure (logged under the routine's name) the layout's empty record and status -1.
template <class Decode>
auto ReadRecord(const Board& b, std::string_view routine, const std::string& path, std::int64_t record,
                std::size_t size, Decode decode, std::int16_t& status) {
    status = 0;
    decltype(decode(std::string_view{})) rec;
    if (!Guard(b.log, kModule, routine, [&] {
            if (record < 1) throw KestoError("Bad record number");
            Bytes buf;
            platform::ReadAt(path, (record - 1) * static_cast<std::int64_t>(size),
                             static_cast<std::int64_t>(size), buf);
            rec = decode(buf);
        })) {
        status = -1;
        rec = decode(std::string_view{});
    }
    return rec;
}

} // namespace

MainConfig GetMainCfg(const Board& b, std::int16_t& status) {
    return ReadRecord(b, "GetMainCfg", BoardNativePath(b, b.paths.MainPath(), "MAIN.CFG"), 1, kMainConfigSize,
                      DecodeMainConfig, status);
}

bool GetNetworkInfo(const Board& b, std::int16_t network, std::vector<std::string>& fields,
                    std::int16_t& status) {
    status = 0;
    fields.assign(8, std::string());
    bool found = false;
    if (!Guard(b.log, kModule, "GetNetworkInfo", [&] {
            if (network < 1) return;
            const std::string path = BoardNativePath(b, b.paths.DataPath(), "NETWORKS.LST");
            if (!platform::IsFile(path)) return;
            Bytes text;
            platform::ReadAll(path, text);
            ForEachLine(text, [&](std::string_view line) {
                if (Trim(line).empty()) return true;
                std::vector<std::string> pieces = Explode(",", line, 8, 8);
                if (NumericValue(pieces[0]) != network) return true;
                fields = std::move(pieces);
                found = true;
                return false;
            });
        })) {
        status = -1;
        fields.assign(8, std::string());
        found = false;
    }
    return found;
}

std::string GetNetEntry(const Board& b, std::int16_t network, std::string_view key, std::int16_t& status) {
    status = 0;
    std::string value;
    if (!Guard(b.log, kModule, "GetNetEntry", [&] {
            const std::string wanted = UpperAscii(Trim(key));
            if (network < 1 || wanted.empty()) return;
            const std::string path = BoardNativePath(b, b.paths.DataPath(), "NET." + std::to_string(network));
            if (!platform::IsFile(path)) return;
            Bytes text;
            platform::ReadAll(path, text);
            ForEachLine(text, [&](std::string_view line) {
                const std::vector<std::string> pieces = Explode("=", line, 2, 2);
                if (UpperAscii(Trim(pieces[0])) != wanted) return true;
                value = Trim(pieces[1]);
                return false;
            });
        })) {
        status = -1;
        value.clear();
    }
    return value;
}

NodeRecord GetNode(const Board& b, std::int16_t node, std::int16_t& status) {
    // Node n is record n + 1: node 0 is the first record.
    return ReadRecord(b, "GetNode", BoardNativePath(b, b.paths.NodePath(), "CONTROL.DAT"),
                      std::int64_t{node} + 1, kNodeRecordSize, DecodeNodeRecord, status);
}

std::int32_t GetSeqNum(const Board& b, std::int16_t& status) {
    status = 0;
    std::int32_t next = 0;
    if (!Guard(b.log, kModule, "GetSeqNum", [&] {
            const std::string path = BoardNativePath(b, b.paths.DataPath(), "DBSEQ.DAT");
            Bytes buf(4, '\0');
            if (platform::FileLengthOr(path) <= 0) {
                PutI32(buf, 0, 1);
                platform::WriteAt(path, 0, buf);
            }
            platform::ReadAt(path, 0, 4, buf);
            // Widened, so a damaged 2147483647 wraps to 1 instead of overflowing.
            std::int64_t value = static_cast<std::int64_t>(GetI32(buf, 0)) + 1;
            if (value >= kSeqLimit) value = 1;
            Bytes out(4, '\0');
            PutI32(out, 0, static_cast<std::int32_t>(value));
            platform::WriteAt(path, 0, out);
            next = static_cast<std::int32_t>(value);
        })) {
        status = -1;
        next = 0;
    }
    return next;
}

StatHbrdRecord GetStatHbrdDat(const Board& b, std::int16_t& status) {
    return ReadRecord(b, "GetStatHbrdDat", BoardNativePath(b, b.paths.DataPath(), "STATHBRD.DAT"), 1,
                      kStatHbrdSize, DecodeStatHbrd, status);
}

void PutStatHbrdDat(const Board& b, const StatHbrdRecord& rec, std::int16_t& status) {
    status = 0;
    if (!Guard(b.log, kModule, "PutStatHbrdDat", [&] {
            platform::WriteAt(BoardNativePath(b, b.paths.DataPath(), "STATHBRD.DAT"), 0, EncodeStatHbrd(rec));
        }))
        status = -1;
}

std::string OwnSystemId(const Board& b) {
    std::int16_t status = 0;
    std::string id = Trim(GetNetEntry(b, 1, "SYSTEMID", status));
    return id.empty() ? "0" : id;
}

std::string NetworkName(const Board& b, std::int16_t network) {
    std::int16_t status = 0;
    std::vector<std::string> fields;
    GetNetworkInfo(b, network, fields, status);
    std::string name = Trim(fields[2]);
    return name.empty() ? "Unknown" : name;
}

} // namespace kesto
