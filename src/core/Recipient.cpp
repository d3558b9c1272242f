#include "Recipient.h"

#include "StringHelpers.h"
#include "TextHelpers.h"
#include "SystemFiles.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

#include <cmath>
#include <cstdio>

namespace kesto {
namespace {

std::int16_t ToI16(double v) {
    if (!(v == v)) return 0;
    double r = std::nearbyint(v);
    if (r > 32767) return 32767;
    if (r < -32768) return -32768;
    return static_cast<std::int16_t>(r);
}

// Field `index` (0-based) of a network list entry "number,type,name", trimmed.
std::string Field(std::string_view entry, std::size_t index) {
    return Trim(Explode(",", entry, 3, 3)[index]);
}

} // namespace

std::string WrittenNumber(double value) {
    if (!(value == value)) return "0";
    if (std::fabs(value) < 1e15 && value == std::trunc(value)) {
        return std::to_string(static_cast<long long>(value));
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    return buf;
}

std::vector<std::string> NetListFromText(std::string_view networksLst,
                                         const std::function<std::string(std::int16_t)>& systemIdOf) {
    std::vector<std::string> list{"0,0,Local"};
    std::size_t start = 0;
    while (start < networksLst.size()) {
        std::size_t end = networksLst.find('\n', start);
        if (end == std::string::npos) end = networksLst.size();
        std::string_view line = networksLst.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::string trimmed = Trim(line);
        if (trimmed.empty()) continue;
        const std::vector<std::string> pieces = Explode(",", trimmed, 8, 8);
        const double type = NumericValue(pieces[1]);
        if (type != 1 && type != 3 && type != 4 && type != 9) continue;
        if (Trim(systemIdOf(ToI16(NumericValue(pieces[0])))).empty()) continue;
        std::string entry = Trim(pieces[0]);
        entry.append(",").append(Trim(pieces[1])).append(",").append(Trim(pieces[2]));
        list.push_back(std::move(entry));
    }
    return list;
}

std::vector<std::string> FillNetList(const Board& b) {
    const Result<Bytes> contents =
        Logged(b.log, "frmNewMessage", "FillNetList",
               platform::ReadAll(BoardNativePath(b, b.paths.DataPath(), "NETWORKS.LST")));
    if (!contents) return {"0,0,Local"};
    return NetListFromText(
        *contents, [&b](std::int16_t network) { return GetNetEntry(b, network, "SYSTEMID").value_or(""); });
}

std::string NetListLabel(std::string_view entry) {
    std::string label = Field(entry, 2);
    label.append(" (").append(WrittenNumber(NumericValue(Field(entry, 0)))).append(")");
    return label;
}

std::string NetListNumber(std::string_view entry) {
    return Field(entry, 0);
}

int FindNetListLine(const std::vector<std::string>& netList, double network) {
    for (std::size_t i = 0; i < netList.size(); ++i) {
        if (NumericValue(NetListNumber(netList[i])) == network) return static_cast<int>(i);
    }
    return -1;
}

bool IsAllUsersForm(std::string_view mailTo) {
    return LowerAscii(Trim(mailTo)).starts_with("all users");
}

std::optional<std::string> NormaliseRecipient(std::string_view mailTo, std::string_view selectedNetwork) {
    std::string a = Trim(mailTo);
    auto at = a.find('@');
    auto star = a.find('*');
    if (star != std::string::npos) {
        if (at == std::string::npos || star < at) return std::nullopt;
        return a;
    }
    if (at == std::string::npos) return a + "@0*" + std::string(selectedNetwork);
    return a + "*" + std::string(selectedNetwork);
}

bool NetworkIsKnown(const Board& b, std::string_view address) {
    double network = NumericValue(ParseMailAddress(address).network);
    if (network <= 1) return true;
    return !Trim(GetNetEntry(b, ToI16(network), "SYSTEMID").value_or("")).empty();
}

bool AttachAllowed(std::int16_t securityLevel, const MainConfig& cfg, std::string_view mailTo,
                   int networkLine) {
    bool toSysop = networkLine == 0 && IsNumeric(mailTo) && NumericValue(mailTo) == 1;
    std::int16_t threshold = toSysop ? cfg.SysopAttachLevel : cfg.EmailAttachLevel;
    return securityLevel >= threshold;
}

SendCheck CheckSend(const Board& b, std::string_view mailTo, std::string_view subject,
                    const std::vector<std::string>& netList, int networkLine) {
    SendCheck c;
    auto refuse = [&](std::string_view message, SendCheck::Focus focus) {
        c.outcome = SendCheck::Outcome::Refused;
        c.message = std::string(message);
        c.focus = focus;
        return c;
    };
    if (Trim(mailTo).empty()) return refuse(kMsgNoRecipient, SendCheck::Focus::MailTo);
    if (Trim(subject).empty()) return refuse(kMsgNoSubject, SendCheck::Focus::MailSubject);
    if (IsAllUsersForm(mailTo)) {
        if (networkLine != 0) return refuse(kMsgAllUsersLocalOnly, SendCheck::Focus::Unchanged);
        c.outcome = SendCheck::Outcome::AllUsers;
        return c;
    }
    std::string selected = "0";
    if (networkLine >= 0 && static_cast<std::size_t>(networkLine) < netList.size()) {
        selected = NetListNumber(netList[static_cast<std::size_t>(networkLine)]);
    }
    std::optional<std::string> address = NormaliseRecipient(mailTo, selected);
    if (!address) return refuse(kMsgInvalidTo, SendCheck::Focus::Unchanged);
    if (!NetworkIsKnown(b, *address)) return refuse(kMsgInvalidNetwork, SendCheck::Focus::Unchanged);
    c.outcome = SendCheck::Outcome::Single;
    c.address = std::move(*address);
    return c;
}

RecipientFill RecipientFor(const MailAddress& a, std::string_view ownSystemId,
                           const std::vector<std::string>& netList) {
    RecipientFill f;
    const double network = NumericValue(a.network);
    if (a.system == ownSystemId && network == 1) {
        f.mailTo = a.user;
        return f;
    }
    f.mailTo = a.user + "@" + a.system;
    int line = FindNetListLine(netList, network);
    if (line < 0) {
        f.mailTo.append("*").append(WrittenNumber(network));
        line = 0;
    }
    f.networkLine = line;
    return f;
}

RecipientFill ReplyRecipient(const MessageInfo& replied, std::string_view ownSystemId,
                             const std::vector<std::string>& netList) {
    const MailAddress sender{Trim(replied.FromHandle), Trim(replied.FromNetNode),
                             std::to_string(replied.FromNetId)};
    return RecipientFor(sender, ownSystemId, netList);
}

RecipientFill AddressBookRecipient(std::string_view choice, std::string_view ownSystemId,
                                   const std::vector<std::string>& netList) {
    return RecipientFor(ParseMailAddress(choice), ownSystemId, netList);
}

} // namespace kesto
