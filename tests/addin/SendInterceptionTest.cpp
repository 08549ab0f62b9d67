// Sending with "Remind me" and "Custom" through the real host framework, mailbox and
// custom send dialog.

#include "tests/addin/AddInFixture.h"

#include "forms/CustomSendTaskUnit.h"
#include "forms/ReminderWindowUnit.h"
#include "host/engine/Engine.h"
#include "tests/support/ScriptedWindows.h"

using namespace vantorel;
namespace ol = vantorel::outlook;

namespace {

const QString kCreationError = QStringLiteral("An error occurred while creating the Vantorel!");

class SendTest : public test::AddInFixture {
protected:
    SendTest() { start(); }

    engine::Engine& mailbox() { return client->engine(); }
    ol::NameSpacePtr ns() { return mailbox().application()->GetNamespace(QStringLiteral("MAPI")); }
    ol::ItemsPtr folder(int type) { return ns()->GetDefaultFolder(type)->Items(); }
    int taskCount() { return folder(ol::olFolderTasks)->Count(); }
    int sentCount() { return folder(ol::olFolderSentMail)->Count(); }
    ol::TaskItemPtr task(int n) { return ol::asTaskItem(folder(ol::olFolderTasks)->Item(n)); }

    // The "ReminderID" of the N-th sent copy; none when it has no such property.
    std::optional<QString> reminderId(int n) {
        const ol::UserPropertyPtr p = folder(ol::olFolderSentMail)
                                          ->Item(n)
                                          ->UserProperties()
                                          ->Item(QStringLiteral("ReminderID"));
        return p ? std::optional<QString>(p->Value()) : std::nullopt;
    }

    ol::MailItemPtr compose(const QString& subject,
                            const QString& to = QStringLiteral("Ann Lee <ann@example.com>")) {
        engine::ComposeFields fields;
        fields.to = to;
        fields.subject = subject;
        fields.body = QStringLiteral("Our offer.");
        return ol::asMailItem(client->compose(fields)->CurrentItem());
    }

    void setText(const QString& section, const QString& name, const QString& value) {
        hives.user().setValue(QStringLiteral("Software\\Ostrelin\\Vantorel\\") + section, name,
                              platform::RegValue::fromString(value));
    }

    QString remindMeTip() {
        for (RibbonTab* tab : client->ribbonTabs()) {
            for (const auto& button : tab->controls) {
                if (button->Caption() == QLatin1String("Remind me")) {
                    return button->ScreenTip();
                }
            }
        }
        return {};
    }

    test::WindowsScope windows;
};

TEST_F(SendTest, TheMailClientsOwnSendIsLeftAlone) {
    compose(QStringLiteral("Offer"))->Send();
    EXPECT_EQ(sentCount(), 1);
    EXPECT_EQ(taskCount(), 0);
    EXPECT_FALSE(reminderId(1).has_value());
}

TEST_F(SendTest, RemindMeCreatesTheTaskAndStampsTheSentCopyWithItsEntryID) {
    compose(QStringLiteral("Offer"));
    client->press(QStringLiteral("Remind me"));
    ASSERT_EQ(taskCount(), 1);
    ASSERT_EQ(sentCount(), 1);
    EXPECT_EQ(reminderId(1), task(1)->EntryID());
    EXPECT_EQ(PendingSends->Count(), 0);
    EXPECT_TRUE(mailbox().inspectors().empty()) << "the message went";
    EXPECT_TRUE(prompts->shown.empty());
    EXPECT_TRUE(suppressed.empty());
    // The default settings: remind tomorrow at the same hour.
    EXPECT_DOUBLE_EQ(task(1)->StartDate(),
                     tools::toDateTime(QDateTime(QDate(2026, 12, 11), QTime(9, 0))));
}

TEST_F(SendTest, RemindMeWithoutReminderNorDuration) {
    setReg(QStringLiteral("Task"), QStringLiteral("RemindMe"), 0);
    setReg(QStringLiteral("Task"), QStringLiteral("SetDuration"), 0);
    setText(QStringLiteral("Task"), QStringLiteral("CreateOnlyStart"), QStringLiteral("d3"));
    setText(QStringLiteral("Task"), QStringLiteral("RemindMeStart"), QStringLiteral("d9"));
    compose(QStringLiteral("Offer"));
    client->press(QStringLiteral("Remind me"));
    ASSERT_EQ(taskCount(), 1);
    const ol::TaskItemPtr t = task(1);
    EXPECT_DOUBLE_EQ(t->StartDate(),
                     tools::toDateTime(QDateTime(QDate(2026, 12, 13), QTime(9, 0))));
    EXPECT_EQ(t->DueDate(), ol::kNoDate);
    EXPECT_EQ(t->UserProperties()->Item(QStringLiteral("ReminderSet"))->Value(),
              QStringLiteral("0"));
}

TEST_F(SendTest, RemindMeWithADurationCountsItFromTheStart) {
    setReg(QStringLiteral("Task"), QStringLiteral("SetDuration"), 1);
    setText(QStringLiteral("Task"), QStringLiteral("Duration"), QStringLiteral("d2"));
    setText(QStringLiteral("Task"), QStringLiteral("RemindMeTime"), QStringLiteral("14:30"));
    compose(QStringLiteral("Offer"));
    client->press(QStringLiteral("Remind me"));
    ASSERT_EQ(taskCount(), 1);
    const ol::TaskItemPtr t = task(1);
    EXPECT_DOUBLE_EQ(t->DueDate(), t->StartDate() + 2.0);
    EXPECT_EQ(t->UserProperties()->Item(QStringLiteral("ReminderTime"))->Value(),
              tools::localUnixSecondsText(
                  tools::toDateTime(QDateTime(QDate(2026, 12, 11), QTime(14, 30)))));
}

TEST_F(SendTest, AnEmptySubjectStopsTheSendAndLeavesNothingPending) {
    const ol::MailItemPtr mail = compose(QString());
    client->press(QStringLiteral("Remind me"));
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text,
              QStringLiteral("You must specify a Subject when using Vantorel."));
    EXPECT_EQ(prompts->shown[0].icon, platform::MessageIcon::Information);
    EXPECT_EQ(taskCount(), 0);
    EXPECT_EQ(sentCount(), 0);
    EXPECT_EQ(mailbox().inspectors().size(), 1u) << "the message stays open";
    EXPECT_EQ(PendingSends->Count(), 0);
    EXPECT_EQ(mail->UserProperties()->Item(QStringLiteral("ReminderID")), nullptr);

    // Sent later with the client's own button, it is not followed up.
    mail->SetSubject(QStringLiteral("Offer"));
    mail->Send();
    EXPECT_EQ(taskCount(), 0);
    EXPECT_FALSE(reminderId(1).has_value());
}

TEST_F(SendTest, CustomThenCancelSendsNothing) {
    windows->person = [](QDialog& d) { static_cast<TCustomSendTask&>(d).btnCancel->click(); };
    const ol::MailItemPtr mail = compose(QStringLiteral("Offer"));
    client->press(QStringLiteral("Custom"));
    EXPECT_EQ(windows->shownCount, 1);
    EXPECT_EQ(taskCount(), 0);
    EXPECT_EQ(sentCount(), 0);
    EXPECT_EQ(PendingSends->Count(), 0);
    EXPECT_EQ(mailbox().inspectors().size(), 1u);
    EXPECT_EQ(mail->UserProperties()->Item(QStringLiteral("ReminderID")), nullptr);
    EXPECT_TRUE(prompts->shown.empty());
}

TEST_F(SendTest, CustomThenSendCreatesTheDialogsTask) {
    windows->person = [](QDialog& d) {
        auto& dialog = static_cast<TCustomSendTask&>(d);
        dialog.controls->rdbTask->click();
        dialog.controls->comTask->setEditText(QStringLiteral("in 1 week"));
        dialog.btnSend->click();
    };
    compose(QStringLiteral("Offer"));
    client->press(QStringLiteral("Custom"));
    ASSERT_EQ(taskCount(), 1);
    ASSERT_EQ(sentCount(), 1);
    EXPECT_EQ(reminderId(1), task(1)->EntryID());
    EXPECT_DOUBLE_EQ(task(1)->StartDate(),
                     tools::toDateTime(QDateTime(QDate(2026, 12, 17), QTime(9, 0))));
    EXPECT_EQ(PendingSends->Count(), 0);
    EXPECT_FALSE(AddInRegistry->GetTaskRemindMe(false)) << "remembered for next time";
}

// The mail client calls the subscribers of the send event in no promised order: in
// either order, the task is made before the sent copy is stamped with its EntryID.
struct SinkOrderRow {
    engine::SinkOrder order;
    const char* button;
};

class SendInEitherSinkOrder : public SendTest,
                              public ::testing::WithParamInterface<SinkOrderRow> {};

TEST_P(SendInEitherSinkOrder, MakesTheTaskAndStampsTheSentCopy) {
    mailbox().setSinkOrder(GetParam().order);
    windows->person = [](QDialog& d) { static_cast<TCustomSendTask&>(d).btnSend->click(); };
    compose(QStringLiteral("Offer"));
    client->press(QString::fromUtf8(GetParam().button));
    ASSERT_EQ(taskCount(), 1);
    ASSERT_EQ(sentCount(), 1);
    EXPECT_EQ(reminderId(1), task(1)->EntryID());
    EXPECT_EQ(PendingSends->Count(), 0);
    EXPECT_TRUE(prompts->shown.empty());
    EXPECT_TRUE(suppressed.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Orders, SendInEitherSinkOrder,
    ::testing::Values(SinkOrderRow{engine::SinkOrder::OldestFirst, "Remind me"},
                      SinkOrderRow{engine::SinkOrder::NewestFirst, "Remind me"},
                      SinkOrderRow{engine::SinkOrder::OldestFirst, "Custom"},
                      SinkOrderRow{engine::SinkOrder::NewestFirst, "Custom"}));

TEST_F(SendTest, AMeetingRequestPassesUntouched) {
    engine::Delivery invitation;
    invitation.from = QStringLiteral("team@example.com");
    invitation.subject = QStringLiteral("Weekly sync");
    invitation.meetingRequest = true;
    const ol::ItemPtr meeting = mailbox().deliver(invitation);
    PendingSends->Add(meeting->EntryID(), std::make_unique<TSendingMailData>());
    bool cancel = false;
    AddInModule->DoItemSend(meeting, cancel);
    AddInModule->adxOutlookAppEvents1ItemSend(meeting, cancel);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(PendingSends->Count(), 1);
    EXPECT_EQ(meeting->UserProperties()->Count(), 0);
    EXPECT_EQ(taskCount(), 0);
    EXPECT_TRUE(prompts->shown.empty());
}

TEST_F(SendTest, AFailingSendIsShownAndItsEntryGoes) {
    compose(QStringLiteral("Offer"), QString());  // nobody to send to
    client->press(QStringLiteral("Remind me"));
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text,
              QStringLiteral(
                  "There must be at least one name or contact group in the To, Cc, or Bcc box."));
    EXPECT_EQ(prompts->shown[0].icon, platform::MessageIcon::Warning);
    EXPECT_EQ(PendingSends->Count(), 0);
    EXPECT_EQ(taskCount(), 0);
    EXPECT_EQ(mailbox().inspectors().size(), 1u);
}

TEST_F(SendTest, ATaskThatCannotBeCreatedIsReportedAndTheMessageStillGoes) {
    mailbox().faults().failNext(QStringLiteral("TaskItem.Save"));
    compose(QStringLiteral("Offer"));
    client->press(QStringLiteral("Remind me"));
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text, kCreationError);
    EXPECT_EQ(prompts->shown[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(taskCount(), 0);
    ASSERT_EQ(sentCount(), 1);
    EXPECT_EQ(reminderId(1), QString()) << "stamped with the empty task EntryID";
    EXPECT_EQ(PendingSends->Count(), 0);
}

TEST_F(SendTest, TheButtonsNeedAMessageWindowWithAMessage) {
    const ol::TaskItemPtr t = ol::asTaskItem(mailbox().application()->CreateItem(ol::olTaskItem));
    t->SetSubject(QStringLiteral("Call back"));
    t->Display(false);
    client->press(QStringLiteral("Remind me"));
    ASSERT_EQ(suppressed.size(), 1u) << "the error path, silent without IsVerbose";
    EXPECT_EQ(PendingSends->Count(), 0);
}

struct TipRow {
    quint32 remindMe;
    const char* start;
    const char* time;
    const char* createOnly;
    const char* tip;
};

class ScreenTip : public SendTest, public ::testing::WithParamInterface<TipRow> {};

TEST_P(ScreenTip, TellsWhatRemindMeWillDo) {
    const TipRow& row = GetParam();
    setReg(QStringLiteral("Task"), QStringLiteral("RemindMe"), row.remindMe);
    setText(QStringLiteral("Task"), QStringLiteral("RemindMeStart"), QString::fromUtf8(row.start));
    setText(QStringLiteral("Task"), QStringLiteral("RemindMeTime"), QString::fromUtf8(row.time));
    setText(QStringLiteral("Task"), QStringLiteral("CreateOnlyStart"),
            QString::fromUtf8(row.createOnly));
    clock->set(QDateTime(QDate(2026, 12, 10), QTime(16, 45)));
    compose(QStringLiteral("Offer"));
    EXPECT_EQ(remindMeTip(), QString::fromUtf8(row.tip));
}

INSTANTIATE_TEST_SUITE_P(
    SendTest, ScreenTip,
    ::testing::Values(TipRow{1, "d14", "10:30", "d0", "Send and remind me in 2 weeks at 10:30"},
                      TipRow{1, "d1", "NOW", "d0", "Send and remind me tomorrow at 16:45"},
                      TipRow{0, "d1", "NOW", "o5",
                             "Send and create a task starting on next Friday"},
                      TipRow{0, "d1", "NOW", "d0", "Send and create a task starting today"}));

// The tip writes the time as the dialogs do, with the user's time separator.
TEST_F(SendTest, TheScreenTipsTimeHasTheUsersSeparator) {
    QLocale::setDefault(QLocale(QStringLiteral("fi_FI")));
    setReg(QStringLiteral("Task"), QStringLiteral("RemindMe"), 1);
    setText(QStringLiteral("Task"), QStringLiteral("RemindMeStart"), QStringLiteral("d1"));
    setText(QStringLiteral("Task"), QStringLiteral("RemindMeTime"), QStringLiteral("NOW"));
    clock->set(QDateTime(QDate(2026, 12, 10), QTime(14, 5)));
    compose(QStringLiteral("Offer"));
    const QString tip = remindMeTip();
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    EXPECT_EQ(tip, QStringLiteral("Send and remind me tomorrow at 14.05"));
}

TEST_F(SendTest, ATaskWindowLeavesTheScreenTipAsItWas) {
    compose(QStringLiteral("Offer"));
    const QString tip = remindMeTip();
    ASSERT_FALSE(tip.isEmpty());
    setReg(QStringLiteral("Task"), QStringLiteral("RemindMe"), 0);
    const ol::TaskItemPtr t = ol::asTaskItem(mailbox().application()->CreateItem(ol::olTaskItem));
    t->Display(false);
    EXPECT_EQ(remindMeTip(), tip);
}

}  // namespace

namespace {

TEST_F(SendTest, CustomWithAnEmptySubjectOpensNoDialog) {
    compose(QString());
    client->press(QStringLiteral("Custom"));
    EXPECT_EQ(windows->shownCount, 0);
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text,
              QStringLiteral("You must specify a Subject when using Vantorel."));
    EXPECT_EQ(PendingSends->Count(), 0);
    EXPECT_EQ(sentCount(), 0);
}

// A task follows only a message that was sent.
TEST_F(SendTest, ASendFailingAfterBothStepsRemovesTheTask) {
    // Inside the dialog the message loses its recipients: the mail client refuses it
    // once the send steps have run.
    windows->person = [](QDialog& d) {
        auto& dialog = static_cast<TCustomSendTask&>(d);
        dialog.CurrentMailItem()->SetTo(QString());
        dialog.btnSend->click();
    };
    const ol::MailItemPtr mail = compose(QStringLiteral("Offer"));
    client->press(QStringLiteral("Custom"));
    EXPECT_EQ(taskCount(), 0);
    EXPECT_FALSE(mail->UserProperties()->Item(QStringLiteral("ReminderID")))
        << "the message claims no task";
    EXPECT_EQ(sentCount(), 0);
    EXPECT_EQ(PendingSends->Count(), 0);
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].icon, platform::MessageIcon::Warning);
    EXPECT_EQ(mailbox().inspectors().size(), 1u);
}

}  // namespace

namespace {

TEST_F(SendTest, APriorityOutsideTheListStillGivesATask) {
    setReg(QStringLiteral("Task"), QStringLiteral("Priority"), 7);
    compose(QStringLiteral("Offer"));
    client->press(QStringLiteral("Remind me"));
    ASSERT_EQ(taskCount(), 1);
    EXPECT_EQ(task(1)->Importance(), ol::olImportanceNormal);
    EXPECT_TRUE(prompts->shown.empty());
}

}  // namespace

namespace {

// The mailbox's disk fills up at some write of the send (after WRITESBEFORE writes
// succeed, every later one fails as SQLite fails on a full disk): the message saved,
// saved again with its task, the task, the message sent.
struct FullDiskRow {
    const char* button;
    int writesBefore;
};

class FullDisk : public SendTest, public ::testing::WithParamInterface<FullDiskRow> {};

TEST_P(FullDisk, TellsThePersonAndLeavesTheMessageOpenWithNothingMade) {
    const FullDiskRow& row = GetParam();
    windows->person = [](QDialog& d) { static_cast<TCustomSendTask&>(d).btnSend->click(); };
    compose(QStringLiteral("Offer"));
    mailbox().faults().failWrites(-1, row.writesBefore);
    client->press(QString::fromUtf8(row.button));

    const QString full = QStringLiteral("could not be written: database or disk is full");
    ASSERT_FALSE(prompts->shown.empty()) << "nobody is told";
    if (row.writesBefore == 0) {
        // Whatever "IsVerbose" says: the message cannot even be saved.
        ASSERT_EQ(prompts->shown.size(), 1u);
        EXPECT_TRUE(prompts->shown[0].text.startsWith(
            QStringLiteral("Cannot send and track this message: The mailbox file \"")))
            << prompts->shown[0].text.toStdString();
        EXPECT_EQ(prompts->shown[0].icon, platform::MessageIcon::Error);
        EXPECT_EQ(windows->shownCount, 0) << "no dialog for a message that cannot be saved";
    }
    EXPECT_TRUE(prompts->shown.back().text.endsWith(full))
        << prompts->shown.back().text.toStdString();
    EXPECT_TRUE(suppressed.empty());
    EXPECT_EQ(sentCount(), 0);
    EXPECT_EQ(mailbox().inspectors().size(), 1u) << "the message stays open";
    EXPECT_EQ(PendingSends->Count(), 0);

    // With room on the disk again, the next tick removes a task the full disk kept.
    mailbox().faults().clear();
    scheduler->advance(10'000);
    EXPECT_EQ(taskCount(), 0);
    EXPECT_TRUE(ReminderWindow == nullptr || !ReminderWindow->isVisible());
}

INSTANTIATE_TEST_SUITE_P(SendTest, FullDisk,
                         ::testing::Values(FullDiskRow{"Remind me", 0}, FullDiskRow{"Remind me", 1},
                                           FullDiskRow{"Remind me", 2}, FullDiskRow{"Remind me", 3},
                                           FullDiskRow{"Custom", 0}, FullDiskRow{"Custom", 1},
                                           FullDiskRow{"Custom", 2}, FullDiskRow{"Custom", 3}));

}  // namespace

namespace {

// A message window's buttons act on the message of the window they were pressed in,
// also when another window is in front: the press names its window.
class PressedBehind : public SendTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(PressedBehind, SendsAndTracksThePressedWindowsMessageAndLeavesTheActiveOneAlone) {
    windows->person = [](QDialog& d) { static_cast<TCustomSendTask&>(d).btnSend->click(); };
    compose(QStringLiteral("Offer"));
    const ol::InspectorPtr pressed = mailbox().inspectors().back();
    const ol::MailItemPtr other =
        compose(QStringLiteral("Minutes"), QStringLiteral("Bo Chen <bo@example.com>"));
    ASSERT_EQ(mailbox().application()->ActiveInspector()->CurrentItem()->Subject(),
              QStringLiteral("Minutes"));

    client->press(QString::fromUtf8(GetParam()), pressed);

    ASSERT_EQ(sentCount(), 1);
    EXPECT_EQ(folder(ol::olFolderSentMail)->Item(1)->Subject(), QStringLiteral("Offer"));
    ASSERT_EQ(taskCount(), 1);
    EXPECT_EQ(reminderId(1), task(1)->EntryID());
    EXPECT_EQ(PendingSends->Count(), 0);
    EXPECT_FALSE(mailbox().isOpen(pressed)) << "the message went";
    ASSERT_EQ(mailbox().inspectors().size(), 1u);
    EXPECT_EQ(mailbox().inspectors()[0]->CurrentItem()->Subject(), QStringLiteral("Minutes"));
    EXPECT_EQ(other->EntryID(), QString()) << "the other message was not even saved";
    EXPECT_EQ(other->UserProperties()->Item(QStringLiteral("ReminderID")), nullptr);
    EXPECT_TRUE(prompts->shown.empty());
    EXPECT_TRUE(suppressed.empty());
}

INSTANTIATE_TEST_SUITE_P(Buttons, PressedBehind, ::testing::Values("Remind me", "Custom"));

}  // namespace
