// The composer's recipient rules on any typed text, network list, address book
// choice and replied-to record: a normalised address is stable when normalised
// again, picked network lines are in range, and written numbers read back.
#include "Recipient.h"
#include "TextHelpers.h"
#include "FuzzInput.h"
#include "Records.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kesto::fuzz::Check;
    kesto::fuzz::Input in(data, size);
    std::string mailTo = in.Text();
    std::string selected = kesto::Trim(in.Text());
    std::string choice = in.Text();
    std::string ownId = kesto::Trim(in.Text());
    std::string replied = in.Text();
    std::string lines = in.Rest();

    if (std::optional<std::string> address = kesto::NormaliseRecipient(mailTo, selected)) {
        std::size_t at = address->find('@');
        std::size_t star = address->find('*');
        Check(at != std::string::npos && star != std::string::npos && at < star);
        Check(kesto::NormaliseRecipient(*address, "9") == address);
        // A parsed address survives being formatted and parsed again.
        kesto::MailAddress parsed = kesto::ParseMailAddress(*address);
        Check(kesto::ParseMailAddress(kesto::FormatMailAddress(parsed)) == parsed);
    }
    kesto::IsAllUsersForm(mailTo);

    // The composer's network list from a NETWORKS.LST of any content, as the file
    // routine builds it; networks with an odd number have no SYSTEMID.
    const std::vector<std::string> netList =
        kesto::NetListFromText(lines, [&](std::int16_t n) { return n % 2 == 0 ? ownId : std::string(); });
    Check(netList.front() == "0,0,Local");
    for (std::size_t i = 1; i < netList.size(); ++i) {
        const std::string& entry = netList[i];
        Check(std::count(entry.begin(), entry.end(), ',') == 2);
        const double type = kesto::NumericValue(entry.substr(entry.find(',') + 1));
        Check(type == 1 || type == 3 || type == 4 || type == 9);
    }
    if (netList.size() > 1) Check(!ownId.empty());
    for (const auto& entry : netList) {
        kesto::NetListLabel(entry);
        double n = kesto::NumericValue(kesto::NetListNumber(entry));
        int line = kesto::FindNetListLine(netList, n);
        Check(line >= 0 && static_cast<std::size_t>(line) < netList.size());
        // A whole network number survives being written and read back.
        if (std::fabs(n) < 1e15 && n == std::trunc(n))
            Check(kesto::NumericValue(kesto::WrittenNumber(n)) == n);
    }

    kesto::RecipientFill f = kesto::AddressBookRecipient(choice, ownId, netList);
    Check(f.networkLine >= 0 && static_cast<std::size_t>(f.networkLine) < netList.size());
    kesto::RecipientFill r = kesto::ReplyRecipient(kesto::DecodeMessageInfo(replied), ownId, netList);
    Check(r.networkLine >= 0 && static_cast<std::size_t>(r.networkLine) < netList.size());
    return 0;
}
