// Telling machine-written mail from replies a person wrote: by message class, then by
// internet headers.

#include "ReminderFixture.h"
#include "reminders/AutomaticReplies.h"
#include "reminders/TrackingProperties.h"

using namespace vantorel;
using namespace vantorel::test;

namespace {

struct ClassCase {
    const char* messageClass;
    bool automatic;
};

TEST(AutomaticMessageClass, OutOfOfficeRuleRepliesAndReportsAreAutomatic) {
    const ClassCase cases[] = {
        {"IPM.Note.Rules.OofTemplate.Microsoft", true},
        {"ipm.note.rules.ooftemplate.microsoft", true},
        {"IPM.Note.Rules.ReplyTemplate.Microsoft", true},
        {"IPM.Report.Note.NDR", true},
        {"REPORT.IPM.Note.NDR", true},
        {"REPORT.IPM.Note.IPNRN", true},
        {"IPM.Note", false},
        {"IPM.Note.SMIME", false},
        {"IPM.Schedule.Meeting.Request", false},
        {"IPM.Reports", false},  // no "IPM.Report." class
        {"", false},
    };
    for (const ClassCase& c : cases) {
        EXPECT_EQ(IsAutomaticMessageClass(QString::fromUtf8(c.messageClass)), c.automatic)
            << c.messageClass;
    }
}

struct HeaderCase {
    const char* name;
    const char* headers;
    bool automatic;
};

TEST(AutomaticHeaders, AutoSubmittedOtherThanNoAndMachinePrecedencesAreAutomatic) {
    const HeaderCase cases[] = {
        {"auto_replied", "Auto-Submitted: auto-replied\r\n", true},
        {"auto_generated_with_parameter", "Auto-Submitted: auto-generated; owner=x\r\n", true},
        {"name_in_another_case", "auto-submitted: auto-notified\r\n", true},
        {"no", "Auto-Submitted: no\r\n", false},
        {"no_in_capitals_with_a_comment", "Auto-Submitted: NO (a person wrote this)\r\n", false},
        {"folded_value", "Subject: x\r\nAuto-Submitted:\r\n auto-replied\r\n", true},
        {"precedence_bulk", "Precedence: bulk\r\n", true},
        {"precedence_junk", "Precedence: JUNK\r\n", true},
        {"precedence_auto_reply", "Precedence: auto_reply\r\n", true},
        {"precedence_list", "Precedence: list\r\n", false},
        {"neither", "From: ann@example.com\r\nSubject: RE: Offer\r\n", false},
        {"look_alike_header", "X-Auto-Submitted: auto-replied\r\n", false},
        {"only_in_a_continuation_line", "Subject: x\r\n Auto-Submitted: auto-replied\r\n", false},
        {"lines_ending_in_lf_only", "Received: x\nPrecedence: bulk\n", true},
        {"empty", "", false},
    };
    for (const HeaderCase& c : cases) {
        EXPECT_EQ(IsAutomaticByHeaders(QString::fromUtf8(c.headers)), c.automatic) << c.name;
    }
}

TEST(AutomaticHeaders, AHeaderValueIsUnfoldedAndTrimmed) {
    const QString headers = QStringLiteral("Subject: RE:\r\n\tOffer  \r\nTo: ann@example.com\r\n");
    EXPECT_EQ(InternetHeader(headers, QStringLiteral("subject")), QStringLiteral("RE:\tOffer"));
    EXPECT_EQ(InternetHeader(headers, QStringLiteral("To")), QStringLiteral("ann@example.com"));
    EXPECT_EQ(InternetHeader(headers, QStringLiteral("Cc")), std::nullopt);
}

class AutomaticReplyTest : public ReminderTest {
public:
    ol::MailItemPtr deliver(const QString& messageClass, const QStringList& headers) {
        engine::Delivery d;
        d.from = QStringLiteral("ann@example.com");
        d.name = QStringLiteral("Ann Lee");
        d.subject = QStringLiteral("Automatic reply: Offer");
        d.topic = QStringLiteral("Offer");
        d.messageClass = messageClass;
        d.headers = headers;
        return ol::asMailItem(engine->deliver(d));
    }
};

TEST_F(AutomaticReplyTest, TheClassDecidesFirstThenTheHeaders) {
    EXPECT_TRUE(IsAutomaticReply(*deliver(QStringLiteral("IPM.Note.Rules.OofTemplate.Microsoft"),
                                          {QStringLiteral("Auto-Submitted: no")})));
    EXPECT_TRUE(IsAutomaticReply(*deliver({}, {QStringLiteral("Precedence: bulk")})));
    EXPECT_FALSE(IsAutomaticReply(*deliver({}, {QStringLiteral("Auto-Submitted: no")})));
    // Without headers, the class alone decides.
    EXPECT_FALSE(IsAutomaticReply(*deliver({}, {})));
}

TEST_F(AutomaticReplyTest, ARecordedAutomaticReplyNamesItsSenderAndMoment) {
    const ol::TaskItemPtr task = newTask();
    EXPECT_FALSE(HasAutoReply(*task));
    RecordAutoReply(*task, *deliver(QStringLiteral("IPM.Note.Rules.OofTemplate.Microsoft"), {}));
    const ol::TaskItemPtr saved = stored(task->EntryID());
    EXPECT_TRUE(HasAutoReply(*saved));
    // 2026-12-10 09:05 local time.
    EXPECT_EQ(ReadTrackingProperty(*saved, TrackingProperty::AutoReply),
              QStringLiteral("Ann Lee <ann@example.com>|1796893500"));
}

}  // namespace
