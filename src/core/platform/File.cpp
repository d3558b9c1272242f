#include "File.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

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
Error FromErrno(int err, const std::string& path) {
    switch (err) {
    case ENOENT:
        return Error(DirExists(ParentOf(path)) ? ErrorCode::FileNotFound : ErrorCode::PathNotFound);
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return Error(ErrorCode::PathNotFound);
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return Error(ErrorCode::PermissionDenied);
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return Error(ErrorCode::DiskFull);
    case EISDIR:
        return Error(ErrorCode::FileAccess);
    case ENOMEM:
        return Error(ErrorCode::OutOfMemory);
    default:
        return Error(ErrorCode::BadFileName);
    }
}

// Writes all of `bytes` at `offset`, or at the end for an offset below 0.
Result<void> WriteAllTo(int fd, const std::string& path, std::string_view bytes, std::int64_t offset) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = offset >= 0 ? ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                                           static_cast<off_t>(offset + static_cast<std::int64_t>(done)))
                                : ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return FromErrno(errno, path);
        }
        if (n == 0) return Error(ErrorCode::DiskFull);
        done += static_cast<std::size_t>(n);
    }
    return {};
}

// Reads up to `length` bytes at `offset` into out, which ends up holding what was read.
Result<void> ReadInto(int fd, const std::string& path, std::int64_t offset, std::size_t length, Bytes& out) {
    try {
        out.resize(length);
    } catch (const std::bad_alloc&) {
        out.clear();
        return Error(ErrorCode::OutOfMemory);
    }
    std::size_t done = 0;
    while (done < length) {
        ssize_t n = ::pread(fd, out.data() + done, length - done,
                            static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (n < 0) {
            if (errno == EINTR) continue;
            out.clear();
            return FromErrno(errno, path);
        }
        if (n == 0) break; // the file shrank under us: keep what is there
        done += static_cast<std::size_t>(n);
    }
    out.resize(done);
    return {};
}

// Owns one descriptor for the length of a call; a close failure on the write
// paths is reported by Close(), a close in the destructor only cleans up.
class Fd {
  public:
    static Result<Fd> Open(const std::string& path, int flags) {
        int fd;
        do {
            // Non-blocking only matters for a FIFO planted in place of a board file: it fails
            // or reads empty instead of waiting forever. Regular files ignore the flag.
            fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0) return FromErrno(errno, path);
        return Fd(path, fd);
    }
    Fd(Fd&& other) noexcept
        : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)), owned_(other.owned_) {}
    Fd& operator=(Fd&&) = delete;
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd_ >= 0 && owned_) ::close(fd_);
    }

    // Takes ownership of an open descriptor, and gives it up again.
    static Fd Adopt(int fd, std::string path) { return Fd(std::move(path), fd); }
    int Release() { return std::exchange(fd_, -1); }
    // Works on a descriptor it does not own (Release() before it goes).
    static Fd Borrow(int fd, const std::string& path) { return Fd(path, fd, false); }

    int Get() const { return fd_; }
    const std::string& GetPath() const { return path_; }
    Result<struct stat> Stat() const {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) return FromErrno(errno, path_);
        return st;
    }

    // A directory opens fine for reading on Linux; the board treats it as a bad target.
    Result<struct stat> StatNotDirectory() const {
        Result<struct stat> st = Stat();
        if (st && S_ISDIR(st->st_mode)) return Error(ErrorCode::FileAccess);
        return st;
    }

    // Writes at `offset`, or at the end for an offset below 0.
    Result<void> WriteAll(std::string_view bytes, std::int64_t offset) const {
        return WriteAllTo(fd_, path_, bytes, offset);
    }

    Result<void> Sync() const {
        // Devices and some file systems cannot sync; only a real failure counts.
        if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) return FromErrno(errno, path_);
        return {};
    }

    Result<void> Close() {
        int fd = std::exchange(fd_, -1);
        if (::close(fd) != 0 && errno != EINTR) return FromErrno(errno, path_);
        return {};
    }

  private:
    Fd(std::string path, int fd, bool owned = true) : path_(std::move(path)), fd_(fd), owned_(owned) {}

    std::string path_;
    int fd_ = -1;
    bool owned_ = true;
};

Result<void> ReadInto(const Fd& fd, std::int64_t offset, std::size_t length, Bytes& out) {
    return ReadInto(fd.Get(), fd.GetPath(), offset, length, out);
}

// Writes all of `bytes` through a descriptor opened with `flags`, then closes it.
Result<void> WriteFile(const std::string& path, int flags, std::string_view bytes, std::int64_t offset) {
    Result<Fd> fd = Fd::Open(path, flags);
    if (!fd) return fd.error();
    if (auto st = fd->StatNotDirectory(); !st) return st.error();
    if (auto w = fd->WriteAll(bytes, offset); !w) return w;
    return fd->Close();
}

// One write for all of `bytes` on a descriptor opened for appending: the kernel puts
// them at the end in one piece, after whatever anyone else appended. Returns where
// they landed. A short write (the disk or the size limit full) leaves what it wrote.
Result<std::int64_t> AppendOnce(const Fd& fd, std::string_view bytes) {
    ssize_t n;
    do {
        n = ::write(fd.Get(), bytes.data(), bytes.size());
    } while (n < 0 && errno == EINTR);
    if (n < 0) return FromErrno(errno, fd.GetPath());
    if (static_cast<std::size_t>(n) != bytes.size()) return Error(ErrorCode::DiskFull);
    const off_t end = ::lseek(fd.Get(), 0, SEEK_CUR);
    if (end < 0) return FromErrno(errno, fd.GetPath());
    // A device has no length to land in; it is taken as offset 0.
    return std::max<std::int64_t>(0, static_cast<std::int64_t>(end) - n);
}

Result<std::int64_t> AppendThenClose(Fd fd, std::string_view bytes) {
    Result<std::int64_t> landed = AppendOnce(fd, bytes);
    if (!landed) return landed;
    if (auto c = fd.Close(); !c) return c.error();
    return landed;
}

std::atomic<std::int64_t> g_lockPatienceMs{5000};
// How long a torn tail must stay unchanged before it is taken for a dead writer's.
constexpr std::chrono::milliseconds kTornTailWait{250};

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
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

std::optional<std::string> CanonicalPath(const std::string& nativePath) {
    char* resolved = ::realpath(nativePath.c_str(), nullptr);
    if (!resolved) return std::nullopt;
    std::string out = resolved;
    std::free(resolved);
    return out;
}

Result<std::int64_t> FileLength(const std::string& nativePath) {
    struct stat st {};
    if (::stat(nativePath.c_str(), &st) != 0) return FromErrno(errno, nativePath);
    if (S_ISDIR(st.st_mode)) return Error(ErrorCode::FileAccess);
    return static_cast<std::int64_t>(st.st_size);
}

std::optional<std::int64_t> FileLengthIfAny(const std::string& nativePath) noexcept {
    struct stat st {};
    if (::stat(nativePath.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return std::nullopt;
    return static_cast<std::int64_t>(st.st_size);
}

Result<void> ReadAt(const std::string& nativePath, std::int64_t offset, std::size_t length, Bytes& out) {
    // Not emptied first: a buffer that already has the length is not filled again before the read.
    Result<Fd> fd = Fd::Open(nativePath, O_RDONLY);
    Result<struct stat> st = fd ? fd->StatNotDirectory() : Result<struct stat>(fd.error());
    if (!st) {
        out.clear();
        return st.error();
    }
    const auto size = static_cast<std::int64_t>(st->st_size);
    if (offset < 0 || length == 0 || offset >= size) {
        out.clear();
        return {};
    }
    // Capped by what the file holds, whatever the caller's length field claims.
    const std::size_t n = std::min(length, static_cast<std::size_t>(size - offset));
    return ReadInto(*fd, offset, n, out);
}

Result<Bytes> ReadAt(const std::string& nativePath, std::int64_t offset, std::int64_t length) {
    Bytes out;
    if (length <= 0) length = 0;
    if (auto r = ReadAt(nativePath, offset, static_cast<std::size_t>(length), out); !r) return r.error();
    return out;
}

Result<void> ReadAll(const std::string& nativePath, Bytes& out) {
    Result<Fd> fd = Fd::Open(nativePath, O_RDONLY);
    if (!fd) return fd.error();
    Result<struct stat> st = fd->StatNotDirectory();
    if (!st) return st.error();
    return ReadInto(*fd, 0, static_cast<std::size_t>(st->st_size), out);
}

Result<Bytes> ReadAll(const std::string& nativePath) {
    Bytes out;
    if (auto r = ReadAll(nativePath, out); !r) return r.error();
    return out;
}

Result<void> WriteAt(const std::string& nativePath, std::int64_t offset, std::string_view bytes) {
    if (offset < 0) return Error(ErrorCode::BadRecordNumber);
    return WriteFile(nativePath, O_WRONLY | O_CREAT, bytes, offset);
}

Result<void> Append(const std::string& nativePath, std::string_view bytes) {
    if (auto landed = AppendAt(nativePath, bytes); !landed) return landed.error();
    return {};
}

Result<std::int64_t> AppendAt(const std::string& nativePath, std::string_view bytes) {
    Result<Fd> fd = Fd::Open(nativePath, O_WRONLY | O_CREAT | O_APPEND);
    if (!fd) return fd.error();
    if (auto st = fd->StatNotDirectory(); !st) return st.error();
    return AppendThenClose(std::move(*fd), bytes);
}

Result<std::int64_t> AppendRecord(const std::string& nativePath, std::string_view record) {
    if (record.empty()) return Error(ErrorCode::BadRecordLength);
    Result<Fd> fd = Fd::Open(nativePath, O_WRONLY | O_CREAT);
    if (!fd) return fd.error();
    Result<struct stat> st = fd->StatNotDirectory();
    if (!st) return st.error();
    std::int64_t size = static_cast<std::int64_t>(st->st_size);
    const auto recordSize = static_cast<std::int64_t>(record.size());
    std::int64_t torn = S_ISREG(st->st_mode) ? size % recordSize : 0;
    // A length that is not a whole number of records is most often another writer's
    // record on its way (the length grows page by page while one write goes on); only
    // a tail that stays as it is was left by a writer that died.
    using Clock = std::chrono::steady_clock;
    for (Clock::time_point still = Clock::now(); torn != 0 && Clock::now() - still < kTornTailWait;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        Result<struct stat> now = fd->Stat();
        if (!now) return now.error();
        if (static_cast<std::int64_t>(now->st_size) != size) still = Clock::now();
        size = static_cast<std::int64_t>(now->st_size);
        torn = size % recordSize;
    }
    if (torn != 0) {
        // Part of a record nobody finished: the new record takes its place, as record n + 1.
        if (auto w = fd->WriteAll(record, size - torn); !w) return w.error();
        if (auto c = fd->Close(); !c) return c.error();
        return size - torn;
    }
    const int flags = ::fcntl(fd->Get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd->Get(), F_SETFL, flags | O_APPEND) != 0) return FromErrno(errno, nativePath);
    return AppendThenClose(std::move(*fd), record);
}

Result<void> PatchAt(const std::string& nativePath, std::int64_t offset, std::string_view bytes) {
    if (offset < 0) return Error(ErrorCode::BadRecordNumber);
    return WriteFile(nativePath, O_WRONLY, bytes, offset);
}

Result<void> ReplaceContents(const std::string& nativePath, std::string_view bytes) {
    Result<ReplacementFile> file = ReplacementFile::Create(nativePath);
    if (!file) return file.error();
    if (auto w = file->Write(bytes); !w) return w;
    return file->Commit();
}

Result<ReplacementFile> ReplacementFile::Create(const std::string& target) {
    // A symlinked board file keeps its link: the file it points at is replaced.
    std::string real = target;
    if (char* resolved = ::realpath(target.c_str(), nullptr)) {
        real = resolved;
        std::free(resolved);
    }
    struct stat st {};
    const bool exists = ::stat(real.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) return Error(ErrorCode::FileAccess);
    if (exists && !S_ISREG(st.st_mode)) {
        // A device cannot be renamed over; write it in place.
        Result<Fd> fd = Fd::Open(real, O_WRONLY | O_TRUNC);
        if (!fd) return fd.error();
        return ReplacementFile(fd->Release(), real, {});
    }
    std::string temp = TempNameBeside(real);
    Result<Fd> fd = Fd::Open(temp, O_WRONLY | O_CREAT | O_EXCL);
    if (!fd) return fd.error();
    if (exists) ::fchmod(fd->Get(), st.st_mode & 07777); // keep the board's permissions
    return ReplacementFile(fd->Release(), real, std::move(temp));
}

ReplacementFile::ReplacementFile(int fd, std::string target, std::string temp)
    : fd_(fd), target_(std::move(target)), temp_(std::move(temp)) {}

ReplacementFile::ReplacementFile(ReplacementFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), target_(std::move(other.target_)), temp_(std::move(other.temp_)) {}

ReplacementFile::~ReplacementFile() {
    if (fd_ >= 0) ::close(fd_);
    if (fd_ >= 0 && !temp_.empty()) ::unlink(temp_.c_str());
}

Result<void> ReplacementFile::Write(std::string_view bytes) {
    if (fd_ < 0) return Error(ErrorCode::BadFileName);
    return Fd::Borrow(fd_, temp_.empty() ? target_ : temp_).WriteAll(bytes, -1);
}

Result<void> ReplacementFile::Commit(bool sync) {
    if (fd_ < 0) return Error(ErrorCode::BadFileName);
    Fd fd = Fd::Adopt(std::exchange(fd_, -1), temp_.empty() ? target_ : temp_);
    Result<void> done = sync ? fd.Sync() : Result<void>();
    if (done) done = fd.Close();
    if (done && !temp_.empty() && ::rename(temp_.c_str(), target_.c_str()) != 0)
        done = FromErrno(errno, target_);
    if (!done && !temp_.empty()) ::unlink(temp_.c_str());
    return done;
}

Result<void> Truncate(const std::string& nativePath) {
    return WriteFile(nativePath, O_WRONLY | O_CREAT | O_TRUNC, {}, -1);
}

Result<void> MakeDirectory(const std::string& nativePath) {
    if (::mkdir(nativePath.c_str(), 0777) == 0) return {};
    const int err = errno;
    if (err == EEXIST && DirExists(nativePath)) return {};
    // A file in the directory's place is a bad target, not a missing path.
    if (err == EEXIST) return Error(ErrorCode::FileAccess);
    return FromErrno(err, nativePath);
}

Result<void> MakeDirectories(const std::string& nativePath) {
    if (nativePath.empty() || DirExists(nativePath)) return {};
    const std::string parent = ParentOf(nativePath);
    if (parent != nativePath) {
        if (auto r = MakeDirectories(parent); !r) return r;
    }
    return MakeDirectory(nativePath);
}

Result<void> CopyFile(const std::string& source, const std::string& target) {
    Result<Fd> in = Fd::Open(source, O_RDONLY);
    if (!in) return in.error();
    Result<struct stat> from = in->Stat();
    if (!from) return from.error();
    // Only a regular file's bytes are copied: a pipe or device would never end.
    if (!S_ISREG(from->st_mode)) return Error(ErrorCode::FileAccess);
    struct stat to {};
    if (::stat(target.c_str(), &to) == 0 && to.st_dev == from->st_dev && to.st_ino == from->st_ino) return {};

    Result<Fd> out = Fd::Open(target, O_WRONLY | O_CREAT | O_TRUNC);
    if (!out) return out.error();
    if (auto st = out->StatNotDirectory(); !st) return st.error();
    char buffer[64 * 1024];
    for (;;) {
        ssize_t n = ::read(in->Get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return FromErrno(errno, source);
        }
        if (n == 0) break;
        if (auto w = out->WriteAll(std::string_view(buffer, static_cast<std::size_t>(n)), -1); !w) return w;
    }
    return out->Close();
}

bool IsReadableFile(const std::string& nativePath) {
    Result<Fd> fd = Fd::Open(nativePath, O_RDONLY);
    if (!fd) return false;
    Result<struct stat> st = fd->Stat();
    return st && S_ISREG(st->st_mode);
}

void SetLockPatience(std::chrono::milliseconds patience) noexcept {
    g_lockPatienceMs = patience.count();
}

std::chrono::milliseconds LockPatience() noexcept {
    return std::chrono::milliseconds(g_lockPatienceMs.load());
}

Result<LockedFile> LockedFile::Open(const std::string& nativePath, std::int64_t offset, std::int64_t length,
                                    bool create) {
    if (offset < 0 || length < 0) return Error(ErrorCode::BadRecordNumber);
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + LockPatience();
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        Result<Fd> fd = Fd::Open(nativePath, O_RDWR | (create ? O_CREAT : 0));
        if (!fd) return fd.error();
        Result<struct stat> opened = fd->StatNotDirectory();
        if (!opened) return opened.error();

        struct flock range {};
        range.l_type = F_WRLCK;
        range.l_whence = SEEK_SET;
        range.l_start = static_cast<off_t>(offset);
        range.l_len = static_cast<off_t>(length);
        for (;;) {
            if (::fcntl(fd->Get(), F_OFD_SETLK, &range) == 0) break;
            const int err = errno;
            if (err == EINTR) continue;
            // No such locks here (an old kernel, some network file systems): the step
            // goes on as it did before there were locks.
            if (err == EINVAL || err == ENOLCK || err == EOPNOTSUPP || err == ENOSYS) break;
            if (err != EAGAIN && err != EACCES) return FromErrno(err, nativePath);
            if (Clock::now() >= deadline) return Error(ErrorCode::Locked);
            std::this_thread::sleep_for(pause);
            pause = std::min(pause * 2, std::chrono::milliseconds(50));
        }

        // Whoever held the lock may have replaced the file (the address book is saved by
        // renaming a new file over the old one): then the lock guards nothing, so the
        // file now at the path is locked instead.
        struct stat now {};
        if (::stat(nativePath.c_str(), &now) == 0 && SameFile(now, *opened)) {
            const int raw = fd->Get();
            std::string path = fd->GetPath();
            (void)fd->Release();
            return LockedFile(std::move(path), raw);
        }
        if (Clock::now() >= deadline) return Error(ErrorCode::Locked);
    }
}

LockedFile::LockedFile(LockedFile&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)) {}

LockedFile::~LockedFile() {
    if (fd_ >= 0) ::close(fd_);
}

Result<std::int64_t> LockedFile::Length() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return FromErrno(errno, path_);
    return static_cast<std::int64_t>(st.st_size);
}

Result<Bytes> LockedFile::ReadAt(std::int64_t offset, std::int64_t length) const {
    Bytes out;
    Result<std::int64_t> size = Length();
    if (!size) return size.error();
    if (offset < 0 || length <= 0 || offset >= *size) return out;
    const std::int64_t n = std::min(length, *size - offset);
    if (auto r = ReadInto(fd_, path_, offset, static_cast<std::size_t>(n), out); !r) return r.error();
    return out;
}

Result<void> LockedFile::WriteAt(std::int64_t offset, std::string_view bytes) const {
    if (offset < 0) return Error(ErrorCode::BadRecordNumber);
    return WriteAllTo(fd_, path_, bytes, offset);
}

Result<void> LockedFile::Close() {
    const int fd = std::exchange(fd_, -1);
    if (fd >= 0 && ::close(fd) != 0 && errno != EINTR) return FromErrno(errno, path_);
    return {};
}

} // namespace kesto::platform
