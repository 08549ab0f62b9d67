// The ScreenTip of "Remind me" in an open message window follows the default settings
// as they change, whoever changes them, through the real host framework, mailbox,
// settings store and default settings dialog.

#include "tests/addin/AddInFixture.h"

#include "forms/DefaultSettingsUnit.h"
#include "forms/ReminderOptionsControls.h"
#include "host/engine/Engine.h"
#include "platform/HiveChanges.h"
#include "platform/Hives.h"
#include "tests/support/ScriptedWindows.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>

#include <functional>

using namespace vantorel;

namespace {

const QString kTaskKey = QStringLiteral("Software\\Ostrelin\\Vantorel\\Task");

// What a change may use: the mail client, the current user's hive beneath the add-in
// and the person in the next dialog.
struct Surroundings {
    host::MailClient& client;
    platform::RegistryHive& user;
    test::ScriptedWindows& windows;
};

void type(QComboBox* box, const QString& text) {
    box->setFocus();
    box->setEditText(text);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(box, &out);
}

class RemindMeTip : public test::AddInFixture {
protected:
    RemindMeTip() {
        // Friday 11 December 2026, 09:00; reminders tomorrow at the same hour.
        clock->set(QDateTime(QDate(2026, 12, 11), QTime(9, 0)));
        start();
    }

    void compose() {
        engine::ComposeFields fields;
        fields.to = QStringLiteral("Ann Lee <ann@example.com>");
        fields.subject = QStringLiteral("Offer");
        client->compose(fields);
    }

    QString tip() {
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

struct ChangeRow {
    const char* name;
    std::function<void(Surroundings&)> change;
    const char* tip;
};

class RemindMeTipChange : public RemindMeTip, public ::testing::WithParamInterface<ChangeRow> {};

TEST_P(RemindMeTipChange, AnOpenMessageWindowsTipTellsTheNewDefaults) {
    compose();
    ASSERT_EQ(tip(), QStringLiteral("Send and remind me tomorrow at 09:00"));
    Surroundings around{*client, hives.user(), *windows.windows};
    GetParam().change(around);
    EXPECT_EQ(tip(), QString::fromUtf8(GetParam().tip));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, RemindMeTipChange,
    ::testing::Values(ChangeRow{"DefaultSettingsDialog",
                                [](Surroundings& s) {
                                    s.windows.person = [](QDialog& d) {
                                        TReminderOptionsControls& c =
                                            *static_cast<TDefaultSettings&>(d).controls;
                                        type(c.comRemindMe, QStringLiteral("3 days"));
                                        type(c.comRemindMeTime, QStringLiteral("14:30"));
                                        static_cast<TDefaultSettings&>(d).btnOK->click();
                                    };
                                    s.client.press(QStringLiteral("Default settings"));
                                },
                                "Send and remind me in 3 days at 14:30"},
                      ChangeRow{"DefaultSettingsDialogCancelled",
                                [](Surroundings& s) {
                                    s.windows.person = [](QDialog& d) {
                                        TReminderOptionsControls& c =
                                            *static_cast<TDefaultSettings&>(d).controls;
                                        type(c.comRemindMe, QStringLiteral("3 days"));
                                        static_cast<TDefaultSettings&>(d).btnCancel->click();
                                    };
                                    s.client.press(QStringLiteral("Default settings"));
                                },
                                "Send and remind me tomorrow at 09:00"},
                      ChangeRow{"SettingsStore",
                                [](Surroundings&) { AddInRegistry->SetTaskRemindMe(false, false); },
                                "Send and create a task starting today"},
                      ChangeRow{
                          "SettingsStoreMovesOffTheWeekend",
                          [](Surroundings&) { AddInRegistry->SetTaskMoveOffWeekend(true, false); },
                          "Send and remind me tomorrow at 09:00, moved off the weekend to Monday"},
                      // As the scenario runner's reg commands write the hive.
                      ChangeRow{"AnotherWriterThatTellsOfItsChange",
                                [](Surroundings& s) {
                                    s.user.setValue(kTaskKey, QStringLiteral("RemindMe"),
                                                    platform::RegValue::fromDWord(0));
                                    platform::hiveChanged(platform::currentUserHive(), kTaskKey);
                                },
                                "Send and create a task starting today"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RemindMeTip, BeforeAnyMessageWindowTheTipWaitsForTheFirstOne) {
    AddInRegistry->SetTaskRemindMe(false, false);
    EXPECT_EQ(tip(), QString());
    compose();
    EXPECT_EQ(tip(), QStringLiteral("Send and create a task starting today"));
}

}  // namespace
