// The follow-up to an unanswered message: the template text, the forward or the
// fresh message that stands in for it, the notice about the generated text, and the
// tracking task closed out afterwards.

#include "ReminderFixture.h"
#include "reminders/FollowUp.h"
#include "reminders/TrackingProperties.h"
#include "settings/AddInRegistry.h"
#include "tests/support/RecordingPrompts.h"
#include "tests/support/TempHives.h"
#include "tools/DontShowAgain.h"
#include "tools/Globals.h"

#include <optional>

using namespace vantorel;
using namespace vantorel::test;

namespace {

const QString kNotice = QStringLiteral(
    "The text of the reply message will be generated automatically.\r"
    "You can remove or modify the template of this message on the \"Vantorel\" tab in "
    "Outlook Option Page.");

// Local Unix seconds of a wall-clock moment, as "FirstSent" holds it.
QString sentAt(QDate date, QTime time) {
    return tools::localUnixSecondsText(tools::toDateTime(QDateTime(date, time)));
}

// A recipient of a message: its type and address.
struct Addressee {
    int type;
    QString address;
    bool operator==(const Addressee&) const = default;
};
void PrintTo(const Addressee& a, std::ostream* os) {
    *os << a.type << ":" << a.address.toStdString();
}

class FollowUpTest : public ReminderTest {
public:
    FollowUpTest() {
        AddInRegistry = &store;
        OutlookApp = app;
    }
    ~FollowUpTest() override {
        OutlookApp.reset();
        AddInRegistry = nullptr;
    }

    // The saved tracking task of "Offer", sent to Ann Lee and Bob with a copy to Carl
    // and a blind copy to Bea, at the fixture's 2026-12-10 09:05.
    ol::TaskItemPtr trackedOffer() {
        MessageFields fields;
        fields.to = QStringLiteral("Ann Lee <ann@example.com>; Bob <bob@example.com>");
        fields.cc = QStringLiteral("Carl <carl@example.com>");
        fields.bcc = QStringLiteral("bea@example.com");
        fields.body = QStringLiteral("Our offer stands.");
        const ol::TaskItemPtr task = newTask();
        CreateReminderTask(task, message(fields), TReminderData{});
        return stored(task->EntryID());
    }

    // A saved task carrying just the given tracking properties.
    ol::TaskItemPtr taskWith(const std::vector<std::pair<QString, QString>>& values) {
        const ol::TaskItemPtr task = newTask();
        for (const auto& [name, value] : values) {
            WriteTrackingProperty(*task, name, value);
        }
        task->Save();
        return stored(task->EntryID());
    }

    static QString mailIdOf(const ol::TaskItemPtr& task) {
        return ReadTrackingProperty(*task, TrackingProperty::Mail).value_or(QString());
    }

    // The one message displayed so far.
    ol::MailItemPtr followUp() {
        const std::vector<ol::ItemPtr> shown = engine->displayed();
        EXPECT_EQ(shown.size(), 1u);
        return shown.empty() ? nullptr : ol::asMailItem(shown.back());
    }

    static std::vector<Addressee> addressees(ol::MailItem& mail) {
        std::vector<Addressee> result;
        const ol::RecipientsPtr all = mail.Recipients();
        for (int i = 1; i <= all->Count(); ++i) {
            result.push_back({all->Item(i)->Type(), all->Item(i)->Address()});
        }
        return result;
    }

    static std::vector<Addressee> offerAddressees() {
        return {{ol::olTo, QStringLiteral("ann@example.com")},
                {ol::olTo, QStringLiteral("bob@example.com")},
                {ol::olCC, QStringLiteral("carl@example.com")},
                {ol::olBCC, QStringLiteral("bea@example.com")}};
    }

    void useTemplate(const QString& text) {
        store.SetReplyTemplate(true, text);
        store.SetShowDialogTemplate(false);
    }

    TempHives hives;
    TAddInRegistry store{hives.user(), hives.machine()};
    PromptsScope prompts;
};

// --- the template --------------------------------------------------------------------

struct TemplateCase {
    const char* name;
    const char* locale;
    const char* text;
    const char* expected;
};
void PrintTo(const TemplateCase& c, std::ostream* os) {
    *os << c.name;
}

class ExpandTemplate : public FollowUpTest, public ::testing::WithParamInterface<TemplateCase> {};

// Ann Lee (a1) and Bob (b2), first sent 2026-12-10 09:05.
TEST_P(ExpandTemplate, FillsThePlaceholders) {
    const TemplateCase& c = GetParam();
    QLocale::setDefault(QLocale(QString::fromUtf8(c.locale)));
    const ol::TaskItemPtr task =
        taskWith({{TrackingProperty::Recipients, QStringLiteral("Ann Lee|a1;Bob|b2;")},
                  {TrackingProperty::FirstSent, sentAt(QDate(2026, 12, 10), QTime(9, 5))}});
    EXPECT_EQ(ExpandReplyTemplate(task, QString::fromUtf8(c.text)), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExpandTemplate,
    ::testing::Values(
        TemplateCase{"AllFour", "en_US",
                     "Dear &[NAME], my message of &[DATE] at &[TIME] to &[EMAIL] is still "
                     "unanswered.",
                     "Dear Ann Lee, Bob, my message of 12/10/26 at 9:05 AM to a1; b2;  is "
                     "still unanswered."},
        TemplateCase{"GermanDateAndTime", "de_DE", "&[DATE] &[TIME]", "10.12.26 09:05"},
        TemplateCase{"PointBetweenHoursAndMinutes", "fi_FI", "&[DATE] &[TIME]", "10.12.2026 9.05"},
        TemplateCase{"DesignatorBeforeTheTime", "ko_KR", "&[DATE] &[TIME]",
                     "26. 12. 10. 오전 9:05"},
        TemplateCase{"EveryOccurrence", "en_US", "&[NAME]/&[NAME] &[TIME]&[TIME]",
                     "Ann Lee, Bob/Ann Lee, Bob 9:05 AM9:05 AM"},
        TemplateCase{"LowerCaseStays", "en_US", "&[name] &[email] &[date] &[Time]",
                     "&[name] &[email] &[date] &[Time]"},
        TemplateCase{"NoPlaceholders", "en_US", "Any news?\r\n", "Any news?\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// What the task holds decides which placeholders are filled; the rest stay.
struct PropertyCase {
    const char* name;
    std::optional<const char*> recipients;
    std::optional<QString> firstSent;
    const char* expected;
};
void PrintTo(const PropertyCase& c, std::ostream* os) {
    *os << c.name;
}

class ExpandFromProperties : public FollowUpTest,
                             public ::testing::WithParamInterface<PropertyCase> {};

TEST_P(ExpandFromProperties, LeavesWhatCannotBeRead) {
    const PropertyCase& c = GetParam();
    std::vector<std::pair<QString, QString>> values;
    if (c.recipients) {
        values.emplace_back(TrackingProperty::Recipients, QString::fromUtf8(*c.recipients));
    }
    if (c.firstSent) {
        values.emplace_back(TrackingProperty::FirstSent, *c.firstSent);
    }
    EXPECT_EQ(
        ExpandReplyTemplate(taskWith(values), QStringLiteral("&[NAME]|&[EMAIL]|&[DATE]|&[TIME]")),
        QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExpandFromProperties,
    ::testing::Values(
        PropertyCase{"NoProperties", std::nullopt, std::nullopt,
                     "&[NAME]|&[EMAIL]|&[DATE]|&[TIME]"},
        PropertyCase{"RecipientsOnly", "Ann Lee|a1;", std::nullopt, "Ann Lee|a1; |&[DATE]|&[TIME]"},
        PropertyCase{"NoToRecipients", "", std::nullopt, "||&[DATE]|&[TIME]"},
        PropertyCase{"FirstSentOnly", std::nullopt, sentAt(QDate(2026, 12, 10), QTime(9, 5)),
                     "&[NAME]|&[EMAIL]|12/10/26|9:05 AM"},
        PropertyCase{"SentAfter2038", std::nullopt, sentAt(QDate(2040, 3, 1), QTime(14, 30)),
                     "&[NAME]|&[EMAIL]|3/1/40|2:30 PM"},
        PropertyCase{"SentBefore1970", std::nullopt, sentAt(QDate(1969, 7, 20), QTime(22, 56)),
                     "&[NAME]|&[EMAIL]|7/20/69|10:56 PM"},
        PropertyCase{"FirstSentWithFraction", "Bob|b2;", QStringLiteral("1796893500.5"),
                     "Bob|b2; |&[DATE]|&[TIME]"},
        PropertyCase{"FirstSentNoNumber", "Bob|b2;", QStringLiteral("yesterday"),
                     "Bob|b2; |&[DATE]|&[TIME]"},
        PropertyCase{"FirstSentEmpty", "Bob|b2;", QString(), "Bob|b2; |&[DATE]|&[TIME]"},
        // What a placeholder puts in is never read again.
        PropertyCase{"NameHoldingPlaceholders", "&[DATE] &[EMAIL] &[NAME]|a1;",
                     sentAt(QDate(2026, 12, 10), QTime(9, 5)),
                     "&[DATE] &[EMAIL] &[NAME]|a1; |12/10/26|9:05 AM"},
        PropertyCase{"AddressHoldingAPlaceholder", "Ann|&[TIME];",
                     sentAt(QDate(2026, 12, 10), QTime(9, 5)), "Ann|&[TIME]; |12/10/26|9:05 AM"},
        PropertyCase{"HalfAPlaceholderOnEachSide", "Ann &[|a1;", std::nullopt,
                     "Ann &[|a1; |&[DATE]|&[TIME]"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FollowUpTest, AnUnreadableRecipientListLeavesTheDateToBeFilled) {
    const ol::TaskItemPtr task =
        taskWith({{TrackingProperty::Recipients, QStringLiteral("Ann Lee|a1;")},
                  {TrackingProperty::FirstSent, sentAt(QDate(2026, 12, 10), QTime(9, 5))}});
    engine->faults().failNext(QStringLiteral("UserProperty.Value"));
    EXPECT_EQ(ExpandReplyTemplate(task, QStringLiteral("&[NAME] &[EMAIL] &[DATE]")),
              QStringLiteral("&[NAME] &[EMAIL] 12/10/26"));
}

// A name that repeats a placeholder many times costs what its length costs: each
// character of the template and of the text put in is handled once.
TEST_F(FollowUpTest, ANameOfManyPlaceholdersIsPutInAsItIs) {
    QString many;
    for (int i = 0; i < 20'000; ++i) {
        many += QStringLiteral("&[EMAIL]");
    }
    const ol::TaskItemPtr task =
        taskWith({{TrackingProperty::Recipients, many + QStringLiteral("|a1;")}});
    EXPECT_EQ(ExpandReplyTemplate(task, QStringLiteral("Dear &[NAME],")),
              QStringLiteral("Dear ") + many + QLatin1Char(','));
}

TEST(ExpandPlaceholders, OnePassFromTheStart) {
    const std::vector<std::pair<QString, QString>> values = {
        {QStringLiteral("&[A]"), QStringLiteral("&[B]")},
        {QStringLiteral("&[B]"), QStringLiteral("b")},
        {QString(), QStringLiteral("never")}};
    struct Row {
        const char* text;
        const char* expected;
    };
    for (const Row& r : {Row{"", ""}, Row{"&[A]", "&[B]"}, Row{"&[A]&[B]", "&[B]b"},
                         Row{"&[&[B]]", "&[b]"}, Row{"&[B", "&[B"}, Row{"x&[B]y&[A]", "xby&[B]"}}) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(ExpandPlaceholders(QString::fromUtf8(r.text), values),
                  QString::fromUtf8(r.expected));
    }
}

// --- composing -----------------------------------------------------------------------

TEST_F(FollowUpTest, AForwardOpensWithTheTemplateAndKeepsItsSubject) {
    useTemplate(QStringLiteral("Dear &[NAME], any news?\r\n"));
    const ol::TaskItemPtr task = trackedOffer();
    const QString quotation = ol::asMailItem(ns->GetItemFromID(mailIdOf(task)))->Forward()->Body();
    ASSERT_FALSE(quotation.isEmpty());

    ComposeFollowUp(task, mailIdOf(task));

    const ol::MailItemPtr mail = followUp();
    ASSERT_TRUE(mail);
    EXPECT_EQ(mail->Subject(), QStringLiteral("FW: Offer"));
    EXPECT_EQ(mail->Body(), QStringLiteral("Dear Ann Lee, Bob, any news?\r\n") + quotation);
    EXPECT_EQ(addressees(*mail), offerAddressees());
    EXPECT_FALSE(mail->Sent());
}

TEST_F(FollowUpTest, WithTheTemplateOffTheBodyIsTheForwardsAlone) {
    store.SetReplyTemplate(false, QStringLiteral("Dear &[NAME],\r\n"));
    store.SetShowDialogTemplate(true);
    const ol::TaskItemPtr task = trackedOffer();
    const QString quotation = ol::asMailItem(ns->GetItemFromID(mailIdOf(task)))->Forward()->Body();

    ComposeFollowUp(task, mailIdOf(task));

    const ol::MailItemPtr mail = followUp();
    ASSERT_TRUE(mail);
    EXPECT_EQ(mail->Body(), quotation);
    EXPECT_TRUE(prompts->shown.empty());
    EXPECT_TRUE(store.GetShowDialogTemplate());
}

TEST_F(FollowUpTest, WithoutTopicOrRecipientsTheFreshMessageIsBare) {
    useTemplate(QStringLiteral("Dear &[NAME],"));
    ComposeFollowUp(taskWith({}), QString());

    const ol::MailItemPtr mail = followUp();
    ASSERT_TRUE(mail);
    EXPECT_EQ(mail->Subject(), QStringLiteral("FW: "));
    EXPECT_EQ(mail->Body(), QStringLiteral("Dear &[NAME],"));
    EXPECT_TRUE(addressees(*mail).empty());
}

// Whenever the tracked message cannot be forwarded, a fresh message with its topic
// stands in, without a quotation but to the same recipients.
struct MissingCase {
    const char* name;
    void (*lose)(FollowUpTest& t, const ol::TaskItemPtr& task, QString& mailId);
};
void PrintTo(const MissingCase& c, std::ostream* os) {
    *os << c.name;
}

class TrackedMessageMissing : public FollowUpTest,
                              public ::testing::WithParamInterface<MissingCase> {};

TEST_P(TrackedMessageMissing, GivesAFreshMessageWithTheTopic) {
    useTemplate(QStringLiteral("Dear &[NAME],\r\n"));
    const ol::TaskItemPtr task = trackedOffer();
    QString mailId = mailIdOf(task);
    GetParam().lose(*this, task, mailId);

    ComposeFollowUp(task, mailId);

    const ol::MailItemPtr mail = followUp();
    ASSERT_TRUE(mail);
    EXPECT_EQ(mail->Subject(), QStringLiteral("FW: Offer"));
    EXPECT_EQ(mail->Body(), QStringLiteral("Dear Ann Lee, Bob,\r\n"));
    EXPECT_EQ(addressees(*mail), offerAddressees());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrackedMessageMissing,
    ::testing::Values(
        MissingCase{"Deleted", [](FollowUpTest& t, const ol::TaskItemPtr&,
                                  QString& id) { t.ns->GetItemFromID(id)->Delete(); }},
        MissingCase{"NoEntryID",
                    [](FollowUpTest&, const ol::TaskItemPtr&, QString& id) { id.clear(); }},
        MissingCase{"NotAMessage", [](FollowUpTest&, const ol::TaskItemPtr& task,
                                      QString& id) { id = task->EntryID(); }},
        MissingCase{"LookUpFails",
                    [](FollowUpTest& t, const ol::TaskItemPtr&, QString&) {
                        t.engine->faults().failNext(QStringLiteral("NameSpace.GetItemFromID"));
                    }},
        MissingCase{"ForwardFails",
                    [](FollowUpTest& t, const ol::TaskItemPtr&, QString&) {
                        t.engine->faults().failNext(QStringLiteral("MailItem.Forward"));
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

// The notice comes with every follow-up until the user ticks its check box once.
struct NoticeCase {
    const char* name;
    bool ticked;
    std::size_t shownForTwo;
};
void PrintTo(const NoticeCase& c, std::ostream* os) {
    *os << c.name;
}

class TemplateNotice : public FollowUpTest, public ::testing::WithParamInterface<NoticeCase> {};

TEST_P(TemplateNotice, ComesUntilSilenced) {
    const NoticeCase& c = GetParam();
    store.SetReplyTemplate(true, QStringLiteral("Any news?\r\n"));
    store.SetShowDialogTemplate(true);
    prompts->answers.push_back({platform::MessageAnswer::Ok, c.ticked});
    const ol::TaskItemPtr first = trackedOffer();
    const ol::TaskItemPtr second = trackedOffer();

    ComposeFollowUp(first, mailIdOf(first));
    ComposeFollowUp(second, mailIdOf(second));

    ASSERT_EQ(prompts->shown.size(), c.shownForTwo);
    const platform::MessageRequest& notice = prompts->shown.front();
    EXPECT_EQ(notice.text, kNotice);
    EXPECT_EQ(notice.caption, AddInName);
    EXPECT_EQ(notice.checkBoxText, DontShowAgainText);
    EXPECT_EQ(notice.icon, platform::MessageIcon::Information);
    EXPECT_EQ(store.GetShowDialogTemplate(), !c.ticked);
    EXPECT_EQ(engine->displayed().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Cases, TemplateNotice,
                         ::testing::Values(NoticeCase{"Ticked", true, 1},
                                           NoticeCase{"Unticked", false, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

// Which failures end the composition and reach the caller, and which are ignored.
struct FaultCase {
    const char* name;
    const char* operation;
    bool deleteTracked;  // compose a fresh message instead of a forward
    bool reachesCaller;
};
void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class ComposeFault : public FollowUpTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(ComposeFault, ReachesTheCallerOrIsIgnored) {
    const FaultCase& c = GetParam();
    useTemplate(QStringLiteral("Any news?\r\n"));
    const ol::TaskItemPtr task = trackedOffer();
    if (c.deleteTracked) {
        ns->GetItemFromID(mailIdOf(task))->Delete();
    }
    const QString text = QStringLiteral("Refused: ") + QString::fromUtf8(c.name);
    engine->faults().failNext(QString::fromUtf8(c.operation), 1, text);

    if (c.reachesCaller) {
        try {
            ComposeFollowUp(task, mailIdOf(task));
            ADD_FAILURE() << "no failure reached the caller";
        } catch (const ol::OutlookError& e) {
            EXPECT_EQ(e.text(), text);
        }
        EXPECT_TRUE(engine->displayed().empty());
    } else {
        EXPECT_NO_THROW(ComposeFollowUp(task, mailIdOf(task)));
        const ol::MailItemPtr mail = followUp();
        ASSERT_TRUE(mail);
        EXPECT_TRUE(mail->Body().startsWith(QStringLiteral("Any news?\r\n")));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ComposeFault,
    ::testing::Values(FaultCase{"Display", "MailItem.Display", false, true},
                      FaultCase{"CreateItem", "Application.CreateItem", true, true},
                      FaultCase{"FreshSubject", "MailItem.SetSubject", true, true},
                      FaultCase{"Body", "MailItem.SetBody", false, true},
                      FaultCase{"ToLine", "MailItem.SetTo", false, true},
                      FaultCase{"CcLine", "MailItem.SetCC", false, true},
                      FaultCase{"BccLine", "MailItem.SetBCC", false, true},
                      FaultCase{"ResolveAll", "Recipients.ResolveAll", false, false}),
    [](const auto& info) { return std::string(info.param.name); });

// The three lines are read in one go: once reading fails, the lines not yet read
// stay empty, and the follow-up is displayed all the same.
TEST_F(FollowUpTest, AnUnreadableToListLeavesEveryLineEmpty) {
    useTemplate(QStringLiteral("Any news?"));
    const ol::TaskItemPtr task = trackedOffer();
    const QString mailId = mailIdOf(task);
    engine->faults().failNext(QStringLiteral("UserProperty.Value"));

    ComposeFollowUp(task, mailId);

    const ol::MailItemPtr mail = followUp();
    ASSERT_TRUE(mail);
    EXPECT_TRUE(addressees(*mail).empty());
    EXPECT_TRUE(mail->Body().startsWith(QStringLiteral("Any news?")));
}

// --- closing out ---------------------------------------------------------------------

TEST_F(FollowUpTest, AfterTheFollowUpTheTaskIsClosedOut) {
    useTemplate(QStringLiteral("Any news?"));
    ol::TaskItemPtr task = trackedOffer();
    WriteTrackingProperty(*task, TrackingProperty::Snooze, QStringLiteral("1796893560"));
    task->SetReminderSet(true);
    task->Save();
    engine::Delivery reply;
    reply.from = QStringLiteral("ann@example.com");
    reply.subject = QStringLiteral("RE: Offer");
    const ol::MailItemPtr answer = ol::asMailItem(engine->deliver(reply));
    ASSERT_TRUE(IsReplyToTask(task, answer));

    ComposeFollowUp(task, mailIdOf(task));
    CloseOutTask(task);

    ASSERT_EQ(engine->displayed().size(), 1u);
    task = stored(task->EntryID());
    EXPECT_TRUE(task->Complete());
    EXPECT_FALSE(task->ReminderSet());
    EXPECT_EQ(properties(*task), (std::vector<std::pair<QString, QString>>{
                                     {TrackingProperty::Snooze, QStringLiteral("1796893560")}}));
    EXPECT_FALSE(IsReplyToTask(task, answer));
    EXPECT_EQ(taskCount(), 1);
}

// The first failing step ends the close-out silently; nothing after it happens.
class CloseOutFault : public FollowUpTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(CloseOutFault, EndsSilentlyWithTheTaskAsSaved) {
    const ol::TaskItemPtr task = trackedOffer();
    engine->faults().failNext(QString::fromUtf8(GetParam()));

    EXPECT_NO_THROW(CloseOutTask(task));

    const ol::TaskItemPtr kept = stored(task->EntryID());
    EXPECT_FALSE(kept->Complete());
    EXPECT_EQ(properties(*kept).size(), 10u);
}

INSTANTIATE_TEST_SUITE_P(Steps, CloseOutFault,
                         ::testing::Values("UserProperty.Delete", "TaskItem.SetReminderSet",
                                           "TaskItem.MarkComplete", "TaskItem.Save"),
                         [](const auto& info) {
                             QString name = QString::fromUtf8(info.param);
                             return name.remove(QLatin1Char('.')).toStdString();
                         });

}  // namespace
