#include "TestBoard.h"

#include "MailBase.h"
#include "Records.h"
#include "platform/BoardPath.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace kesto::test {

TempDir::TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kesto-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ec);
    std::filesystem::remove_all(path_, ec);
}

std::string ReadNative(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteNative(const std::string& path, std::string_view bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::map<std::string, std::string> SnapshotTree(const std::string& dir) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir))
        if (e.is_regular_file())
            files[std::filesystem::relative(e.path(), dir).string()] = ReadNative(e.path().string());
    return files;
}

void WriteLargeMailbox(const Board& b, std::string_view mailbox, std::int32_t count,
                       const MessageInfo& like) {
    const std::string body = "Body.";
    std::string index;
    index.reserve(static_cast<std::size_t>(count) * kMessageInfoSize);
    MessageInfo m = like;
    m.MsgPos = 1;
    m.MsgLength = static_cast<std::int32_t>(body.size());
    for (std::int32_t n = 1; n <= count; ++n) {
        m.Subject = "Message " + std::to_string(n);
        index += EncodeMessageInfo(m);
    }
    WriteNative(platform::NativePath(MailboxFile(b, mailbox, ".DAT"), b.startDir), index);
    WriteNative(platform::NativePath(MailboxFile(b, mailbox, ".BIN"), b.startDir), body);
}

} // namespace kesto::test
