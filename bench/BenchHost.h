#pragma once

// The mail client with the add-in, as the benchmarks run it: the real engine on a
// mailbox in a temporary data folder, the real settings store on temporary hives,
// the real add-in and its forms on the offscreen platform. The clock stands at
// benchNow() and timers run only when a benchmark calls their handlers, so every
// figure is one pass of the code measured and nothing else.

#include "bench/BenchMailbox.h"
#include "host/MailClient.h"
#include "host/scenario/VirtualScheduler.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/RegFileHive.h"
#include "platform/Sound.h"

#include <QTemporaryDir>

#include <memory>

namespace vantorel::bench {

// Message boxes answered with their first button; the sound counted, not played.
class QuietPrompts : public platform::Prompts {
public:
    platform::MessageReply show(const platform::MessageRequest& request) override;
    int shown = 0;
};

class CountingSound : public platform::SoundPlayer {
public:
    void playWave(const QString&) override { ++played; }
    int played = 0;
};

class BenchHost {
public:
    // A data folder holding a mailbox of that shape, hives in which the quick start
    // wizard is switched off, and the mail client over them (not started).
    explicit BenchHost(const MailboxShape& shape);
    // The same over the mailbox already in DATADIR.
    explicit BenchHost(const QString& dataDir);
    ~BenchHost();

    host::MailClient& client() { return *client_; }
    engine::Engine& engine() { return client_->engine(); }
    // Starts the add-in; the reminder sound lies in the program's folder.
    void start();
    int items() const { return items_; }
    const QString& dataDir() const { return dataDir_; }

    std::shared_ptr<platform::ManualClock> clock;
    std::shared_ptr<host::VirtualScheduler> scheduler;
    std::shared_ptr<QuietPrompts> prompts;
    std::shared_ptr<CountingSound> sound;

private:
    void install();

    QTemporaryDir dir_;
    QString dataDir_;
    std::shared_ptr<platform::RegFileHive> user_;
    std::shared_ptr<platform::RegFileHive> machine_;
    int items_ = 0;
    std::unique_ptr<host::MailClient> client_;
};

// The process-wide setting every benchmark program needs: the offscreen platform,
// the en_US locale and private configuration folders. Call first in main().
void prepareProcess();

}  // namespace vantorel::bench
