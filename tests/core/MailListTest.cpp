#include "MailList.h"

#include "HalkTestBoard.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace kesto;
using namespace kesto::test;

namespace {

std::string Record(std::int32_t from, std::int32_t to, std::string_view fromHandle, std::string_view toHandle,
                   std::string_view subject, std::int16_t deleted, std::int32_t offline,
                   std::string_view att) {
    std::string rec = Pattern(kMessageInfoSize, static_cast<unsigned>(from * 7 + to));
    Set(rec, 0, Le32(from) + Le32(to) + Pad(fromHandle, 40) + Pad(toHandle, 40));
    Set(rec, 268,
        Pad(subject, 64) + Le16(deleted) + Pad("  Tue Jul 11, 2006 14:03:22 +0200", 40) + Le32(offline));
    Set(rec, 382, Pad(att, 12));
    Set(rec, 482, Le32(from * 10 + to));
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

TEST(MailList, RowStateRule) {
    EXPECT_EQ(RowStateOf(Info(1, 0, "A.ZIP")), RowState::Deleted); // deleted wins over everything
    EXPECT_EQ(RowStateOf(Info(-1, 1, "")), RowState::Read);        // only a mark of 1 or more shows
    EXPECT_EQ(RowStateOf(Info(0, 0, "A.ZIP")), RowState::UnreadWithAttachment);
    EXPECT_EQ(RowStateOf(Info(0, 0, "   ")), RowState::Unread);
    EXPECT_EQ(RowStateOf(Info(0, -3, "A.ZIP")), RowState::Unread); // the attachment shows only at exactly 0
    EXPECT_EQ(RowStateOf(Info(0, 2, "A.ZIP")), RowState::Read);
}

TEST(MailList, RowsOfOneUserNewestFirst) {
    TempDir dir;
    Board b = HandBoard(dir);
    const std::string index = Record(1, 2, "SysOp", "Guest", " First ", 0, 1, "") +
                              Record(2, 1, "Guest", "SysOp", "To me", 0, 0, "A.ZIP") +
                              Record(1, 1, "SysOp", "SysOp", "Self", 1, 0, "") +
                              Record(3, 2, "Other", "Guest", "Not mine", 0, 0, "");
    WriteNative(dir.File("MAIL/EMAIL.DAT"), index + index.substr(0, 300)); // and a partial record
    WriteNative(dir.File("MAIL/SNTEMAIL.DAT"), index);

    std::string buffer;
    auto rows = ReadMailboxRows(b, Mailbox::Received, 1, buffer).value();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].number, 3);
    EXPECT_EQ(rows[0].state, RowState::Deleted);
    EXPECT_EQ(rows[0].date, "Tue Jul 11, 2006 14:03:22 +0200");
    EXPECT_EQ(rows[0].size, 11);
    EXPECT_TRUE(rows[0].bold); // deleted but never read
    EXPECT_EQ(rows[1].number, 2);
    EXPECT_EQ(rows[1].state, RowState::UnreadWithAttachment);
    EXPECT_EQ(rows[1].name, "Guest"); // the sender, in received mail

    rows =
        ReadMailboxRows(b, Mailbox::Sent, 1, buffer).value(); // sent mail: by sender, showing the recipient
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].number, 1);
    EXPECT_EQ(rows[1].name, "Guest");
    EXPECT_EQ(rows[1].subject, "First");
    EXPECT_FALSE(rows[1].bold);
    for (const auto& row : rows) { // the fast path agrees with the full decoder
        MailRow full = MakeMailRow(
            row.number,
            DecodeMessageInfo(std::string_view(index).substr((row.number - 1) * kMessageInfoSize)),
            Mailbox::Sent);
        EXPECT_EQ(std::tie(full.state, full.name, full.subject, full.date, full.size, full.bold,
                           full.ownerName, full.unread, full.attachment, full.position),
                  std::tie(row.state, row.name, row.subject, row.date, row.size, row.bold, row.ownerName,
                           row.unread, row.attachment, row.position));
    }

    EXPECT_TRUE(ReadMailboxRows(b, Mailbox::Received, 9, buffer)->empty());
    std::filesystem::remove(dir.File("MAIL/SNTEMAIL.DAT"));
    EXPECT_TRUE(ReadMailboxRows(b, Mailbox::Sent, 1, buffer)->empty()); // no index: no rows, no failure
    EXPECT_TRUE(LogLines(b).empty());
}

// The walk that streams the rows reads the index a slice at a time from its end;
// across many slices it hands over exactly the rows the list shows, in its order.
TEST(MailList, WalkHandsOverTheListsRowsAcrossSlices) {
    TempDir dir;
    Board b = HandBoard(dir);
    std::string index;
    for (int i = 0; i < 1000; ++i)
        index +=
            Record(i % 3 + 1, i % 2 + 1, "From " + std::to_string(i), "To", "Subject " + std::to_string(i),
                   static_cast<std::int16_t>(i % 5 == 0), i % 4, i % 7 == 0 ? "A.ZIP" : "");
    WriteNative(dir.File("MAIL/EMAIL.DAT"), index + index.substr(0, 100));
    WriteNative(dir.File("MAIL/SNTEMAIL.DAT"), index);

    auto key = [](const auto& r) {
        return std::make_tuple(r.number, r.state, std::string(r.name), std::string(r.subject),
                               std::string(r.date), r.size, r.bold, std::string(r.ownerName), r.unread,
                               r.attachment, r.position);
    };
    std::string buffer;
    for (Mailbox box : {Mailbox::Received, Mailbox::Sent}) {
        for (std::int32_t user : {1, 2, 3}) {
            std::vector<decltype(key(MailRow{}))> listed, walked;
            for (const MailRow& r : ReadMailboxRows(b, box, user, buffer).value()) listed.push_back(key(r));
            ASSERT_TRUE(ForEachMailboxRow(b, box, user, buffer,
                                          [&](const MailRowView& r) { walked.push_back(key(r)); }));
            EXPECT_EQ(walked, listed) << MailboxName(box) << " of user " << user;
        }
    }
    std::filesystem::remove(dir.File("MAIL/SNTEMAIL.DAT"));
    EXPECT_TRUE(ForEachMailboxRow(b, Mailbox::Sent, 1, buffer, [](const MailRowView&) { FAIL(); }));
    EXPECT_TRUE(LogLines(b).empty());
}
