// Fault injection: the next calls of a named operation fail with the host's text.

#include "EngineFixture.h"

namespace vantorel::engine::testing {
namespace {

struct FaultRow {
    const char* name;
    const char* operation;
    std::function<void(EngineTest&)> call;
};

class FaultTest : public EngineTest, public ::testing::WithParamInterface<FaultRow> {};

TEST_P(FaultTest, FailsTheArmedNumberOfCallsThenWorks) {
    const FaultRow& row = GetParam();
    engine->faults().failNext(QLatin1String(row.operation), 2, QStringLiteral("Disk on fire."));
    for (int i = 0; i < 2; ++i) {
        try {
            row.call(*this);
            ADD_FAILURE() << "call " << i + 1 << " did not fail";
        } catch (const ol::OutlookError& e) {
            EXPECT_EQ(e.text(), QStringLiteral("Disk on fire."));
        }
    }
    EXPECT_EQ(engine->faults().remaining(QLatin1String(row.operation)), 0);
    EXPECT_NO_THROW(row.call(*this));
}

INSTANTIATE_TEST_SUITE_P(
    Operations, FaultTest,
    ::testing::Values(
        FaultRow{"task_save", "TaskItem.Save",
                 [](EngineTest& t) { t.newTask(QStringLiteral("Task")); }},
        FaultRow{"any_save", "Save",
                 [](EngineTest& t) {
                     t.newMail(QStringLiteral("a@example.com"), QStringLiteral("M"))->Save();
                 }},
        FaultRow{"lookup", "NameSpace.GetItemFromID",
                 [](EngineTest& t) {
                     t.ns->GetItemFromID(t.engine
                                             ->deliver(t.reply(QStringLiteral("a@example.com"),
                                                               QStringLiteral("In")))
                                             ->EntryID());
                 }},
        FaultRow{"property_value", "UserProperty.Value",
                 [](EngineTest& t) {
                     ol::TaskItemPtr task = ol::asTaskItem(t.app->CreateItem(ol::olTaskItem));
                     task->UserProperties()
                         ->Add(QStringLiteral("Snooze"), ol::olText, false, ol::olFormatTextText)
                         ->Value();
                 }},
        FaultRow{"collection_item", "Items.Item",
                 [](EngineTest& t) {
                     t.newTask(QStringLiteral("Task"));
                     t.items(ol::olFolderTasks)->Item(1);
                 }}),
    [](const ::testing::TestParamInfo<FaultRow>& info) { return std::string(info.param.name); });

TEST_F(EngineTest, AFailingSendSendsNothing) {
    ol::InspectorPtr window =
        engine->compose({QStringLiteral("ann@example.com"), {}, {}, QStringLiteral("Offer"), {}});
    ol::MailItemPtr mail = ol::asMailItem(window->CurrentItem());
    mail->Save();
    int raised = 0;
    ol::Connection counting = app->OnItemSend([&](const ol::ItemPtr&, bool&) { ++raised; });
    engine->faults().failNext(QStringLiteral("MailItem.Send"));
    try {
        mail->Send();
        ADD_FAILURE() << "Send did not fail";
    } catch (const ol::OutlookError& e) {
        EXPECT_EQ(e.text(), Faults::defaultMessage());
    }
    EXPECT_EQ(raised, 0);
    EXPECT_EQ(items(ol::olFolderSentMail)->Count(), 0);
    EXPECT_EQ(app->ActiveInspector(), window);
    mail->Send();
    EXPECT_EQ(raised, 1);
    EXPECT_EQ(items(ol::olFolderSentMail)->Count(), 1);
}

TEST_F(EngineTest, FaultsLastUntilClearedAndNamesAreChecked) {
    engine->faults().failAlways(QStringLiteral("Items.Count"));
    EXPECT_EQ(engine->faults().remaining(QStringLiteral("Items.Count")), -1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_THROW(items(ol::olFolderTasks)->Count(), ol::OutlookError);
    }
    engine->faults().clear();
    EXPECT_EQ(items(ol::olFolderTasks)->Count(), 0);

    EXPECT_THROW(engine->faults().failNext(QStringLiteral("TaskItem.Saev")), std::invalid_argument);
    for (const QString& operation : Faults::operations()) {
        EXPECT_NO_THROW(engine->faults().failNext(operation)) << operation.toStdString();
    }
    EXPECT_TRUE(Faults::operations().contains(QStringLiteral("TaskItem.Delete")));
    EXPECT_TRUE(Faults::operations().contains(QStringLiteral("Recipients.ResolveAll")));
}

// The mailbox file on a full disk: the armed writes fail with the host's text around
// SQLite's own, and leave the mailbox as it was.
TEST_F(EngineTest, AFullDiskFailsTheArmedWritesAndChangesNothing) {
    int written = 0;
    engine->faults().onWritten = [&written] { ++written; };
    engine->faults().failWrites(2, 1);
    newTask(QStringLiteral("First"));
    for (int i = 0; i < 2; ++i) {
        try {
            newTask(QStringLiteral("Refused"));
            ADD_FAILURE() << "write " << i + 2 << " did not fail";
        } catch (const ol::OutlookError& e) {
            EXPECT_TRUE(e.text().startsWith(QStringLiteral("The mailbox file \"")));
            EXPECT_TRUE(
                e.text().endsWith(QStringLiteral("could not be written: database or disk is full")))
                << e.text().toStdString();
        }
    }
    EXPECT_EQ(items(ol::olFolderTasks)->Count(), 1);
    newTask(QStringLiteral("Fourth"));
    EXPECT_EQ(items(ol::olFolderTasks)->Count(), 2);
    EXPECT_EQ(written, 2);
}

TEST_F(EngineTest, TheOpenInspectorsAreListedTheActiveOneLast) {
    const ol::InspectorPtr first =
        engine->compose({QStringLiteral("ann@example.com"), {}, {}, QStringLiteral("One"), {}});
    const ol::InspectorPtr second =
        engine->compose({QStringLiteral("bob@example.com"), {}, {}, QStringLiteral("Two"), {}});
    const ol::InspectorsPtr open = app->Inspectors();
    ASSERT_EQ(open->Count(), 2);
    EXPECT_EQ(open->Item(1), first);
    EXPECT_EQ(open->Item(2), second);
    EXPECT_THROW(open->Item(3), ol::OutlookError);
    engine->close(first);
    EXPECT_EQ(app->Inspectors()->Count(), 1);
}

}  // namespace
}  // namespace vantorel::engine::testing
