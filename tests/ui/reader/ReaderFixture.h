// A fixture board with two users and a few received messages, a session on
// it, and a list stand-in whose rows can be put in any order.
#pragma once

#include "DemoBoard.h"
#include "FakeDialogs.h"
#include "TestBoard.h"
#include "app/MailboxList.h"
#include "app/Session.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
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
    std::vector<std::int16_t> rows; // message numbers in display order
    int rowCount() const override { return static_cast<int>(rows.size()); }
    std::int16_t messageNumberAt(int position) const override {
        return position >= 1 && position <= rowCount() ? rows[position - 1] : 0;
    }
};

struct ReaderBoard {
    TempDir dir;
    kesto::ui::Session s;
    FakeList list;

    ReaderBoard() {
        s.board = kesto::demo::CreateBoard(dir.path()).value();
        kesto::demo::WriteDataFile(s.board, "NETWORKS.LST", "1,1,Home,0\r\n").value();
        s.CurrentUser = kesto::demo::MakeUser("SYSOP", "Sam Sysop", 255);
        kesto::demo::AppendUser(s.board, s.CurrentUser).value();
        kesto::demo::AppendUser(s.board, kesto::demo::MakeUser("ALICE", "Alice Smith", 50)).value();
        s.CurrentUserNumber = 1;
        s.CurrentMailbox = kesto::Mailbox::Received;
    }
    std::string mail(const std::string& name) const { return dir.file("MAIL/" + name); }
    std::int16_t add(std::string_view subject, std::string_view body, std::int32_t stamp = 1150000000) {
        kesto::MessageInfo m = kesto::demo::MakeMessage(2, 1, "ALICE", "SYSOP", subject, stamp);
        return static_cast<std::int16_t>(kesto::demo::AppendMessage(s.board, "EMAIL", m, body).value());
    }
    // Opens the reader on list row `row` as the mailbox window does.
    void at(int row) {
        s.CurrentListIndex = static_cast<std::int16_t>(row);
        s.CurrentMessageNumber = list.messageNumberAt(row);
        s.ReplyMode = false;
    }
};

// Runs `inspect` on the modal window the next statement opens, which it must close.
inline void OnNextModal(std::function<void(QWidget*)> inspect) {
    QTimer::singleShot(0, [inspect] {
        QWidget* w = QApplication::activeModalWidget();
        inspect(w);
        if (w && w->isVisible()) w->close();
    });
}

} // namespace kesto::test
