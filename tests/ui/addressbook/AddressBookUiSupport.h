// Fixture and helpers shared by the address book window tests.
#pragma once

#include "DemoBoard.h"
#include "TestBoard.h"
#include "app/Session.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kesto::test {

class AddressBookUiTest : public ::testing::Test {
  protected:
    TempDir dir;
    ui::Session s;
    QObject testScope; // ends the polling of OnModal with the test

    AddressBookUiTest() {
        s.board = demo::CreateBoard(dir.path() + "/board").value();
        s.CurrentUserNumber = 1;
    }
    std::string bookPath(int user = 1) const {
        return s.board.startDir + "/DATA/AB" + std::to_string(user) + ".DAT";
    }
    void writeBook(std::string_view bytes, int user = 1) const { WriteNative(bookPath(user), bytes); }
    std::string book(int user = 1) const { return ReadNative(bookPath(user)); }
};

template <class T = QWidget> T* Child(QObject* w, const char* name) {
    T* c = w->findChild<T*>(QLatin1String(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

// Runs `f` on the modal dialog named `name` once it is up (polled, so it does not
// matter how many events the opening takes). A dialog that is still open afterwards
// is rejected, so a failing test never hangs. Polling stops when `context` goes away.
inline void OnModal(QObject* context, const QString& name, std::function<void(QWidget*)> f,
                    int triesLeft = 200) {
    QTimer::singleShot(10, context, [context, name, f, triesLeft] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || w->objectName() != name) {
            if (triesLeft > 0) OnModal(context, name, f, triesLeft - 1);
            return;
        }
        f(w);
        if (QApplication::activeModalWidget() == w)
            QMetaObject::invokeMethod(w, "reject", Qt::QueuedConnection);
    });
}

} // namespace kesto::test
