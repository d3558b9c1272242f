// A fixture board with three users and a main window over it.
#pragma once

#include "FakeDialogs.h"
#include "TestBoard.h"
#include "UiTestSupport.h"

#include "DemoBoard.h"
#include "MailBase.h"
#include "app/Icons.h"
#include "app/Session.h"
#include "app/Twips.h"
#include "mailbox/frmMain.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QHeaderView>
#include <QTreeView>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace kesto::test {

class MailboxFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        board = demo::CreateBoard(dir.Path()).value();
        demo::AppendUser(board, demo::MakeUser("Sysop", "System Operator", 255)).value();
        demo::AppendUser(board, demo::MakeUser("Bob", "Bob Stone", 50)).value();
        demo::AppendUser(board, demo::MakeUser("Ann", "Ann Walker", 50)).value();
    }

    struct Mail {
        const char* mailbox = "EMAIL";
        std::int32_t from = 2;
        std::int32_t to = 1;
        std::string subject = "Hello";
        std::int32_t offline = 0;
        std::int16_t deleted = 0;
        std::string attachment = std::string();
        std::string body = "Hi.\r\n";
        std::int32_t stamp = 1'000'000'000;
    };
    static const char* HandleOf(std::int32_t user) { return user == 1 ? "Sysop" : user == 2 ? "Bob" : "Ann"; }
    int Add(const Mail& m) {
        MessageInfo rec =
            demo::MakeMessage(m.from, m.to, HandleOf(m.from), HandleOf(m.to), m.subject, m.stamp);
        rec.Offline = m.offline;
        rec.Deleted = m.deleted;
        if (!m.attachment.empty()) rec.AttFileName = (m.attachment + std::string(12, ' ')).substr(0, 12);
        return demo::AppendMessage(board, m.mailbox, rec, m.body).value();
    }
    MessageInfo Record(const char* mailbox, int number) {
        return GetMessageInfo(board, mailbox, static_cast<RecordNo>(number)).value();
    }
    std::string NativeFile(const char* rel) { return dir.File(rel); }

    ui::frmMain& Open() {
        session.board = board;
        tester.reset();
        win = std::make_unique<ui::frmMain>(session);
        // Every rebuild, sort and row refresh the tests drive is checked against the model rules.
        tester = std::make_unique<QAbstractItemModelTester>(
            Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        win->Form_Load();
        return *win;
    }
    QAction* Action(const char* name) { return Act(*win, name); }
    QTreeView* List() { return win->findChild<QTreeView*>(QStringLiteral("ListView1")); }
    QAbstractItemModel* Model() { return List()->model(); }
    QString Cell(int row, int column) { return Model()->index(row, column).data().toString(); }
    // The texts of 0-based column `column`, top to bottom.
    QStringList ColumnTexts(int column) {
        QStringList out;
        for (int r = 0; r < Model()->rowCount(); ++r) out << Cell(r, column);
        return out;
    }
    QString HeaderIcon(int column) {
        // The icon's cache key tells which image it is; compare against the keyed images.
        const QIcon icon = Model()->headerData(column, Qt::Horizontal, Qt::DecorationRole).value<QIcon>();
        if (icon.isNull()) return {};
        for (const char* key : {"up", "down"})
            if (icon.cacheKey() == ui::Icon(key).cacheKey()) return QString::fromLatin1(key);
        return QStringLiteral("?");
    }
    QString RowIcon(int row) {
        const QIcon icon = Model()->index(row, 0).data(Qt::DecorationRole).value<QIcon>();
        for (const char* key : {"new", "open", "email_attach", "delete"})
            if (icon.cacheKey() == ui::Icon(key).cacheKey()) return QString::fromLatin1(key);
        return QStringLiteral("?");
    }
    bool Bold(int row, int column) {
        return Model()->index(row, column).data(Qt::FontRole).value<QFont>().bold();
    }
    int Px(int twips) { return ui::TwipsToPixels(twips, ui::ScreenDpi(win.get())); }

    TempDir dir;
    Board board;
    ui::Session session;
    FakeDialogs dialogs;
    std::unique_ptr<ui::frmMain> win;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

} // namespace kesto::test
