// A fixture board with two users and a few received messages, a session on
// it, and a list stand-in whose rows can be put in any order.
#pragma once

#include "DemoBoard.h"
#include "FakeDialogs.h"
#include "TestBoard.h"
#include "UiTestSupport.h"
#include "app/MailboxList.h"
#include "app/Session.h"
#include "reader/frmOpenMessage.h"

#include <memory>
#include <string>
#include <vector>

namespace kesto::test {

inline std::string Pad(std::string_view s, std::size_t width) {
    std::string out(s.substr(0, std::min(width, s.size())));
    out.resize(width, ' ');
    return out;
}

class FakeList : public kesto::ui::MailboxList {
  public:
    std::vector<kesto::RecordNo> rows; // message numbers in display order
    int GetRowCount() const override { return static_cast<int>(rows.size()); }
    kesto::RecordNo GetMessageNumberAt(int position) const override {
        return position >= 1 && position <= GetRowCount() ? rows[position - 1] : 0;
    }
};

struct ReaderBoard {
    TempDir dir;
    kesto::ui::Session s;
    FakeList list;

    ReaderBoard() {
        s.board = kesto::demo::CreateBoard(dir.Path()).value();
        kesto::demo::WriteDataFile(s.board, "NETWORKS.LST", "1,1,Home,0\r\n").value();
        s.CurrentUser = kesto::demo::MakeUser("SYSOP", "Sam Sysop", 255);
        kesto::demo::AppendUser(s.board, s.CurrentUser).value();
        kesto::demo::AppendUser(s.board, kesto::demo::MakeUser("ALICE", "Alice Smith", 50)).value();
        s.CurrentUserNumber = 1;
        s.CurrentMailbox = kesto::Mailbox::Received;
    }
    std::string Mail(const std::string& name) const { return dir.File("MAIL/" + name); }
    kesto::RecordNo Add(std::string_view subject, std::string_view body, std::int32_t stamp = 1150000000) {
        kesto::MessageInfo m = kesto::demo::MakeMessage(2, 1, "ALICE", "SYSOP", subject, stamp);
        return static_cast<kesto::RecordNo>(kesto::demo::AppendMessage(s.board, "EMAIL", m, body).value());
    }
    // The reader on list row `row`, answering its step requests as the mailbox window does.
    std::unique_ptr<kesto::ui::frmOpenMessage> Reader(int row) {
        auto w = std::make_unique<kesto::ui::frmOpenMessage>(s, list, row);
        QObject::connect(w.get(), &kesto::ui::frmOpenMessage::StepRequested, w.get(),
                         &kesto::ui::frmOpenMessage::ShowRow);
        return w;
    }
};

} // namespace kesto::test
