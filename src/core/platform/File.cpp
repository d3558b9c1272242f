#include "File.h"

#include "../ErrorLog.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kesto::platform {
namespace {

std::string ParentOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool DirExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The board's own wording for what went wrong, so log lines read the same on every system.
[[noreturn]] void Fail(int err, const std::string& path) {
    switch (err) {
    case ENOENT:
        throw KestoError(DirExists(ParentOf(path)) ? "File not found" : "Path not found");
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        throw KestoError("Path not found");
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        throw KestoError("Permission denied");
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        throw KestoError("Disk full");
    case EISDIR:
        throw KestoError("Path/File access error");
    default:
        throw KestoError("Bad file name or number");
    }
}

// Owns one descriptor for the length of a call; a close failure on the write
// paths is reported by Close(), a close in the destructor only cleans up.
class Fd {
  public:
    Fd(const std::string& path, int flags) : path_(path) {
        do {
            // Non-blocking only matters for a FIFO planted in place of a board file: it fails
            // or reads empty instead of waiting forever. Regular files ignore the flag.
            fd_ = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
        } while (fd_ < 0 && errno == EINTR);
        if (fd_ < 0) Fail(errno, path);
    }
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int get() const { return fd_; }

    struct stat Stat() const {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) Fail(errno, path_);
        return st;
    }

    // A directory opens fine for reading on Linux; the board treats it as a bad target.
    void RequireNotDirectory() const {
        if (S_ISDIR(Stat().st_mode)) throw KestoError("Path/File access error");
    }

    void WriteAll(std::string_view bytes, std::int64_t offset) const {
        std::size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = offset >= 0 ? ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                                               static_cast<off_t>(offset + static_cast<std::int64_t>(done)))
                                    : ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (n < 0) {
                if (errno == EINTR) continue;
                Fail(errno, path_);
            }
            if (n == 0) throw KestoError("Disk full");
            done += static_cast<std::size_t>(n);
        }
    }

    void Sync() const {
        // Devices and some file systems cannot sync; only a real failure counts.
        if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) Fail(errno, path_);
    }

    void Close() {
        int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0 && errno != EINTR) Fail(errno, path_);
    }

  private:
    std::string path_;
    int fd_ = -1;
};

// Reads up to `length` bytes at `offset` into out; returns the count read.
std::size_t ReadInto(const Fd& fd, std::int64_t offset, std::size_t length, Bytes& out,
                     const std::string& path) {
    out.resize(length);
    std::size_t done = 0;
    while (done < length) {
        ssize_t n = ::pread(fd.get(), out.data() + done, length - done,
                            static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail(errno, path);
        }
        if (n == 0) break; // the file shrank under us: keep what is there
        done += static_cast<std::size_t>(n);
    }
    out.resize(done);
    return done;
}

std::string TempNameBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    unsigned salt = static_cast<unsigned>(std::time(nullptr)) ^ (counter.fetch_add(1) * 2654435761u);
    return ParentOf(path) + "/.kesto-" + std::to_string(::getpid()) + "-" + std::to_string(salt) + ".tmp";
}

} // namespace

bool IsFile(const std::string& nativePath) noexcept {
    struct stat st {};
    return ::stat(nativePath.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool IsDirectory(const std::string& nativePath) noexcept {
    struct stat st {};
    return ::stat(nativePath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::int64_t FileLength(const std::string& nativePath) {
    struct stat st {};
    if (::stat(nativePath.c_str(), &st) != 0) Fail(errno, nativePath);
    if (S_ISDIR(st.st_mode)) throw KestoError("Path/File access error");
    return static_cast<std::int64_t>(st.st_size);
}

std::int64_t FileLengthOr(const std::string& nativePath) noexcept {
    struct stat st {};
    if (::stat(nativePath.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
    return static_cast<std::int64_t>(st.st_size);
}

void ReadAt(const std::string& nativePath, std::int64_t offset, std::int64_t length, Bytes& out) {
    Fd fd(nativePath, O_RDONLY);
    auto st = fd.Stat();
    if (S_ISDIR(st.st_mode)) throw KestoError("Path/File access error");
    out.clear();
    std::int64_t size = static_cast<std::int64_t>(st.st_size);
    if (offset < 0 || length <= 0 || offset >= size) return;
    // Capped by what the file holds, whatever the caller's length field claims.
    std::int64_t n = length < size - offset ? length : size - offset;
    ReadInto(fd, offset, static_cast<std::size_t>(n), out, nativePath);
}

void ReadAll(const std::string& nativePath, Bytes& out) {
    Fd fd(nativePath, O_RDONLY);
    auto st = fd.Stat();
    if (S_ISDIR(st.st_mode)) throw KestoError("Path/File access error");
    ReadInto(fd, 0, static_cast<std::size_t>(st.st_size), out, nativePath);
}

void WriteAt(const std::string& nativePath, std::int64_t offset, std::string_view bytes) {
    if (offset < 0) throw KestoError("Bad record number");
    Fd fd(nativePath, O_WRONLY | O_CREAT);
    fd.RequireNotDirectory();
    fd.WriteAll(bytes, offset);
    fd.Close();
}

void Append(const std::string& nativePath, std::string_view bytes) {
    Fd fd(nativePath, O_WRONLY | O_CREAT | O_APPEND);
    fd.RequireNotDirectory();
    fd.WriteAll(bytes, -1);
    fd.Close();
}

void ReplaceContents(const std::string& nativePath, std::string_view bytes) {
    // A symlinked board file keeps its link: the file it points at is replaced.
    std::string target = nativePath;
    if (char* real = ::realpath(nativePath.c_str(), nullptr)) {
        target = real;
        std::free(real);
    }
    struct stat st {};
    bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) throw KestoError("Path/File access error");
    if (exists && !S_ISREG(st.st_mode)) {
        // A device cannot be renamed over; write it in place.
        Fd fd(target, O_WRONLY | O_TRUNC);
        fd.WriteAll(bytes, -1);
        fd.Sync();
        fd.Close();
        return;
    }

    std::string temp = TempNameBeside(target);
    Fd fd(temp, O_WRONLY | O_CREAT | O_EXCL);
    try {
        if (exists) ::fchmod(fd.get(), st.st_mode & 07777); // keep the board's permissions
        fd.WriteAll(bytes, 0);
        fd.Sync();
        fd.Close();
        if (::rename(temp.c_str(), target.c_str()) != 0) Fail(errno, target);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
}

void Truncate(const std::string& nativePath) {
    Fd fd(nativePath, O_WRONLY | O_CREAT | O_TRUNC);
    fd.RequireNotDirectory();
    fd.Close();
}

} // namespace kesto::platform
