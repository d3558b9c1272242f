// The composer driven from the keyboard alone: the order Tab visits the fields
// and what Return does in a text box and on a button.
#include "ComposerFixture.h"

#include "composer/frmNewMessage.h"
#include "composer/frmSendToAll.h"

#include <QPushButton>
#include <QTest>

namespace kesto::test {
namespace {

using ui::frmNewMessage;

// Focuses `target` and presses `key` there; true when a modal window opened (it is closed again).
bool OpensModal(QWidget& owner, QWidget* target, Qt::Key key) {
    target->setFocus();
    bool opened = false;
    QTimer::singleShot(0, [&] {
        QWidget* m = QApplication::activeModalWidget();
        if (m && m != &owner) {
            opened = true;
            m->close();
        }
    });
    QTest::keyClick(target, key);
    QCoreApplication::processEvents();
    return opened;
}

TEST(ComposerKeyboard, TabVisitsTheFieldsInReadingOrderAndReturnOnlyPressesAFocusedButton) {
    ComposerBoard f;
    frmNewMessage w(f.s);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ASSERT_EQ(QApplication::focusWidget(), Edit(w, "MailTo"));

    const QList<QWidget*> order = {Edit(w, "MailTo"),      Child<QComboBox>(w, "MailToNetid"),
                                   Edit(w, "MailSubject"), Child<QPushButton>(w, "cmdAttach"),
                                   Edit(w, "MailAttach"),  Child<QPlainTextEdit>(w, "txtMessage")};
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), order[i]) << "step " << i;
    }
    // Backwards from the recipient lands on To..., the button in front of it.
    Edit(w, "MailTo")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), Child<QPushButton>(w, "cmdTo"));

    // Return after typing a recipient or subject stays in the window: no picker opens.
    for (const char* box : {"MailTo", "MailSubject", "MailAttach"}) {
        EXPECT_FALSE(OpensModal(w, Edit(w, box), Qt::Key_Return)) << box;
        EXPECT_TRUE(w.isVisible());
    }
    // On the focused To... button Return opens the address book, as Space does.
    EXPECT_TRUE(OpensModal(w, Child<QPushButton>(w, "cmdTo"), Qt::Key_Return));
    EXPECT_TRUE(OpensModal(w, Child<QPushButton>(w, "cmdTo"), Qt::Key_Space));
}

TEST(ComposerKeyboard, EscapeKeepsTheMessageTheCloseButtonStillCloses) {
    ComposerBoard f;
    frmNewMessage w(f.s);
    w.show();
    auto* text = Child<QPlainTextEdit>(w, "txtMessage");
    text->setFocus();
    QTest::keyClicks(text, QStringLiteral("half a message"));
    for (QWidget* target : {static_cast<QWidget*>(text), static_cast<QWidget*>(&w)}) {
        QTest::keyClick(target, Qt::Key_Escape);
        EXPECT_TRUE(w.isVisible());
    }
    EXPECT_EQ(text->toPlainText(), QStringLiteral("half a message"));
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Rejected);
}

TEST(ComposerKeyboard, SendToAllTakesReturnAsOkInTheValueButAsCancelOnAFocusedCancel) {
    ComposerBoard f;
    {
        ui::frmSendToAll d;
        d.show();
        auto* cancel = Child<QPushButton>(d, "cmdCancel");
        Edit(d, "ValueValue")->setText(QStringLiteral("20"));
        cancel->setFocus();
        QTest::keyClick(cancel, Qt::Key_Return);
        EXPECT_EQ(d.result(), QDialog::Rejected);
        EXPECT_EQ(d.GetCriterion(), std::nullopt);
    }
    ui::frmSendToAll d;
    d.show();
    QLineEdit* value = Edit(d, "ValueValue");
    value->setFocus();
    QTest::keyClicks(value, QStringLiteral("20"));
    QTest::keyClick(value, Qt::Key_Return);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.GetCriterion(), "all users > 20");
}

} // namespace
} // namespace kesto::test
