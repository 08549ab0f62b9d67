#include "tests/addin/AddInFixture.h"

#include "reminders/PendingSends.h"
#include "settings/AddInRegistry.h"
#include "tools/Globals.h"

#include <QCoreApplication>
#include <QFileInfo>

using namespace vantorel;
using test::AddInFixture;

namespace {

const QString kAppPaths =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE");
const QString kGateMessage =
    QStringLiteral("To use Vantorel, you must be running Microsoft Office 2010 or later.");
const QString kUnreadMessage =
    QStringLiteral("Vantorel could not read the version of Microsoft Office, so it cannot start.");

// The module driven by hand, with the host framework's MailClient as its host.
class ModuleTest : public test::ModuleFixture {
protected:
    RibbonButton& button(RibbonTab& tab, const char* caption) {
        for (auto& b : tab.controls) {
            if (b->Caption() == QLatin1String(caption)) {
                return *b;
            }
        }
        throw std::logic_error(caption);
    }
    bool started() {
        return module->SendMailToolbar.group.Visible() && module->TimerCheckReminders->enabled();
    }
};

}  // namespace

TEST_F(ModuleTest, TheRibbonLayoutAtCreation) {
    EXPECT_EQ(module->SendMailToolbar.idMso, QStringLiteral("TabNewMailMessage"));
    EXPECT_EQ(module->SendMailToolbar.insertBeforeMso, QStringLiteral("GroupSend"));
    EXPECT_FALSE(module->SendMailToolbar.group.Visible());
    EXPECT_EQ(button(module->SendMailToolbar, "Remind me").size, RibbonSize::Large);
    EXPECT_EQ(button(module->SendMailToolbar, "Custom").ScreenTip(),
              QStringLiteral("Choose reminder settings before sending"));
    EXPECT_EQ(module->MainToolbar.idMso, QStringLiteral("TabMail"));
    EXPECT_TRUE(module->MainToolbar.group.Visible());
    for (const char* caption : {"Default settings", "Edit template", "Preferences..."}) {
        EXPECT_FALSE(button(module->MainToolbar, caption).Enabled()) << caption;
    }
    EXPECT_EQ(button(module->MainToolbar, "Preferences...").size, RibbonSize::Normal);
    EXPECT_EQ(module->TimerCheckReminders->interval(), 10000);
    EXPECT_FALSE(module->TimerCheckReminders->enabled());
}

TEST_F(ModuleTest, StartupPublishesTheSharedObjectsAndActivates) {
    startModule();
    EXPECT_EQ(AddInModule, module.get());
    EXPECT_EQ(OutlookMajorVersion, 16);
    ASSERT_NE(PendingSends, nullptr);
    ASSERT_NE(AddInRegistry, nullptr);
    ASSERT_NE(OutlookApp, nullptr);
    EXPECT_EQ(OutlookApp->Version(), client->engine().application()->Version());
    EXPECT_EQ(ReminderSoundPath,
              QCoreApplication::applicationDirPath() + QStringLiteral("/reminder.wav"));
    EXPECT_EQ(HelpFilePath, QStringLiteral("Vantorel.chm"));  // no add-in folder: driven by hand
    EXPECT_TRUE(started());
    for (const char* caption : {"Default settings", "Edit template", "Preferences..."}) {
        EXPECT_TRUE(button(module->MainToolbar, caption).Enabled()) << caption;
    }
    EXPECT_TRUE(prompts->shown.empty());
}

TEST_F(ModuleTest, WithoutTheProgramRegistrationTheSoundIsTheBareFileName) {
    hives.machine().deleteKey(kAppPaths);
    startModule();
    EXPECT_EQ(ReminderSoundPath, QStringLiteral("reminder.wav"));
}

struct VersionRow {
    const char* version;
    int major;
    bool starts;
    const QString* box = nullptr;  // the one box shown when the add-in does not start
};

class VersionGate : public ModuleTest, public ::testing::WithParamInterface<VersionRow> {};

TEST_P(VersionGate, BelowOffice2010TheAddInStaysPassive) {
    client->engine().setVersion(QString::fromLatin1(GetParam().version));
    startModule();
    EXPECT_EQ(OutlookMajorVersion, GetParam().major);
    EXPECT_EQ(started(), GetParam().starts);
    EXPECT_EQ(button(module->MainToolbar, "Default settings").Enabled(), GetParam().starts);
    // The store, the paths and the application object exist either way.
    EXPECT_NE(AddInRegistry, nullptr);
    ASSERT_NE(OutlookApp, nullptr);
    EXPECT_EQ(OutlookApp->Version(), client->engine().application()->Version());
    if (GetParam().starts) {
        EXPECT_TRUE(prompts->shown.empty());
    } else {
        ASSERT_EQ(prompts->shown.size(), 1u);
        EXPECT_EQ(prompts->shown[0].text, *GetParam().box);
        EXPECT_EQ(prompts->shown[0].icon, platform::MessageIcon::Error);
        EXPECT_EQ(prompts->shown[0].buttons, platform::MessageButtons::Ok);
    }
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionGate,
                         ::testing::Values(VersionRow{"12.0.0.6423", 12, false, &kGateMessage},
                                           // No version text: not an old client.
                                           VersionRow{"abc.0", 0, false, &kUnreadMessage},
                                           VersionRow{"", 0, false, &kUnreadMessage},
                                           VersionRow{"14.0.0.0", 14, true},
                                           VersionRow{"15.0.4569.1506", 15, true},
                                           VersionRow{"16.0.17928.20114", 16, true},
                                           VersionRow{"16.0.x.y", 16, true}));

TEST_F(ModuleTest, AVersionWithoutANumberFailsInitialisationQuietly) {
    for (const char* version : {"abc.1", "16", ".16", ""}) {
        SCOPED_TRACE(version);
        suppressed.clear();
        client->engine().setVersion(QString::fromLatin1(version));
        module = std::make_unique<TAddInModule>();
        module->Connect(*client);
        ASSERT_EQ(suppressed.size(), 1u);
        EXPECT_TRUE(suppressed[0].endsWith(QStringLiteral("is not a valid integer value")));
        EXPECT_EQ(PendingSends, nullptr);  // the later steps of initialisation did not run
        EXPECT_TRUE(prompts->shown.empty());
    }
}

TEST_F(ModuleTest, WithIsVerboseTheFrameworkShowsTheError) {
    setReg(QStringLiteral("Verbose"), QStringLiteral("IsVerbose"), 1);
    client->engine().setVersion(QStringLiteral("abc.0"));
    module->Connect(*client);
    EXPECT_TRUE(suppressed.empty());
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text,
              QStringLiteral("Vantorel error: the add-in has fired an exception.\r\n"
                             "'abc' is not a valid integer value"));
    EXPECT_EQ(prompts->shown[0].icon, platform::MessageIcon::Error);
}

TEST_F(ModuleTest, ARibbonCommandThatFailsTakesTheErrorPath) {
    startModule();
    RibbonButton& remindMe = button(module->SendMailToolbar, "Remind me");
    remindMe.onClick = [] { throw outlook::OutlookError(QStringLiteral("The operation failed.")); };
    module->Press(remindMe, nullptr);
    EXPECT_EQ(suppressed, std::vector<QString>{QStringLiteral("The operation failed.")});
    EXPECT_TRUE(prompts->shown.empty());

    setReg(QStringLiteral("Verbose"), QStringLiteral("IsVerbose"), 1);
    module->Press(remindMe, nullptr);
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_TRUE(prompts->shown[0].text.endsWith(QStringLiteral("\r\nThe operation failed.")));
}

TEST_F(ModuleTest, APressThatNamesNoWindowSendsTheActiveWindowsMessage) {
    startModule();
    engine::ComposeFields fields;
    fields.to = QStringLiteral("ann@example.com");
    fields.subject = QStringLiteral("Offer");
    const outlook::InspectorPtr behind = client->engine().compose(fields);
    fields.subject = QStringLiteral("Minutes");
    client->engine().compose(fields);
    module->Press(button(module->SendMailToolbar, "Remind me"), nullptr);
    const outlook::ItemsPtr sent = client->engine()
                                       .application()
                                       ->GetNamespace(QStringLiteral("MAPI"))
                                       ->GetDefaultFolder(outlook::olFolderSentMail)
                                       ->Items();
    ASSERT_EQ(sent->Count(), 1);
    EXPECT_EQ(sent->Item(1)->Subject().toStdString(), "Minutes");
    EXPECT_TRUE(client->engine().isOpen(behind));
    EXPECT_TRUE(suppressed.empty());
}

TEST_F(ModuleTest, FastShutdownReleasesAndFinalisesOnceOnQuit) {
    startModule();
    client->engine().quit();
    EXPECT_TRUE(module->IsReleased());
    EXPECT_TRUE(module->IsFinalized());
    EXPECT_EQ(AddInRegistry, nullptr);
    EXPECT_EQ(PendingSends, nullptr);
    EXPECT_EQ(AddInModule, nullptr);
    EXPECT_FALSE(module->TimerCheckReminders->enabled());

    // The shutdown events that follow change nothing, not even objects made since.
    PendingSends = new TPendingSends();
    AddInRegistry = new TAddInRegistry();
    module->BeginShutdown();
    module->Disconnect();
    EXPECT_NE(PendingSends, nullptr);
    EXPECT_NE(AddInRegistry, nullptr);
}

TEST_F(ModuleTest, NormalShutdownWaitsForTheShutdownEvents) {
    client->setShutdownBehavior(ShutdownBehavior::Normal);
    startModule();
    client->engine().quit();
    EXPECT_FALSE(module->IsReleased());
    EXPECT_NE(AddInRegistry, nullptr);
    module->BeginShutdown();
    EXPECT_TRUE(module->IsReleased());
    EXPECT_EQ(AddInRegistry, nullptr);
    EXPECT_NE(PendingSends, nullptr);
    module->Disconnect();
    EXPECT_TRUE(module->IsFinalized());
    EXPECT_EQ(PendingSends, nullptr);
}

TEST_F(ModuleTest, AfterAStopAtTheVersionGateShutdownFreesWhatExists) {
    client->engine().setVersion(QStringLiteral("12.0.0.0"));
    startModule();
    client->engine().quit();
    EXPECT_TRUE(module->IsReleased());
    EXPECT_EQ(AddInRegistry, nullptr);
}

// The module owns its Tasks watcher: destroyed without a shutdown (as these tests do),
// it frees the watcher and leaves no pointer to it published.
TEST_F(ModuleTest, AModuleDestroyedWithoutAShutdownLeavesNoWatcherBehind) {
    startModule();
    ASSERT_NE(TaskItemsEvents, nullptr);
    EXPECT_EQ(TaskItemsEvents, module->TaskItemsWatcher.get());
    module.reset();
    EXPECT_EQ(TaskItemsEvents, nullptr);
}

TEST_F(ModuleTest, NoTimerTickRunsAfterRelease) {
    startModule();
    int ticks = 0;
    module->TimerCheckReminders->setOnTimer([&] { ++ticks; });
    scheduler->advance(25'000);
    EXPECT_EQ(ticks, 2);
    module->ReleaseAddIn();
    scheduler->advance(60'000);
    EXPECT_EQ(ticks, 2);
}

TEST_F(ModuleTest, ARibbonRequestForAnotherWindowChangesNothing) {
    startModule();
    auto state = [this] {
        QStringList s;
        for (RibbonTab* tab : module->RibbonTabs()) {
            s << tab->group.Image();
            for (auto& b : tab->controls) {
                s << b->Image() << b->ScreenTip() << QString::number(b->Visible());
            }
        }
        return s;
    };
    const QStringList before = state();
    module->RibbonBeforeCreate(QStringLiteral("Microsoft.Outlook.Appointment"));
    EXPECT_EQ(state(), before);
}

// The library as the host loads it.
class LoadedAddInTest : public AddInFixture {};

TEST_F(LoadedAddInTest, TheHostLoadsStartsAndUnloadsTheLibrary) {
    start();
    ASSERT_NE(AddInModule, nullptr);
    EXPECT_EQ(HelpFilePath, QFileInfo(QStringLiteral(VANTOREL_ADDIN_PATH)).absolutePath() +
                                QStringLiteral("/Vantorel.chm"));
    ASSERT_EQ(client->ribbonTabs().size(), 2u);
    EXPECT_THROW(client->press(QStringLiteral("Remind me")), std::invalid_argument);  // no window
    client->compose({});
    client->press(QStringLiteral("Remind me"));
    client->quit();
    EXPECT_EQ(AddInModule, nullptr);
    EXPECT_TRUE(client->ribbonTabs().empty());
}
