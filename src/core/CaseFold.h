// Letter case of board text (Windows-1252): every capital folds to its small
// letter, the ASCII ones and the accented ones alike, so "JÖRG" and "jörg" compare
// equal. Other bytes, the multiplication sign among them, stay as they are.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace kesto {

inline constexpr std::array<unsigned char, 256> kCaseFold = [] {
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 256; ++c) t[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c);
    for (int c = 'A'; c <= 'Z'; ++c) t[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c + 32);
    for (int c = 0xC0; c <= 0xDE; ++c)
        if (c != 0xD7) t[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c + 32);
    t[0x8A] = 0x9A; // S caron
    t[0x8C] = 0x9C; // OE
    t[0x8E] = 0x9E; // Z caron
    t[0x9F] = 0xFF; // Y diaeresis
    return t;
}();

inline char FoldCase(char c) {
    return static_cast<char>(kCaseFold[static_cast<unsigned char>(c)]);
}

// ASCII letters in a loop the compiler can vectorize, then the accented letters, which
// most texts do not have: a search folds megabytes of text.
inline void FoldCaseInPlace(char* p, std::size_t n) {
    unsigned char any = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(p[i]);
        any |= c;
        p[i] = static_cast<char>(c + (static_cast<unsigned char>(c - 'A') < 26 ? 32 : 0));
    }
    if (any & 0x80)
        for (std::size_t i = 0; i < n; ++i) p[i] = FoldCase(p[i]);
}

inline void FoldCaseInPlace(std::string& s) {
    FoldCaseInPlace(s.data(), s.size());
}

// Where `folded` (already folded) first occurs in `text`, letter case ignored; npos when nowhere.
inline std::size_t FindFolded(std::string_view text, std::string_view folded) {
    if (folded.empty()) return 0;
    if (folded.size() > text.size()) return std::string_view::npos;
    const char first = folded.front();
    for (std::size_t i = 0, last = text.size() - folded.size(); i <= last; ++i) {
        if (FoldCase(text[i]) != first) continue;
        std::size_t j = 1;
        while (j < folded.size() && FoldCase(text[i + j]) == folded[j]) ++j;
        if (j == folded.size()) return i;
    }
    return std::string_view::npos;
}

} // namespace kesto
