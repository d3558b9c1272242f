// Fixture and helpers shared by the address book window tests.
#pragma once

#include "DemoBoard.h"
#include "TestBoard.h"
#include "UiTestSupport.h"
#include "app/Session.h"

#include <gtest/gtest.h>

#include <string>

namespace kesto::test {

class AddressBookUiTest : public ::testing::Test {
  protected:
    TempDir dir;
    ui::Session s;
    QObject testScope; // ends the polling of OnModal with the test

    AddressBookUiTest() {
        s.board = demo::CreateBoard(dir.Path() + "/board").value();
        s.CurrentUserNumber = 1;
    }
    std::string BookPath(int user = 1) const {
        return s.board.startDir + "/DATA/AB" + std::to_string(user) + ".DAT";
    }
    void WriteBook(std::string_view bytes, int user = 1) const { WriteNative(BookPath(user), bytes); }
    std::string Book(int user = 1) const { return ReadNative(BookPath(user)); }
};

} // namespace kesto::test
