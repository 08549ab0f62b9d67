// Matching an arriving message to a tracking task: the sender must be one of the
// tracked message's To recipients, and the conversation topic must be the same.

#include "ReminderFixture.h"
#include "reminders/TrackingProperties.h"

using namespace vantorel;
using namespace vantorel::test;

namespace {

struct ReplyCase {
    const char* name;
    const char* from;
    const char* subject;
    bool matches;
};
void PrintTo(const ReplyCase& c, std::ostream* os) {
    *os << c.name;
}

class TrackedOffer : public ReminderTest {
public:
    // The tracking task of "Offer", sent to Ann, jimbob and Dora with a copy to Carl.
    ol::TaskItemPtr trackedOffer() {
        MessageFields fields;
        fields.to = QStringLiteral(
            "Ann Lee <ann@example.com>; jimbob@example.com; "
            "Dora Diaz <ex:/o=org/cn=dora>");
        fields.cc = QStringLiteral("Carl <carl@example.com>");
        fields.bcc = QStringLiteral("bea@example.com");
        const ol::TaskItemPtr task = newTask();
        CreateReminderTask(task, message(fields), TReminderData{});
        return stored(task->EntryID());
    }

    ol::MailItemPtr arriving(const QString& from, const QString& subject) {
        engine::Delivery delivery;
        delivery.from = from;
        delivery.subject = subject;
        return ol::asMailItem(engine->deliver(delivery));
    }
};

class ReplyMatch : public TrackedOffer, public ::testing::WithParamInterface<ReplyCase> {};

}  // namespace

TEST_P(ReplyMatch, FollowsSenderAndTopic) {
    const ReplyCase& c = GetParam();
    const ol::TaskItemPtr task = trackedOffer();
    const ol::MailItemPtr reply = arriving(QString::fromUtf8(c.from), QString::fromUtf8(c.subject));
    EXPECT_EQ(IsReplyToTask(task, reply), c.matches);
}

TEST_F(TrackedOffer, AReplyMatchesWhateverTheRecipientsNameHolds) {
    const ol::TaskItemPtr task = newTask();
    CreateReminderTask(task, message(QStringLiteral("Bob|Smith <bob@example.com>")),
                       TReminderData{});
    EXPECT_TRUE(IsReplyToTask(stored(task->EntryID()), arriving(QStringLiteral("bob@example.com"),
                                                                QStringLiteral("RE: Offer"))));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplyMatch,
    ::testing::Values(
        ReplyCase{"ToRecipient", "ann@example.com", "RE: Offer", true},
        ReplyCase{"ToRecipientInOtherLetterCase", "Ann@EXAMPLE.com", "RE: Offer", true},
        ReplyCase{"AnotherToRecipient", "jimbob@example.com", "AW: Offer", true},
        ReplyCase{"ExchangeToRecipient", "/o=org/cn=dora", "RE: Offer", true},
        ReplyCase{"SameTopicWithoutPrefix", "ann@example.com", "Offer", true},
        ReplyCase{"TailOfAToAddress", "bob@example.com", "RE: Offer", false},
        ReplyCase{"HeadOfAToAddress", "ann@example.co", "RE: Offer", false},
        ReplyCase{"TwoAddressesRunTogether", "ann@example.com; jimbob@example.com", "RE: Offer",
                  false},
        ReplyCase{"CcRecipient", "carl@example.com", "RE: Offer", false},
        ReplyCase{"BccRecipient", "bea@example.com", "RE: Offer", false},
        ReplyCase{"Stranger", "zoe@example.com", "RE: Offer", false},
        ReplyCase{"TopicInOtherLetterCase", "ann@example.com", "RE: offer", false},
        ReplyCase{"OtherTopic", "ann@example.com", "RE: Offer 2", false},
        ReplyCase{"EmptySender", "", "RE: Offer", false},
        // As the mail client compares: blanks around an address are none
        // of it, and marks nobody sees are no part of a topic.
        ReplyCase{"SenderWithBlanksAround", " \tann@example.com  ", "RE: Offer", true},
        ReplyCase{"OnlyBlanksAsSender", "  ", "RE: Offer", false},
        ReplyCase{"BlankInsideTheSender", "ann @example.com", "RE: Offer", false},
        ReplyCase{"SubjectAfterARightToLeftMark", "ann@example.com", "\u200FRE: Offer", true},
        ReplyCase{"SubjectAfterALeftToRightMark", "ann@example.com", "\u200ERE: Offer", true},
        ReplyCase{"TopicAfterAByteOrderMark", "ann@example.com", "RE: \uFEFFOffer", true},
        ReplyCase{"TopicWithAZeroWidthSpace", "ann@example.com", "RE: Of\u200Bfer", true},
        ReplyCase{"TopicInAnEmbedding", "ann@example.com", "RE: \u202BOffer\u202C", true},
        ReplyCase{"TopicInAnOverride", "ann@example.com", "RE: \u202EOffer\u202C", true},
        ReplyCase{"TopicInAnIsolate", "ann@example.com", "RE: \u2068Offer\u2069", true},
        ReplyCase{"MarkBeforeAnotherTopic", "ann@example.com", "\u200FRE: Offer 2", false},
        ReplyCase{"MarkInOtherLetterCase", "ann@example.com", "\u200FRE: offer", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TrackedOffer, ReplyMatchNeedsBothRecipientsAndTopicOnTheTask) {
    const ol::MailItemPtr reply =
        arriving(QStringLiteral("ann@example.com"), QStringLiteral("RE: Offer"));

    ol::TaskItemPtr task = trackedOffer();
    ASSERT_TRUE(IsReplyToTask(task, reply));
    task->UserProperties()->Item(TrackingProperty::Recipients)->Delete();
    EXPECT_FALSE(IsReplyToTask(task, reply));

    task = trackedOffer();
    task->UserProperties()->Item(TrackingProperty::Topic)->Delete();
    EXPECT_FALSE(IsReplyToTask(task, reply));

    // A task whose reminder was dismissed is still matched.
    task = trackedOffer();
    task->UserProperties()->Item(TrackingProperty::ReminderSet)->Delete();
    EXPECT_TRUE(IsReplyToTask(task, reply));

    task = trackedOffer();
    DeleteTrackingProperties(task);
    EXPECT_FALSE(IsReplyToTask(task, reply));
}

namespace {

struct ListCase {
    const char* name;
    const char* list;  // "Recipients" as another program may have written it
    const char* from;
    bool matches;
};
void PrintTo(const ListCase& c, std::ostream* os) {
    *os << c.name;
}

class ReplyToList : public TrackedOffer, public ::testing::WithParamInterface<ListCase> {};

}  // namespace

TEST_P(ReplyToList, ReadsTheRecipientListAsWritten) {
    const ListCase& c = GetParam();
    const ol::TaskItemPtr task = trackedOffer();
    WriteTrackingProperty(*task, TrackingProperty::Recipients, QString::fromUtf8(c.list));
    EXPECT_EQ(IsReplyToTask(task, arriving(QString::fromUtf8(c.from), QStringLiteral("RE: Offer"))),
              c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ReplyToList,
    ::testing::Values(
        ListCase{"LastEntryWithoutSemicolon", "Ann|ann@example.com;Bob|bob@example.com",
                 "bob@example.com", true},
        ListCase{"EntryWithoutBar", "ann@example.com;", "ann@example.com", false},
        ListCase{"BarsInsideTheAddressAreLeftOut", "Ann|ann@ex|ample.com;", "ann@example.com",
                 true},
        ListCase{"LongerSender", "Ann|ann@example.com;", "ann@example.comx", false},
        ListCase{"AfterADifferentAddress", "Bo|bobby@example.com;Ann|ann@example.com;",
                 "ANN@example.com", true},
        ListCase{"OnlyLettersAToZIgnoreCase", "J\xc3\xb6rg|j\xc3\xb6rg@example.com;",
                 "J\xc3\x96RG@example.com", false},
        ListCase{"OtherLettersAlike", "J\xc3\xb6rg|j\xc3\xb6rg@example.com;",
                 "J\xc3\xb6RG@Example.COM", true},
        ListCase{"BlanksAroundAnAddress", "Ann| ann@example.com\t;Bo|bo@example.com",
                 "ann@example.com", true},
        ListCase{"BlanksAroundTheLastAddress", "Ann|ann@example.com  ", "ann@example.com", true},
        ListCase{"TextAfterBlanks", "Ann|ann@example.com x;", "ann@example.com", false},
        ListCase{"BlankInsideAnAddress", "Ann|ann @example.com;", "ann@example.com", false}),
    [](const auto& info) { return std::string(info.param.name); });
