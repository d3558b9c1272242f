// An address book file of any content, in memory through the same routines the file
// code uses: loading keeps at most the load limit of non-blank one-line entries, an
// added entry is exactly that entry, a save's text loads back as the same book (with
// the entry added since it was read), and the row and pick texts keep their form.
#include "AddressBook.h"
#include "TextHelpers.h"
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

std::vector<std::string> AllLines(const kesto::AddressBook& book) {
    std::vector<std::string> all = book.lines;
    all.insert(all.end(), book.hidden.begin(), book.hidden.end());
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kesto::fuzz::Input in(data, size);
    std::string added = in.Text();
    const std::string text = in.Rest();

    const kesto::AddressBook book = kesto::ParseAddressBook(text);
    CheckWellFormed(book);

    const std::string addition = kesto::AddressBookAddition(text, added);
    const kesto::AddressBook grown = kesto::ParseAddressBook(text + addition);
    CheckWellFormed(grown);
    std::string entry = kesto::Trim(added);
    for (char& c : entry)
        if (c == '\r' || c == '\n') c = ' ';
    std::vector<std::string> expected = AllLines(book);
    if (entry.find_first_not_of(' ') == std::string::npos) {
        Check(addition.empty());
    } else {
        expected.push_back(entry);
    }
    Check(AllLines(grown) == expected);
    // Saved, the book comes back as it was, with an entry added after it was read.
    Check(AllLines(kesto::ParseAddressBook(kesto::AddressBookSaveText(book, text + addition))) == expected);

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
