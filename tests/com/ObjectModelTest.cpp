// The add-in's object model over the client's COM objects (outlook/windows), against
// the stand-in's COM server over a real engine: what the add-in reads and writes
// arrives in the mailbox, its errors carry the engine's own texts, and its event
// subscriptions reach the engine and end with their Connections.

#include "outlook/windows/ComObjectModel.h"
#include "tests/com/LateBound.h"

#include <oleidl.h>

#include <stdexcept>

namespace vantorel::host::com::testing {
namespace {

class ObjectModelTest : public ServerTest {
public:
    ObjectModelTest() {
        client = oc::comApplication(application.get());
        errors = engine->onEventError([this](const QString& event, const QString& text) {
            reported.push_back(event + QStringLiteral(": ") + text);
        });
    }
    void TearDown() override {
        errors.disconnect();
        client.reset();
        ServerTest::TearDown();
    }

    ol::ApplicationPtr client;
    ol::Connection errors;
    QStringList reported;
};

TEST_F(ObjectModelTest, ItemsArriveAsTheirKindAndTheirFieldsRoundTrip) {
    const ol::NameSpacePtr session = client->GetNamespace(QStringLiteral("MAPI"));
    ol::TaskItemPtr task = ol::asTaskItem(client->CreateItem(ol::olTaskItem));
    ASSERT_NE(task, nullptr);
    task->SetSubject(QStringLiteral("Offer \u00e9\u4e2d"));
    task->SetBody(QStringLiteral("line 1\r\nline 2"));
    task->SetCategories(QStringLiteral("Vantorel"));
    task->SetStartDate(46366.375);
    task->SetDueDate(ol::kNoDate);
    task->SetReminderSet(true);
    task->SetReminderTime(46367.5);
    task->SetImportance(ol::olImportanceHigh);
    task->Save();
    const QString id = task->EntryID();
    ASSERT_FALSE(id.isEmpty());

    // Read back by both layers: through COM, and from the engine itself.
    const ol::TaskItemPtr again = ol::asTaskItem(session->GetItemFromID(id));
    const ol::TaskItemPtr stored = ol::asTaskItem(ns->GetItemFromID(id));
    for (const ol::TaskItemPtr& read : {again, stored}) {
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->Subject(), QStringLiteral("Offer \u00e9\u4e2d"));
        EXPECT_EQ(read->Body(), QStringLiteral("line 1\r\nline 2"));
        EXPECT_EQ(read->Categories(), QStringLiteral("Vantorel"));
        EXPECT_DOUBLE_EQ(read->StartDate(), 46366.375);
        EXPECT_DOUBLE_EQ(read->DueDate(), ol::kNoDate);
        EXPECT_TRUE(read->ReminderSet());
        EXPECT_DOUBLE_EQ(read->ReminderTime(), 46367.5);
        EXPECT_EQ(read->Importance(), ol::olImportanceHigh);
        EXPECT_FALSE(read->Complete());
    }
    EXPECT_EQ(again->Class(), ol::olTask);
    EXPECT_EQ(ol::asMailItem(again), nullptr);

    ol::MailItemPtr mail = ol::asMailItem(client->CreateItem(ol::olMailItem));
    ASSERT_NE(mail, nullptr);
    mail->SetTo(QStringLiteral("Ann Lee <ann@example.com>"));
    mail->SetSubject(QStringLiteral("Offer"));
    mail->Save();
    const ol::RecipientsPtr recipients = mail->Recipients();
    ASSERT_EQ(recipients->Count(), 1);
    EXPECT_EQ(recipients->Item(1)->Address(), QStringLiteral("ann@example.com"));
    EXPECT_EQ(recipients->Item(1)->Type(), ol::olTo);
    EXPECT_FALSE(mail->Sent());
    EXPECT_DOUBLE_EQ(mail->SentOn(), ol::kNoDate);
    EXPECT_EQ(session->GetDefaultFolder(ol::olFolderDrafts)->Items()->Count(), 1);
}

TEST_F(ObjectModelTest, UserPropertiesAreFoundByNameOrNotAtAll) {
    const ol::TaskItemPtr task = ol::asTaskItem(client->CreateItem(ol::olTaskItem));
    task->SetSubject(QStringLiteral("t"));
    const ol::UserPropertiesPtr properties = task->UserProperties();
    properties->Add(QStringLiteral("Topic"), ol::olText)->SetValue(QStringLiteral("It's done"));
    task->Save();
    const ol::ItemPtr read = client->Session()->GetItemFromID(task->EntryID());
    const ol::UserPropertiesPtr readProperties = read->UserProperties();
    ASSERT_NE(readProperties->Item(QStringLiteral("topic")), nullptr);
    EXPECT_EQ(readProperties->Item(QStringLiteral("Topic"))->Value(), QStringLiteral("It's done"));
    // The client's Item fails for an unknown name; the object model answers null.
    EXPECT_EQ(readProperties->Item(QStringLiteral("Missing")), nullptr);
    // The folder's items by the property, as the add-in looks its tasks up.
    const ol::ItemsPtr found = client->Session()
                                   ->GetDefaultFolder(ol::olFolderTasks)
                                   ->Items()
                                   ->Restrict(ol::UserPropertyFilter(QStringLiteral("Topic"),
                                                                     QStringLiteral("it's done")));
    EXPECT_EQ(found->Count(), 1);
}

TEST_F(ObjectModelTest, FailuresCarryTheEnginesOwnTexts) {
    QString engineText;
    try {
        ns->GetItemFromID(QStringLiteral("00000000DEAD"));
    } catch (const ol::OutlookError& e) {
        engineText = e.text();
    }
    ASSERT_FALSE(engineText.isEmpty());
    try {
        client->Session()->GetItemFromID(QStringLiteral("00000000DEAD"));
        ADD_FAILURE() << "an unknown item was found";
    } catch (const ol::OutlookError& e) {
        EXPECT_EQ(e.text(), engineText);
    }
    const ol::TaskItemPtr task = ol::asTaskItem(client->CreateItem(ol::olTaskItem));
    EXPECT_THROW(task->SetImportance(7), ol::OutlookError);
    EXPECT_THROW(client->Session()->Folders()->Item(QStringLiteral("No such store")),
                 ol::OutlookError);
}

TEST_F(ObjectModelTest, SubscriptionsReachTheEngineAndEndWithTheirConnections) {
    QStringList seen;
    ol::Connection send = client->OnItemSend([&](const ol::ItemPtr& item, bool& cancel) {
        seen.push_back(QStringLiteral("send ") + item->Subject());
        cancel = item->Subject() == QStringLiteral("Hold");
    });
    const ol::ItemsPtr sent = client->Session()->GetDefaultFolder(ol::olFolderSentMail)->Items();
    ol::Connection added = sent->OnItemAdd([&](const ol::ItemPtr& item) {
        seen.push_back(QStringLiteral("sent ") + item->Subject());
        throw std::runtime_error("the watcher broke");
    });
    ol::Connection activated = client->OnInspectorActivate([&](const ol::InspectorPtr& window) {
        seen.push_back(QStringLiteral("window ") + window->CurrentItem()->Subject());
    });
    EXPECT_EQ(activeAdvises(), 3);

    engine::ComposeFields fields;
    fields.to = QStringLiteral("ann@example.com");
    fields.subject = QStringLiteral("Hold");
    engine->compose(fields);
    ol::asMailItem(client->ActiveInspector()->CurrentItem())->Send();
    const ol::MailItemPtr go = ol::asMailItem(client->CreateItem(ol::olMailItem));
    go->SetTo(QStringLiteral("ann@example.com"));
    go->SetSubject(QStringLiteral("Go"));
    go->Send();

    EXPECT_EQ(seen, (QStringList{QStringLiteral("window Hold"), QStringLiteral("send Hold"),
                                 QStringLiteral("send Go"), QStringLiteral("sent Go")}));
    EXPECT_EQ(reported, QStringList{QStringLiteral("ItemAdd: the watcher broke")});
    EXPECT_EQ(sent->Count(), 1) << "the cancelled message was not sent";

    send.disconnect();
    added.disconnect();
    activated.disconnect();
    EXPECT_EQ(activeAdvises(), 0);
}

// Every open message window is listed, the active one last, each with its item; a
// position outside the list is refused.
TEST_F(ObjectModelTest, InspectorsListEveryOpenMessageWindow) {
    EXPECT_EQ(client->Inspectors()->Count(), 0);
    for (const char* subject : {"First", "Second"}) {
        engine::ComposeFields fields;
        fields.to = QStringLiteral("ann@example.com");
        fields.subject = QString::fromLatin1(subject);
        engine->compose(fields);
    }
    const ol::InspectorsPtr open = client->Inspectors();
    ASSERT_EQ(open->Count(), 2);
    EXPECT_EQ(open->Item(1)->CurrentItem()->Subject(), QStringLiteral("First"));
    EXPECT_EQ(open->Item(2)->CurrentItem()->Subject(), QStringLiteral("Second"));
    EXPECT_THROW(open->Item(3), ol::OutlookError);
}

// The window the add-in's dialogs belong to: the client's window in front, through the
// IOleWindow of the Inspector or Explorer Application.ActiveWindow gives.
TEST_F(ObjectModelTest, TheWindowInFrontComesThroughIOleWindow) {
    // Without windows of its own (the stand-in's scripts) there is no owner.
    EXPECT_EQ(oc::activeWindowHandle(application.get()), nullptr);
    // The server of the engine's Application is one while it lives: another with windows.
    client.reset();
    application.reset();
    const HWND mainWindow = reinterpret_cast<HWND>(0x1A2B0);
    const HWND messageWindow = reinterpret_cast<HWND>(0x3C4D0);
    HostWindows windows = windowsOf(*engine);
    windows.mainWindow = [&] { return mainWindow; };
    windows.inspectorWindow = [&](const ol::InspectorPtr&) { return messageWindow; };
    application = makeApplicationServer(app, windows);

    EXPECT_EQ(oc::activeWindowHandle(application.get()), mainWindow);
    engine->compose();
    EXPECT_EQ(oc::activeWindowHandle(application.get()), messageWindow);
    // An Explorer is a window; the Application is none.
    EXPECT_FALSE(application.query<IOleWindow>(IID_IOleWindow));
    {
        const Object explorer = getObject(application.get(), L"ActiveExplorer");
        const oc::ComPtr<IOleWindow> ole = explorer.query<IOleWindow>(IID_IOleWindow);
        ASSERT_TRUE(ole);
        HWND handle = nullptr;
        EXPECT_EQ(ole->GetWindow(&handle), S_OK);
        EXPECT_EQ(handle, mainWindow);
    }
    engine->setExplorerCount(0);
    EXPECT_FALSE(getObject(application.get(), L"ActiveExplorer"));
}

}  // namespace
}  // namespace vantorel::host::com::testing
