// FindHandle and FindRealName on a damaged user file: their fast comparison must
// find the same first record as decoding each whole record, trimming it and
// folding its Windows-1252 capitals; GetUserCount ignores a partial trailing record.
#include "TextHelpers.h"
#include "Cp1252.h"
#include "FuzzBoard.h"
#include "FuzzInput.h"
#include "Records.h"
#include "UserFile.h"

#include <string>

namespace {

// Lower case through the character table, independent of the search's byte ranges.
std::string Fold(std::string_view s) {
    std::u32string chars = kesto::DecodeCp1252(kesto::Trim(s));
    for (char32_t& c : chars) {
        if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
            c += 0x20;
        else if (c == 0x160 || c == 0x152 || c == 0x17D)
            c += 1; // S caron, OE, Z caron
        else if (c == 0x178)
            c = 0xFF; // Y diaeresis
    }
    return kesto::EncodeCp1252(chars);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kesto::fuzz::Check;
    const kesto::Board& b = kesto::fuzz::FuzzBoard();
    kesto::fuzz::Input in(data, size);
    std::string name = in.Text();
    std::string file = in.Rest();
    kesto::fuzz::WriteBoardFile("DATA/USERFILE.DAT", file);

    std::size_t count = file.size() / kesto::kUserRecordSize;
    Check(kesto::GetUserCount(b).value_or(-1) == static_cast<std::int32_t>(count));

    std::string wanted = Fold(name);
    std::int16_t byHandle = 0;
    std::int16_t byRealName = 0;
    for (std::size_t n = 1; n <= count && (byHandle == 0 || byRealName == 0); ++n) {
        kesto::UserRecord u = kesto::DecodeUserRecord(
            std::string_view(file).substr((n - 1) * kesto::kUserRecordSize, kesto::kUserRecordSize));
        if (byHandle == 0 && Fold(u.Handle) == wanted) byHandle = static_cast<std::int16_t>(n);
        if (byRealName == 0 && Fold(u.RealName) == wanted) byRealName = static_cast<std::int16_t>(n);
    }
    Check(kesto::FindHandle(b, name).value_or(-1) == byHandle);
    Check(kesto::FindRealName(b, name).value_or(-1) == byRealName);
    return 0;
}
