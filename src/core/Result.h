// How a routine reports that it failed: it returns its value or an Error, never
// throws. The Error's description is the text its log line carries.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

namespace kesto {

enum class ErrorCode {
    FileNotFound,     // "File not found"
    PathNotFound,     // "Path not found": a directory on the way is missing
    PermissionDenied, // "Permission denied"
    DiskFull,         // "Disk full", also a file grown past its size limit
    FileAccess,       // "Path/File access error": a directory or device where a file belongs
    BadFileName,      // "Bad file name or number"
    BadRecordNumber,  // "Bad record number", also a record that is not whole
    BadRecordLength,  // "Bad record length"
    Overflow,         // "Overflow": a number past what its field holds
    OutOfMemory,      // "Out of memory"
    Locked,           // "File is locked": another copy of Kesto held it past our patience
    Refused,          // the routine will not do it; the description says why
};

// The board's own wording of each code, so log lines read the same on every system.
constexpr std::string_view DescriptionOf(ErrorCode code) {
    switch (code) {
    case ErrorCode::FileNotFound:
        return "File not found";
    case ErrorCode::PathNotFound:
        return "Path not found";
    case ErrorCode::PermissionDenied:
        return "Permission denied";
    case ErrorCode::DiskFull:
        return "Disk full";
    case ErrorCode::FileAccess:
        return "Path/File access error";
    case ErrorCode::BadFileName:
        return "Bad file name or number";
    case ErrorCode::BadRecordNumber:
        return "Bad record number";
    case ErrorCode::BadRecordLength:
        return "Bad record length";
    case ErrorCode::Overflow:
        return "Overflow";
    case ErrorCode::OutOfMemory:
        return "Out of memory";
    case ErrorCode::Locked:
        return "File is locked";
    case ErrorCode::Refused:
        return "Refused";
    }
    return "Unknown error";
}

struct Error {
    ErrorCode code;
    std::string description;

    explicit Error(ErrorCode c) : code(c), description(DescriptionOf(c)) {}
    Error(ErrorCode c, std::string text) : code(c), description(std::move(text)) {}
};

namespace detail {
// Reading the value of a failed result is a bug in the caller, not a board failure.
[[noreturn]] inline void NoValue(const Error& e) {
    std::fprintf(stderr, "kesto: the value of a failed result was read (%s)\n", e.description.c_str());
    std::abort();
}
} // namespace detail

// Result keeps the member names of std::expected, which it stands in for, so a call
// site reads the same with either.
// NOLINTBEGIN(readability-identifier-naming)
template <class T>
class [[nodiscard]] Result {
  public:
    // The requires-clause keeps Result's own copy and move; clang-tidy 14 does not read it.
    // NOLINTBEGIN(bugprone-forwarding-reference-overload)
    template <class U = T>
    requires(std::is_constructible_v<T, U&&> && !std::is_same_v<std::remove_cvref_t<U>, Result> &&
             !std::is_same_v<std::remove_cvref_t<U>, Error>) Result(U&& value)
        : v_(std::in_place_index<0>, std::forward<U>(value)) {}
    // NOLINTEND(bugprone-forwarding-reference-overload)
    Result(Error error) : v_(std::in_place_index<1>, std::move(error)) {}

    bool has_value() const noexcept { return v_.index() == 0; }
    explicit operator bool() const noexcept { return has_value(); }

    T& value() & {
        if (!has_value()) detail::NoValue(error());
        return std::get<0>(v_);
    }
    const T& value() const& {
        if (!has_value()) detail::NoValue(error());
        return std::get<0>(v_);
    }
    // By value from a temporary, so that `for (auto& x : Read().value())` holds no dangling reference.
    T value() && {
        if (!has_value()) detail::NoValue(error());
        return std::get<0>(std::move(v_));
    }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T operator*() && { return std::move(*this).value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    // The value, or `fallback` when the routine failed (its failure already logged
    // where the routine logs).
    template <class U>
    T value_or(U&& fallback) const& {
        return has_value() ? std::get<0>(v_) : static_cast<T>(std::forward<U>(fallback));
    }
    template <class U>
    T value_or(U&& fallback) && {
        return has_value() ? std::get<0>(std::move(v_)) : static_cast<T>(std::forward<U>(fallback));
    }

    const Error& error() const { return std::get<1>(v_); }

  private:
    std::variant<T, Error> v_;
};

template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Error error) : error_(std::move(error)) {}

    bool has_value() const noexcept { return !error_; }
    explicit operator bool() const noexcept { return has_value(); }
    void value() const {
        if (error_) detail::NoValue(*error_);
    }
    const Error& error() const { return *error_; }

  private:
    std::optional<Error> error_;
};

// NOLINTEND(readability-identifier-naming)

} // namespace kesto
