#include "CliRun.h"

#include "DemoBoard.h"
#include "TestBoard.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace kesto::test {
namespace {

class AddressBookCliTest : public CliBoardTest {
  protected:
    std::string BookPath(int user) const { return boardDir + "/DATA/AB" + std::to_string(user) + ".DAT"; }
};

TEST_F(AddressBookCliTest, ListsEntriesAsRowsOrJson) {
    WriteNative(BookPath(1), "Desk,desk@4/5,2\r\n\r\n Fred ,Fred,0\r\nCaf\xE9,cafe@1/1,1\r\n");
    ASSERT_EQ(Run({"addressbook"}), 0) << err;
    EXPECT_EQ(out, "1: Desk                     desk@4/5*2\n"
                   "2: Fred                     Fred@0*0\n"
                   "3: Caf\xC3\xA9                     cafe@1/1*1\n");

    ASSERT_EQ(Run({"addressbook", "--json"}), 0) << err;
    EXPECT_NE(out.find("\"address\": \"desk@4/5\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"networkId\": \"2\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"description\": \"Caf\xC3\xA9\""), std::string::npos) << out;
    EXPECT_EQ(out.front(), '[');

    // Another user without a book: an empty list, not a failure.
    ASSERT_EQ(Run({"addressbook", "--user", "2", "--json"}), 0) << err;
    EXPECT_EQ(out.find('{'), std::string::npos) << out;
}

TEST_F(AddressBookCliTest, AddAppendsOneEntryThroughTheCore) {
    WriteNative(BookPath(3), "Ann,ann@0,0"); // no line end after the last entry
    ASSERT_EQ(Run({"addressbook", "add", "--user", "3", "--description", " Bob ", "--address", "bob@12/1",
                   "--network", "1"}),
              0)
        << err;
    EXPECT_EQ(ReadNative(BookPath(3)), "Ann,ann@0,0\r\nBob,bob@12/1,1\r\n");

    ASSERT_EQ(Run({"addressbook", "add", "--user", "3", "--description", "Caf\xC3\xA9", "--address", "c@1",
                   "--network", "0", "--json"}),
              0)
        << err;
    EXPECT_EQ(ReadNative(BookPath(3)), "Ann,ann@0,0\r\nBob,bob@12/1,1\r\nCaf\xE9,c@1,0\r\n");
    EXPECT_NE(out.find("\"networkId\": \"0\""), std::string::npos) << out;
}

TEST_F(AddressBookCliTest, RefusesSeparatorsAndBadValuesWithoutTouchingTheFile) {
    WriteNative(BookPath(1), "Keep,keep@1/1,1\r\n");
    const std::vector<std::vector<std::string>> refused = {
        {"--description", "a,b", "--address", "x@1", "--network", "1"},
        {"--description", "a", "--address", "x;@1", "--network", "1"},
        {"--description", "a", "--address", "x@1", "--network", "one"},
        {"--description", "a", "--address", "  ", "--network", "1"},
    };
    for (const auto& options : refused) {
        std::vector<std::string> args = {"addressbook", "add", "--user", "1"};
        args.insert(args.end(), options.begin(), options.end());
        EXPECT_EQ(Run(args), 1) << options[1] << " / " << options[3] << " / " << options[5];
        EXPECT_FALSE(err.empty());
    }
    EXPECT_EQ(ReadNative(BookPath(1)), "Keep,keep@1/1,1\r\n");

    EXPECT_EQ(Run({"addressbook", "add", "--user", "1", "--description", "a"}), 2);
    EXPECT_EQ(Run({"addressbook", "remove"}), 2);
    EXPECT_EQ(Run({"addressbook", "--description", "a"}), 2);
    EXPECT_EQ(ReadNative(BookPath(1)), "Keep,keep@1/1,1\r\n");
}

} // namespace
} // namespace kesto::test
