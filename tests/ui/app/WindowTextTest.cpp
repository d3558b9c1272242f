// What every window shows of a mail: board texts as plain text, whatever they hold;
// and a name for every control and list column that a screen reader can read out.
#include "FakeDialogs.h"
#include "TestBoard.h"
#include "UiTestSupport.h"

#include "DemoBoard.h"
#include "MailBase.h"
#include "Records.h"
#include "addressbook/frmAddToAddressBook.h"
#include "addressbook/frmAddressBook.h"
#include "addressbook/frmAddressBookEdit.h"
#include "app/Dialogs.h"
#include "app/Session.h"
#include "composer/frmNewMessage.h"
#include "composer/frmSendToAll.h"
#include "composer/frmUserListing.h"
#include "mailbox/frmMain.h"
#include "reader/frmAbout.h"
#include "reader/frmMessageInfo.h"
#include "reader/frmOpenMessage.h"

#include <QAccessible>
#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTabBar>
#include <QTreeView>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kesto::test {
namespace {

QString Latin1(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// A label that took its text for markup would be as wide as the little it renders.
bool ShownAsText(const QLabel* l) {
    if (!l) return false;
    int widest = 0;
    for (const QString& line : l->text().split(QRegularExpression(QStringLiteral("[\r\n]"))))
        widest = std::max(widest, l->fontMetrics().horizontalAdvance(line));
    return l->sizeHint().width() >= widest;
}

class WindowText : public ::testing::Test {
  protected:
    TempDir dir;
    ui::Session s;

    WindowText() {
        s.board = demo::CreateBoard(dir.Path()).value();
        s.CurrentUser = demo::MakeUser("Sysop", "System Operator", 255);
        demo::AppendUser(s.board, s.CurrentUser).value();
        s.CurrentUserNumber = 1;
    }
    // A message to the SysOp that has been read already, so showing it writes nothing.
    RecordNo Receive(std::string_view fromHandle, std::string_view subject, std::string_view body) {
        MessageInfo m = demo::MakeMessage(2, 1, fromHandle, "Sysop", subject, 1150000000);
        m.Offline = 1;
        return demo::AppendMessage(s.board, "EMAIL", m, body).value();
    }
    std::string MailFile(const char* name) const { return dir.File(std::string("MAIL/") + name); }
};

TEST_F(WindowText, HostileTextsAreShownAsTheyCameAndTheBoardKeepsItsBytes) {
    std::string formats;
    while (formats.size() < std::size_t{64} * 1024) formats += "%s%n";
    const struct {
        const char* what;
        std::string handle, subject, body;
    } cases[] = {
        {"escape sequences", "Eve", "\x1b]0;pwned\x07\x1b[2J\x1b[31mred", "\x1b]0;pwned\x07\x1b[2J"},
        {"bell", "\x07\x07", "ring\x07", "\x07"},
        {"nul", std::string("E\0ve", 4), std::string("a\0b", 3), "text"},
        {"lone cr", "Eve", "one\rtwo", "one\rtwo"},
        {"markup", "<i>Eve</i>", "<b>x</b><img src=\"file:///etc/passwd\">", "<html>hi</html>"},
        {"cr lf in a handle", "Eve\r\nX-Evil: 1", "hello", "text"},
        {"formats", "%s%n%s%n", "%s%n%s%n%s%n", formats},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const RecordNo n = Receive(c.handle, c.subject, c.body);
        const std::string index = ReadNative(MailFile("EMAIL.DAT")),
                          texts = ReadNative(MailFile("EMAIL.BIN"));

        ui::frmMain win(s);
        win.Form_Load();
        QAbstractItemModel* rows = Child<QTreeView>(win, "ListView1")->model();
        EXPECT_EQ(rows->index(0, 3).data().toString(), Latin1(c.subject));
        EXPECT_EQ(rows->index(0, 2).data().toString(), Latin1(c.handle));

        ui::frmOpenMessage reader(s, win, 1);
        ui::frmMessageInfo info(s, n);
        EXPECT_EQ(LabelText(reader, "lblMailSubjectValue"), Latin1(c.subject));
        EXPECT_TRUE(
            LabelText(reader, "lblMailFromValue").startsWith(Latin1(c.handle) + QStringLiteral(" @")));
        EXPECT_EQ(LabelText(info, "lblSubjectValue"), Latin1(c.subject));
        EXPECT_EQ(LabelText(info, "lblFromHandleValue"), Latin1(c.handle));
        for (QLabel* l : reader.findChildren<QLabel*>() + info.findChildren<QLabel*>())
            EXPECT_TRUE(ShownAsText(l)) << l->objectName().toStdString();
        QString body = Latin1(c.body);
        body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        EXPECT_EQ(Child<QPlainTextEdit>(reader, "txtMessage")->toPlainText(), body);

        EXPECT_EQ(ReadNative(MailFile("EMAIL.DAT")), index);
        EXPECT_EQ(ReadNative(MailFile("EMAIL.BIN")), texts);
        std::filesystem::remove(MailFile("EMAIL.DAT"));
        std::filesystem::remove(MailFile("EMAIL.BIN"));
    }
}

TEST_F(WindowText, MarkupInTheAddEntryDialogPickersAndMessageBoxesIsShownAsText) {
    const std::string markup = "<b>x</b><img src=\"file:///etc/passwd\">";
    demo::AppendUser(s.board, demo::MakeUser("<i>Eve</i>", "Eve", 10)).value();
    Receive("<i>Eve</i>", markup, "text");
    WriteNative(dir.File("DATA/AB1.DAT"), markup + ",Eve@1/1,1\r\n");

    ui::frmAddToAddressBook add(s, 1);
    EXPECT_TRUE(ShownAsText(Child<QLabel>(add, "lblAddressValue")));
    ui::frmUserListing users(s);
    EXPECT_TRUE(
        Child<QListWidget>(users, "lstUsers")->item(1)->text().contains(QStringLiteral("<i>Eve</i>")));
    ui::frmAddressBook book(s, ui::frmAddressBook::Mode::View);
    EXPECT_TRUE(
        Child<QListWidget>(book, "lstAddressBook")->item(0)->text().contains(Latin1(markup).left(23)));

    bool boxShownAsText = false;
    OnNextModal([&](QWidget* w) {
        const QLabel* text = w ? w->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")) : nullptr;
        boxShownAsText = text && text->text() == Latin1(markup) && ShownAsText(text);
    });
    ui::GetDialogs().ShowMessage(nullptr, ui::Dialogs::Icon::Information, QStringLiteral("Kesto"),
                                 Latin1(markup));
    EXPECT_TRUE(boxShownAsText);
}

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

TEST_F(WindowText, EveryControlAndListColumnHasANameAndLabelsLeadToTheirFields) {
    Receive("Bob", "Hello", "text");
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
