// Board bytes -> UTF-8 -> board bytes is the identity for every byte string, and
// any UTF-8 (valid or not) encodes to no more bytes than it has.
#include "Cp1252.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kesto::fuzz::Check;
    std::string_view in(reinterpret_cast<const char*>(data), size);

    Check(kesto::Utf8ToCp1252(kesto::Cp1252ToUtf8(in)) == in);
    std::u32string chars = kesto::DecodeCp1252(in);
    Check(chars.size() == in.size());
    Check(kesto::EncodeCp1252(chars) == in);

    std::string back = kesto::Utf8ToCp1252(in);
    Check(back.size() <= in.size());
    Check(kesto::Utf8ToCp1252(kesto::Cp1252ToUtf8(back)) == back);
    return 0;
}
