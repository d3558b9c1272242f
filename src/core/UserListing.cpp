#include "UserListing.h"

#include "StringHelpers.h"
#include "TextHelpers.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

#include <filesystem>
#include <system_error>

namespace kesto {

namespace {

Result<Bytes> ReadUserFile(const std::string& path) {
    // A pipe or device in the file's place would block the read or never end.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return Error(ErrorCode::FileAccess);
    return platform::ReadAll(path);
}

} // namespace

Result<void> ForEachListedUser(const Board& b,
                               const std::function<void(std::int32_t, const UserRecord&)>& visit) {
    const std::string path = BoardNativePath(b, b.paths.DataPath(), "USERFILE.DAT");
    if (!platform::IsFile(path)) return {};
    const Result<Bytes> data = Logged(b.log, "frmUserListing", "FillUserList", ReadUserFile(path));
    if (!data) return data.error();

    // Only whole records count; a partial trailing record is not a user.
    const std::size_t count = data->size() / kUserRecordSize;
    const std::string_view all(*data);
    for (std::size_t i = 0; i < count; ++i) {
        UserRecord u = DecodeUserRecord(all.substr(i * kUserRecordSize, kUserRecordSize));
        if (u.SecurityLevel >= 1) visit(static_cast<std::int32_t>(i + 1), u);
    }
    return {};
}

std::string UserListingLine(std::int32_t userNo, const UserRecord& u) {
    std::string line = StrPad(std::to_string(userNo) + ":", 6, " ", "PAD_RIGHT");
    line += ' ';
    line += StrPad(Trim(u.Handle), 20, " ", "PAD_RIGHT");
    line += "  ";
    line += Trim(u.RealName);
    return line;
}

Result<UserListing> FillUserList(const Board& b) {
    UserListing list;
    const Result<void> listed = ForEachListedUser(b, [&](std::int32_t n, const UserRecord& u) {
        list.numbers.push_back(n);
        list.lines.push_back(UserListingLine(n, u));
    });
    if (!listed) return listed.error();
    return list;
}

} // namespace kesto
