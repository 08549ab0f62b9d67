#pragma once

// The add-in running in the real host framework on a temporary mailbox and hives,
// with a manual clock, virtual timers and recorded message boxes.

#include "addin/AddInModule.h"
#include "host/MailClient.h"
#include "host/scenario/VirtualScheduler.h"
#include "platform/Clock.h"
#include "platform/Timer.h"
#include "reminders/PendingSends.h"
#include "settings/AddInRegistry.h"
#include "tests/support/RecordingPrompts.h"
#include "tests/support/TempHives.h"
#include "tools/Globals.h"

#include <gtest/gtest.h>

namespace vantorel::test {

class AddInFixture : public ::testing::Test {
protected:
    AddInFixture()
        : clock(
              std::make_shared<platform::ManualClock>(QDateTime(QDate(2026, 12, 10), QTime(9, 0)))),
          scheduler(std::make_shared<host::VirtualScheduler>(clock)) {
        platform::installClock(clock);
        platform::installTimerService(scheduler);
        // The quick start wizard greets a new user; these tests are no new users.
        setReg(QStringLiteral("General"), QStringLiteral("StartWizardOnStartup"), 0);
        client = std::make_unique<host::MailClient>(hives.folder());
        client->onErrorSuppressed = [this](const QString& text) { suppressed.push_back(text); };
    }
    ~AddInFixture() override {
        client.reset();
        platform::installTimerService(nullptr);
        platform::installClock(nullptr);
    }

    void start() { client->start(QStringLiteral(VANTOREL_ADDIN_PATH)); }
    void setReg(const QString& section, const QString& name, quint32 value) {
        hives.user().setValue(QStringLiteral("Software\\Ostrelin\\Vantorel\\") + section, name,
                              platform::RegValue::fromDWord(value));
    }

    TempHives hives;
    PromptsScope prompts;
    std::shared_ptr<platform::ManualClock> clock;
    std::shared_ptr<host::VirtualScheduler> scheduler;
    std::unique_ptr<host::MailClient> client;
    std::vector<QString> suppressed;
};

// A module driven by hand, with the host framework's MailClient as its host; the
// process-wide objects it publishes are cleared afterwards.
class ModuleFixture : public AddInFixture {
protected:
    ModuleFixture() { OutlookMajorVersion = 0; }
    ~ModuleFixture() override {
        module.reset();
        delete PendingSends;
        PendingSends = nullptr;
        delete AddInRegistry;
        AddInRegistry = nullptr;
        OutlookApp.reset();
        DisplayScale = 0;
    }
    void startModule() {
        module->Connect(*client);
        module->StartupComplete();
    }

    std::unique_ptr<TAddInModule> module = std::make_unique<TAddInModule>();
};

}  // namespace vantorel::test
