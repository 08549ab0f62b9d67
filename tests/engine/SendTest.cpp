// Sending, the events around it, and the windows of the mail host.

#include "EngineFixture.h"

#include "tools/DateTime.h"

namespace vantorel::engine::testing {
namespace {

// The handlers of ItemSend, newest subscription first unless the engine is told
// otherwise (the mail client promises no order); a cancel is seen by the handlers
// after the one that set it and stops the send.
struct SinkOrderRow {
    bool setOrder;  // false: the engine's own order
    SinkOrder order;
    QStringList calls;
};

class ItemSendOrderTest : public EngineTest, public ::testing::WithParamInterface<SinkOrderRow> {};

TEST_P(ItemSendOrderTest, RunsTheHandlersInItsOrderAndCancelStopsTheSend) {
    if (GetParam().setOrder) {
        engine->setSinkOrder(GetParam().order);
    }
    ol::InspectorPtr window = engine->compose(
        {QStringLiteral("Ann Lee <ann@example.com>"), {}, {}, QStringLiteral("Offer"), {}});
    ol::MailItemPtr mail = ol::asMailItem(window->CurrentItem());
    mail->Save();

    QStringList calls;
    ol::Connection first = app->OnItemSend([&](const ol::ItemPtr& item, bool& cancel) {
        calls << QStringLiteral("first:%1").arg(cancel);
        EXPECT_EQ(item, window->CurrentItem());
        cancel = true;
    });
    ol::Connection second = app->OnItemSend([&](const ol::ItemPtr&, bool& cancel) {
        calls << QStringLiteral("second:%1").arg(cancel);
    });
    mail->Send();

    EXPECT_EQ(calls, GetParam().calls);
    EXPECT_EQ(app->ActiveInspector(), window);
    EXPECT_EQ(items(ol::olFolderDrafts)->Count(), 1);
    EXPECT_EQ(items(ol::olFolderSentMail)->Count(), 0);
    EXPECT_FALSE(mail->Sent());

    first.disconnect();
    calls.clear();
    mail->Send();
    EXPECT_EQ(calls, QStringList{QStringLiteral("second:0")});
    EXPECT_EQ(items(ol::olFolderSentMail)->Count(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, ItemSendOrderTest,
    ::testing::Values(SinkOrderRow{false,
                                   SinkOrder::NewestFirst,
                                   {QStringLiteral("second:0"), QStringLiteral("first:0")}},
                      SinkOrderRow{true,
                                   SinkOrder::NewestFirst,
                                   {QStringLiteral("second:0"), QStringLiteral("first:0")}},
                      SinkOrderRow{true,
                                   SinkOrder::OldestFirst,
                                   {QStringLiteral("first:0"), QStringLiteral("second:1")}}));

TEST_F(EngineTest, SentCopyHasANewEntryIdAndWhatItemSendAdded) {
    ol::MailItemPtr mail =
        newMail(QStringLiteral("Ann Lee <ann@example.com>"), QStringLiteral("RE: Offer"));
    mail->SetCC(QStringLiteral("bob@example.com"));
    mail->Save();
    const QString draftId = mail->EntryID();

    ol::Connection stamp = app->OnItemSend([](const ol::ItemPtr& item, bool&) {
        ol::asMailItem(item)
            ->UserProperties()
            ->Add(QStringLiteral("ReminderID"), ol::olText, false, ol::olFormatTextText)
            ->SetValue(QStringLiteral("TASK-1"));
    });
    mail->Send();

    EXPECT_EQ(items(ol::olFolderDrafts)->Count(), 0);
    EXPECT_THROW(ns->GetItemFromID(draftId), ol::OutlookError);
    EXPECT_THROW(mail->Save(), ol::OutlookError);

    ASSERT_EQ(items(ol::olFolderSentMail)->Count(), 1);
    ol::MailItemPtr sent = ol::asMailItem(items(ol::olFolderSentMail)->Item(1));
    EXPECT_FALSE(sent->EntryID().isEmpty());
    EXPECT_NE(sent->EntryID(), draftId);
    EXPECT_TRUE(sent->Sent());
    EXPECT_EQ(sent->SentOn(), tools::toDateTime(platform::now()));
    EXPECT_EQ(sent->SenderEmailAddress(), QStringLiteral("user@vantorel.example"));
    EXPECT_EQ(sent->Subject(), QStringLiteral("RE: Offer"));
    EXPECT_EQ(sent->ConversationTopic(), QStringLiteral("Offer"));
    EXPECT_EQ(sent->To(), QStringLiteral("Ann Lee"));
    EXPECT_EQ(sent->CC(), QStringLiteral("bob@example.com"));
    ASSERT_NE(sent->UserProperties()->Item(QStringLiteral("ReminderID")), nullptr);
    EXPECT_EQ(sent->UserProperties()->Item(QStringLiteral("ReminderID"))->Value(),
              QStringLiteral("TASK-1"));
    EXPECT_THROW(sent->Send(), ol::OutlookError);
}

struct SendFailureRow {
    const char* name;
    const char* to;
    const char* error;
};

class SendFailureTest : public EngineTest, public ::testing::WithParamInterface<SendFailureRow> {};

TEST_P(SendFailureTest, MessageStaysUnsent) {
    ol::InspectorPtr window =
        engine->compose({QString::fromUtf8(GetParam().to), {}, {}, QStringLiteral("Offer"), {}});
    ol::MailItemPtr mail = ol::asMailItem(window->CurrentItem());
    int raised = 0;
    ol::Connection counting = app->OnItemSend([&](const ol::ItemPtr&, bool&) { ++raised; });
    try {
        mail->Send();
        ADD_FAILURE() << "Send did not fail";
    } catch (const ol::OutlookError& e) {
        EXPECT_EQ(e.text(), QString::fromUtf8(GetParam().error));
    }
    EXPECT_EQ(raised, 0);
    EXPECT_EQ(app->ActiveInspector(), window);
    EXPECT_EQ(items(ol::olFolderSentMail)->Count(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Recipients, SendFailureTest,
    ::testing::Values(SendFailureRow{"none", "",
                                     "There must be at least one name or contact group in the To, "
                                     "Cc, or Bcc box."},
                      SendFailureRow{"unknown_name", "Nobody Known",
                                     "Outlook does not recognize one or more names."},
                      SendFailureRow{"two_addresses_joined_by_a_bar", "a@x|b@y",
                                     "Outlook does not recognize one or more names."},
                      SendFailureRow{"unclosed_angle", "Ann < a@x",
                                     "Outlook does not recognize one or more names."},
                      SendFailureRow{"doubled_angles", "<<a@x>>",
                                     "Outlook does not recognize one or more names."},
                      SendFailureRow{"exchange_entry_without_address", "Bob <ex:>",
                                     "Outlook does not recognize one or more names."},
                      SendFailureRow{"blank_in_address", "Ann <ann lee@x>",
                                     "Outlook does not recognize one or more names."}),
    [](const ::testing::TestParamInfo<SendFailureRow>& info) {
        return std::string(info.param.name);
    });

// Each way an item arrives in a folder raises that folder's ItemAdd once, with the item.
struct ArrivalRow {
    const char* name;
    int folder;
    std::function<QString(EngineTest&)> arrive;  // returns the subject that arrived
};

class ItemAddTest : public EngineTest, public ::testing::WithParamInterface<ArrivalRow> {};

TEST_P(ItemAddTest, RaisedForEachArrival) {
    ol::ItemsPtr watched = items(GetParam().folder);
    QStringList added;
    ol::Connection watch = watched->OnItemAdd([&](const ol::ItemPtr& item) {
        added << item->Subject();
        EXPECT_FALSE(item->EntryID().isEmpty());
        EXPECT_EQ(watched->Count(), 1) << "the item is in the folder already";
    });
    const QString subject = GetParam().arrive(*this);
    EXPECT_EQ(added, QStringList{subject});
}

INSTANTIATE_TEST_SUITE_P(
    Arrivals, ItemAddTest,
    ::testing::Values(
        ArrivalRow{"delivery", ol::olFolderInbox,
                   [](EngineTest& t) {
                       t.engine->deliver(
                           t.reply(QStringLiteral("ann@example.com"), QStringLiteral("RE: Offer")));
                       return QStringLiteral("RE: Offer");
                   }},
        ArrivalRow{"first_save_of_a_task", ol::olFolderTasks,
                   [](EngineTest& t) {
                       ol::TaskItemPtr task = t.newTask(QStringLiteral("Task"));
                       task->SetBody(QStringLiteral("saved again: no second event"));
                       task->Save();
                       return QStringLiteral("Task");
                   }},
        ArrivalRow{
            "first_save_of_a_mail", ol::olFolderDrafts,
            [](EngineTest& t) {
                t.newMail(QStringLiteral("ann@example.com"), QStringLiteral("Draft"))->Save();
                return QStringLiteral("Draft");
            }},
        ArrivalRow{
            "sent_copy", ol::olFolderSentMail,
            [](EngineTest& t) {
                t.newMail(QStringLiteral("ann@example.com"), QStringLiteral("Offer"))->Send();
                return QStringLiteral("Offer");
            }},
        ArrivalRow{"deleted_task", ol::olFolderDeletedItems,
                   [](EngineTest& t) {
                       t.newTask(QStringLiteral("Old"))->Delete();
                       return QStringLiteral("Old");
                   }}),
    [](const ::testing::TestParamInfo<ArrivalRow>& info) { return std::string(info.param.name); });

TEST_F(EngineTest, ItemAddOfOneFolderIsNotRaisedForAnother) {
    int raised = 0;
    ol::Connection watch =
        items(ol::olFolderSentMail)->OnItemAdd([&](const ol::ItemPtr&) { ++raised; });
    engine->deliver(reply(QStringLiteral("ann@example.com"), QStringLiteral("Hello")));
    newTask(QStringLiteral("Task"));
    EXPECT_EQ(raised, 0);
}

TEST_F(EngineTest, ComposeWindowIsActiveUntilItsMessageIsSent) {
    std::vector<ol::InspectorPtr> activated;
    std::vector<ol::InspectorPtr> closed;
    ol::Connection onActivate = app->OnInspectorActivate(
        [&](const ol::InspectorPtr& inspector) { activated.push_back(inspector); });
    ol::Connection onClose = engine->onInspectorClose(
        [&](const ol::InspectorPtr& inspector) { closed.push_back(inspector); });

    ol::InspectorPtr window = engine->compose({QStringLiteral("Ann Lee <ann@example.com>"),
                                               QStringLiteral("bob@example.com"),
                                               {},
                                               QStringLiteral("Offer"),
                                               QStringLiteral("Hello")});
    EXPECT_EQ(activated, std::vector<ol::InspectorPtr>{window});
    EXPECT_EQ(app->ActiveInspector(), window);
    ol::MailItemPtr mail = ol::asMailItem(app->ActiveInspector()->CurrentItem());
    ASSERT_NE(mail, nullptr);
    EXPECT_EQ(app->ActiveInspector()->CurrentItem(), mail) << "the same object each time";
    EXPECT_EQ(mail->EntryID(), QString());
    EXPECT_EQ(mail->CC(), QStringLiteral("bob@example.com"));
    EXPECT_EQ(mail->Body(), QStringLiteral("Hello"));

    mail->Save();
    mail->Send();
    EXPECT_EQ(closed, std::vector<ol::InspectorPtr>{window});
    EXPECT_EQ(app->ActiveInspector(), nullptr);
    EXPECT_TRUE(engine->inspectors().empty());
}

TEST_F(EngineTest, DisplayOpensTheItemInTheHostsWindow) {
    std::vector<ol::ItemPtr> shown;
    ol::Connection onDisplay = engine->onDisplay(
        [&](const ol::ItemPtr& item, const ol::InspectorPtr&) { shown.push_back(item); });
    ol::MailItemPtr followUp =
        newMail(QStringLiteral("ann@example.com"), QStringLiteral("FW: Offer"));
    ol::TaskItemPtr task = newTask(QStringLiteral("Task"));

    followUp->Display(false);
    task->Display(false);

    const std::vector<ol::ItemPtr> expected{followUp, task};
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(engine->displayed(), expected);
    EXPECT_EQ(app->ActiveInspector()->CurrentItem(), task);
    EXPECT_EQ(engine->inspectors().size(), 2u);
    EXPECT_THROW(task->Display(true), ol::OutlookError);

    engine->activate(engine->inspectors().front());
    EXPECT_EQ(app->ActiveInspector()->CurrentItem(), followUp);
    engine->close(app->ActiveInspector());
    EXPECT_EQ(app->ActiveInspector()->CurrentItem(), task);
}

TEST_F(EngineTest, AFailingHandlerIsReportedAndFailsNothingElse) {
    QStringList reported;
    ol::Connection errors = engine->onEventError([&](const QString& event, const QString& text) {
        reported << event + QStringLiteral(": ") + text;
    });
    bool secondRan = false;
    ol::Connection first = app->OnItemSend(
        [](const ol::ItemPtr&, bool&) { throw ol::OutlookError(QStringLiteral("step one")); });
    ol::Connection second = app->OnItemSend([&](const ol::ItemPtr&, bool&) { secondRan = true; });
    ol::Connection watcher = items(ol::olFolderSentMail)->OnItemAdd([](const ol::ItemPtr&) {
        throw std::runtime_error("watcher");
    });

    ol::MailItemPtr mail = newMail(QStringLiteral("ann@example.com"), QStringLiteral("Offer"));
    EXPECT_NO_THROW(mail->Send());
    EXPECT_TRUE(secondRan);
    EXPECT_EQ(items(ol::olFolderSentMail)->Count(), 1);
    EXPECT_EQ(reported, (QStringList{QStringLiteral("ItemSend: step one"),
                                     QStringLiteral("ItemAdd: watcher")}));
}

TEST_F(EngineTest, QuitIsRaisedWhenTheHostQuits) {
    int quits = 0;
    ol::Connection onQuit = app->OnQuit([&] { ++quits; });
    engine->quit();
    EXPECT_EQ(quits, 1);
}

TEST_F(EngineTest, SubscriptionsMayOutliveTheEngine) {
    int raised = 0;
    ol::Connection watch =
        items(ol::olFolderInbox)->OnItemAdd([&](const ol::ItemPtr&) { ++raised; });
    ol::ItemPtr task = newTask(QStringLiteral("kept"));
    ns.reset();
    app.reset();
    engine.reset();
    EXPECT_FALSE(watch.connected());
    watch.disconnect();
    try {
        task->Subject();
        ADD_FAILURE() << "a call after close";
    } catch (const ol::OutlookError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("The mailbox is closed."));
    }
    EXPECT_EQ(raised, 0);
}

}  // namespace
}  // namespace vantorel::engine::testing
