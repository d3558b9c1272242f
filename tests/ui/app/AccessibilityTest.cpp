// A name for every control and list column that a screen reader can read out, and
// captions that lead to the fields they stand for.
#include "FakeDialogs.h"
#include "TestBoard.h"
#include "UiTestSupport.h"

#include "DemoBoard.h"
#include "MailBase.h"
#include "addressbook/frmAddToAddressBook.h"
#include "addressbook/frmAddressBook.h"
#include "addressbook/frmAddressBookEdit.h"
#include "app/Session.h"
#include "composer/frmNewMessage.h"
#include "composer/frmSendToAll.h"
#include "composer/frmUserListing.h"
#include "mailbox/frmMain.h"
#include "reader/frmAbout.h"
#include "reader/frmMessageInfo.h"
#include "reader/frmOpenMessage.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTreeView>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace kesto::test {
namespace {

// The controls a user reaches: named ones, not the parts Qt builds inside them.
std::vector<QWidget*> Controls(const QWidget& window) {
    std::vector<QWidget*> out;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) continue;
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
            qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QComboBox*>(w) ||
            qobject_cast<QAbstractItemView*>(w) || qobject_cast<QTabBar*>(w) || qobject_cast<QLabel*>(w))
            out.push_back(w);
    }
    return out;
}

QString AccessibleName(QObject* o) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(o);
    return a ? a->text(QAccessible::Name) : QString();
}

TEST(Accessibility, EveryControlAndListColumnHasANameAndLabelsLeadToTheirFields) {
    TempDir dir;
    ui::Session s;
    s.board = demo::CreateBoard(dir.Path()).value();
    s.CurrentUser = demo::MakeUser("Sysop", "System Operator", 255);
    demo::AppendUser(s.board, s.CurrentUser).value();
    MessageInfo m = demo::MakeMessage(2, 1, "Bob", "Sysop", "Hello", 1150000000);
    m.Offline = 1;
    demo::AppendMessage(s.board, "EMAIL", m, "text").value();
    WriteNative(dir.File("DATA/AB1.DAT"), "Bob,Bob@1/1,1\r\n");
    FakeDialogs dialogs;

    ui::frmMain win(s);
    win.Form_Load();
    std::vector<std::unique_ptr<QWidget>> windows;
    windows.push_back(std::make_unique<ui::frmOpenMessage>(s, win, 1));
    windows.push_back(std::make_unique<ui::frmMessageInfo>(s, 1));
    windows.push_back(std::make_unique<ui::frmNewMessage>(s));
    windows.push_back(std::make_unique<ui::frmSendToAll>());
    windows.push_back(std::make_unique<ui::frmUserListing>(s));
    windows.push_back(std::make_unique<ui::frmAddressBook>(s, ui::frmAddressBook::Mode::Pick));
    windows.push_back(std::make_unique<ui::frmAddressBookEdit>(s, 1));
    windows.push_back(std::make_unique<ui::frmAddToAddressBook>(s, 1));
    windows.push_back(std::make_unique<ui::frmAbout>());
    std::vector<QWidget*> all{&win};
    for (auto& w : windows) all.push_back(w.get());
    for (QWidget* window : all)
        for (QWidget* control : Controls(*window))
            EXPECT_FALSE(AccessibleName(control).trimmed().isEmpty())
                << window->objectName().toStdString() << " " << control->objectName().toStdString();

    // The list's columns, the state icon's words included.
    auto* list = Child<QTreeView>(win, "ListView1");
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(list);
    ASSERT_NE(table, nullptr);
    int headers = 0;
    for (int i = 0; i < table->childCount(); ++i) {
        QAccessibleInterface* cell = table->child(i);
        if (!cell || cell->role() != QAccessible::ColumnHeader) continue;
        ++headers;
        EXPECT_FALSE(cell->text(QAccessible::Name).isEmpty()) << i;
    }
    EXPECT_EQ(headers, 6);
    ASSERT_NE(table->tableInterface(), nullptr);
    EXPECT_EQ(table->tableInterface()->cellAt(0, 0)->text(QAccessible::Name), QStringLiteral("read"));
    EXPECT_EQ(list->model()->index(0, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("read"));

    // Labels that stand for a field lead to it.
    const auto buddyOf = [](QWidget* window, const char* label) {
        return Child<QLabel>(window, label)->buddy();
    };
    EXPECT_EQ(buddyOf(windows[2].get(), "lblMailSubject"), Child(windows[2].get(), "MailSubject"));
    EXPECT_EQ(buddyOf(windows[3].get(), "lblValue"), Child(windows[3].get(), "ValueValue"));
    for (auto [label, field] : {std::pair{"lblDescription", "DescriptionValue"},
                                {"lblAddress", "AddressValue"},
                                {"lblNetId", "NetIdValue"}})
        EXPECT_EQ(buddyOf(windows[6].get(), label), Child(windows[6].get(), field)) << label;
    EXPECT_EQ(buddyOf(windows[7].get(), "lblDescription"), Child(windows[7].get(), "DescriptionValue"));
}

} // namespace
} // namespace kesto::test
