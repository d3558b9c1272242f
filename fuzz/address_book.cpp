// An address book file of any content: loading keeps at most the load limit of
// non-blank one-line entries, save + load gives the same book back, appending
// one entry adds exactly that entry, and the row and pick texts keep their form.
#include "AddressBook.h"
#include "TextHelpers.h"
#include "FuzzBoard.h"
#include "FuzzInput.h"

namespace {

using kesto::fuzz::Check;

void CheckWellFormed(const kesto::AddressBook& book) {
    Check(book.readOk);
    Check(book.Count() <= kesto::kAddressBookLoadLimit);
    if (!book.hidden.empty()) Check(book.Count() == kesto::kAddressBookLoadLimit);
    auto oneLine = [](const std::string& s) {
        return s.find_first_not_of(' ') != std::string::npos && s.find_first_of("\r\n") == std::string::npos;
    };
    for (const auto& line : book.lines) Check(oneLine(line));
    for (const auto& h : book.hidden) Check(oneLine(h));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kesto::Board& b = kesto::fuzz::FuzzBoard();
    kesto::fuzz::Input in(data, size);
    std::string added = in.Text();
    kesto::fuzz::WriteBoardFile("DATA/AB1.DAT", in.Rest());

    kesto::AddressBook book = kesto::LoadAddressBook(b, 1);
    CheckWellFormed(book);

    Check(kesto::SaveAddressBook(b, 2, book).has_value());
    kesto::AddressBook again = kesto::LoadAddressBook(b, 2);
    Check(again.lines == book.lines && again.hidden == book.hidden);

    Check(kesto::AddToAddressBook(b, 2, added).has_value());
    kesto::AddressBook grown = kesto::LoadAddressBook(b, 2);
    CheckWellFormed(grown);
    std::size_t before = book.Count() + book.hidden.size();
    std::size_t after = grown.Count() + grown.hidden.size();
    std::string entry = kesto::Trim(added);
    for (char& c : entry)
        if (c == '\r' || c == '\n') c = ' ';
    if (entry.find_first_not_of(' ') == std::string::npos) {
        Check(after == before);
    } else {
        Check(after == before + 1);
        Check((grown.hidden.empty() ? grown.lines.back() : grown.hidden.back()) == entry);
    }

    std::size_t digits = std::to_string(book.Count()).size();
    for (std::size_t i = 0; i < book.Count(); ++i) {
        const std::string& line = book.lines[i];
        kesto::AddressBookEntry e = kesto::SplitAddressBookLine(line);
        Check(e.description == kesto::Trim(e.description) && e.address == kesto::Trim(e.address) &&
              e.networkId == kesto::Trim(e.networkId));
        Check(kesto::AddressBookRowText(i + 1, book.Count(), line).size() == digits + 2 + 23);
        std::string pick = kesto::AddressBookPickText(line);
        Check(pick.find('@') != std::string::npos && pick.find('*') != std::string::npos);
    }
    return 0;
}
