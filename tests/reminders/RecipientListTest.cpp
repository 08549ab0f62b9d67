// Recipient list texts: written per recipient type as "name|address;", read back as
// names for display and as addresses for the To line and reply matching.

#include "ReminderFixture.h"

using namespace vantorel;
using namespace vantorel::test;

namespace {

struct ListCase {
    const char* name;
    const char* list;
    const char* names;
    const char* addresses;
};
void PrintTo(const ListCase& c, std::ostream* os) {
    *os << c.name;
}

class RecipientListReading : public ::testing::TestWithParam<ListCase> {};

}  // namespace

TEST_P(RecipientListReading, GivesNamesAndAddresses) {
    const QString list = QString::fromUtf8(GetParam().list);
    EXPECT_EQ(RecipientNames(list), QString::fromUtf8(GetParam().names));
    EXPECT_EQ(RecipientAddresses(list), QString::fromUtf8(GetParam().addresses));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecipientListReading,
    ::testing::Values(
        ListCase{"Empty", "", "", ""}, ListCase{"OneEntry", "Bob|b2;", "Bob", "b2; "},
        ListCase{"TwoEntries", "Ann Lee|a1;Bob|b2;", "Ann Lee, Bob", "a1; b2; "},
        ListCase{"NameEndingInAddressInParentheses", "Ann Lee (a1)|a1;Bob (b2)|b2;", "Ann Lee, Bob",
                 "a1; b2; "},
        ListCase{"OneLetterNameBeforeAddress", "X (a1)|a1;", "X", "a1; "},
        ListCase{"NameThatIsTheAddressInParentheses", "(a1)|a1;", "(a1)", "a1; "},
        ListCase{"AddressInParenthesesOfAnotherEntry", "Ann (b2)|a1;", "Ann (b2)", "a1; "},
        // A name that holds a later entry's address keeps that later entry.
        ListCase{"EarlierNameHoldsALaterAddress",
                 "Help Desk (hd@example.com)|support@example.com;Helen|hd@example.com;",
                 "Help Desk (hd@example.com), Helen", "support@example.com; hd@example.com; "},
        ListCase{"CommaInName", "Lee, Ann|ann@example.com;", "Lee, Ann", "ann@example.com; "},
        ListCase{"ExchangeEntry", "Dora Diaz|/o=org/cn=dora;", "Dora Diaz", "/o=org/cn=dora; "},
        ListCase{"EmptyNameAndAddress", "|;Bob|b2;", ", Bob", "; b2; "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReminderTest, RecipientListTextsFollowRecipientTypeAndOrder) {
    MessageFields fields;
    fields.to = QStringLiteral(
        "Ann Lee <ann@example.com>; bob@example.com; "
        "Dora Diaz <ex:/o=org/cn=dora>");
    fields.cc = QStringLiteral("Carl <carl@example.com>");
    fields.bcc = QStringLiteral("Bea <bea@example.com>; eve@example.com");
    const TRecipientLists lists = RecipientListTexts(message(fields));
    EXPECT_EQ(lists.sTo, QStringLiteral("Ann Lee|ann@example.com;bob@example.com|bob@example.com;"
                                        "Dora Diaz|/o=org/cn=dora;"));
    EXPECT_EQ(lists.sCc, QStringLiteral("Carl|carl@example.com;"));
    EXPECT_EQ(lists.sBcc, QStringLiteral("Bea|bea@example.com;eve@example.com|eve@example.com;"));

    const TRecipientLists none = RecipientListTexts(message(MessageFields{}));
    EXPECT_TRUE(none.sTo.isEmpty());
    EXPECT_TRUE(none.sCc.isEmpty());
    EXPECT_TRUE(none.sBcc.isEmpty());
}

// Whatever a display name holds, the entry reads back as that person's address.
TEST_F(ReminderTest, ListSyntaxInANameIsReplacedAndTheEntryReadsBack) {
    const TRecipientLists lists =
        RecipientListTexts(message(QStringLiteral("Bob|Smith <bob@example.com>")));
    EXPECT_EQ(lists.sTo, QStringLiteral("Bob/Smith|bob@example.com;"));

    const QString list = lists.sTo + RecipientListEntry(QStringLiteral("Lee; Ann|HQ"),
                                                        QStringLiteral("ann@example.com"));
    EXPECT_EQ(RecipientNames(list), QStringLiteral("Bob/Smith, Lee, Ann/HQ"));
    EXPECT_EQ(RecipientAddresses(list), QStringLiteral("bob@example.com; ann@example.com; "));
}
