// A fixture board for the composer's windows: a SysOp, an ordinary user, a
// level-0 slot, two offered networks, and a session for user 1.
#pragma once

#include "DemoBoard.h"
#include "FakeDialogs.h"
#include "TestBoard.h"
#include "UiTestSupport.h"
#include "app/Session.h"

#include <QComboBox>
#include <QPlainTextEdit>

#include <string>

namespace kesto::test {

struct ComposerBoard {
    TempDir dir;
    kesto::ui::Session s;

    ComposerBoard() {
        kesto::demo::BoardOptions opt;
        opt.sysopAttachLevel = 10;
        opt.emailAttachLevel = 50;
        s.board = kesto::demo::CreateBoard(dir.Path(), opt).value();
        kesto::demo::WriteDataFile(s.board, "NETWORKS.LST",
                                   "1,1,Home,0\r\n7,3,Fido Net,0\r\n5,4,Silent,0\r\n")
            .value();
        kesto::demo::WriteDataFile(s.board, "NET.7", "SYSTEMID=2:7/1\r\n").value();
        s.CurrentUser = kesto::demo::MakeUser("SysOp", "Sam Sysop", 255);
        kesto::demo::AppendUser(s.board, s.CurrentUser).value();
        kesto::demo::AppendUser(s.board, kesto::demo::MakeUser("Bob", "Robert Smith", 20)).value();
        kesto::demo::AppendUser(s.board, kesto::demo::MakeUser("Gone", "", 0)).value();
        kesto::demo::AppendUser(s.board, kesto::demo::MakeUser("Carol", "Carol Jones", 255)).value();
        WriteNative(dir.File("DATA/STATHBRD.DAT"), std::string(88, '\0'));
        kesto::demo::SetNodeUser(s.board, 0, 0).value();
        s.CurrentUserNumber = 1;
        s.CurrentMailbox = kesto::Mailbox::Received;
    }
    std::string Read(const std::string& rel) const { return ReadNative(dir.File(rel)); }
    void BecomeUser(std::int32_t n, std::int16_t level) {
        s.CurrentUserNumber = n;
        s.CurrentUser.SecurityLevel = level;
    }
};

} // namespace kesto::test
