#include "MailList.h"

#include "HalkTestBoard.h"

#include <gtest/gtest.h>

using namespace kesto;
using namespace kesto::test;

namespace {

struct Msg {
    std::int32_t from, to;
    std::string fromHandle, toHandle, subject;
    std::int16_t deleted = 0;
    std::int32_t offline = 0;
    std::string attName = "";
    std::int32_t length = 0;
};

std::string Record(const Msg& m, unsigned seed) {
    std::string rec = Pattern(kMessageInfoSize, seed);
    Set(rec, 0, Le32(m.from));
    Set(rec, 4, Le32(m.to));
    Set(rec, 8, Pad(m.fromHandle, 40));
    Set(rec, 48, Pad(m.toHandle, 40));
    Set(rec, 268, Pad(m.subject, 64));
    Set(rec, 332, Le16(m.deleted));
    Set(rec, 334, Pad("  Tue Jul 11, 2006 14:03:22 +0200", 40));
    Set(rec, 374, Le32(m.offline));
    Set(rec, 382, Pad(m.attName, 12));
    Set(rec, 482, Le32(m.length));
    return rec;
}

MessageInfo Info(std::int16_t deleted, std::int32_t offline, std::string_view att) {
    MessageInfo m = EmptyMessageInfo();
    m.Deleted = deleted;
    m.Offline = offline;
    m.AttFileName = Pad(att, 12);
    return m;
}

} // namespace

TEST(MailList, RowIconRule) {
    EXPECT_EQ(RowIcon(Info(1, 0, "A.ZIP")), "delete"); // deleted wins over everything
    EXPECT_EQ(RowIcon(Info(7, 1, "")), "delete");
    EXPECT_EQ(RowIcon(Info(-1, 1, "")), "open"); // only a mark of 1 or more shows as deleted
    EXPECT_EQ(RowIcon(Info(0, 0, "A.ZIP")), "email_attach");
    EXPECT_EQ(RowIcon(Info(0, 0, "   ")), "new");
    EXPECT_EQ(RowIcon(Info(0, -3, "A.ZIP")), "new"); // the attachment shows only at exactly 0
    EXPECT_EQ(RowIcon(Info(0, 1, "A.ZIP")), "open");
    EXPECT_EQ(RowIcon(Info(0, 2, "")), "open");
}

TEST(MailList, RowsOfOneUserNewestFirst) {
    TempDir dir;
    Board b = HandBoard(dir);
    std::string index = Record({1, 2, "SysOp", "Guest", " First ", 0, 1, "", 10}, 1) +
                        Record({2, 1, "Guest", "SysOp", "To me", 0, 0, "A.ZIP", 20}, 2) +
                        Record({1, 1, "SysOp", "SysOp", "Self", 1, 0, "", 30}, 3) +
                        Record({3, 2, "Other", "Guest", "Not mine", 0, 0, "", 40}, 4);
    WriteNative(dir.file("MAIL/EMAIL.DAT"), index + index.substr(0, 300)); // a partial record at the end
    WriteNative(dir.file("MAIL/SNTEMAIL.DAT"), index);

    std::string buffer;
    auto rows = ReadMailboxRows(b, 1, 1, buffer);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].number, 3);
    EXPECT_EQ(rows[0].icon, "delete");
    EXPECT_EQ(rows[0].name, "SysOp");
    EXPECT_EQ(rows[0].subject, "Self");
    EXPECT_EQ(rows[0].date, "Tue Jul 11, 2006 14:03:22 +0200");
    EXPECT_EQ(rows[0].size, 30);
    EXPECT_TRUE(rows[0].bold); // deleted but never read
    EXPECT_EQ(rows[1].number, 2);
    EXPECT_EQ(rows[1].icon, "email_attach");
    EXPECT_EQ(rows[1].name, "Guest"); // the sender in the received mailbox

    // Sent mail is found by the sender and shows the recipient.
    rows = ReadMailboxRows(b, 2, 1, buffer);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].number, 3);
    EXPECT_EQ(rows[1].number, 1);
    EXPECT_EQ(rows[1].name, "Guest");
    EXPECT_EQ(rows[1].subject, "First");
    EXPECT_EQ(rows[1].icon, "open");
    EXPECT_FALSE(rows[1].bold);

    // The fast path and the record decoder agree on every row.
    for (const auto& row : rows) {
        MailRow full = MakeMailRow(row.number,
                                   DecodeMessageInfo(std::string_view(index).substr((row.number - 1) * kMessageInfoSize,
                                                                                    kMessageInfoSize)),
                                   false);
        EXPECT_EQ(full.icon, row.icon);
        EXPECT_EQ(full.name, row.name);
        EXPECT_EQ(full.subject, row.subject);
        EXPECT_EQ(full.date, row.date);
        EXPECT_EQ(full.size, row.size);
        EXPECT_EQ(full.bold, row.bold);
    }

    EXPECT_TRUE(ReadMailboxRows(b, 1, 9, buffer).empty());
    std::filesystem::remove(dir.file("MAIL/SNTEMAIL.DAT"));
    EXPECT_TRUE(ReadMailboxRows(b, 2, 1, buffer).empty()); // no index: no rows, no failure
    EXPECT_TRUE(LogLines(b).empty());
}
