// Start-up through COM, as the mail client starts the add-in on Windows: the add-in
// found through its registration, created through its class factory, connected, its
// main window's ribbon taken over COM, and its start-up completed, on a mailbox of
// 10 000 tracking tasks, its settings in the registry as inside the client (a scratch
// key of the user's, removed afterwards). The client disables an add-in whose start-up
// takes more than a second; the budget is a quarter of that. Prints the median of
// several runs beside the budget; exit status 1 when it is over. Needs the add-in
// registered (regsvr32).

#include "addin/AddInModule.h"
#include "bench/BenchHost.h"
#include "forms/ReminderWindowUnit.h"
#include "platform/Hives.h"
#include "platform/windows/WinRegistryHive.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <vector>

#include <windows.h>

using namespace vantorel;

namespace {

// The settings in the user's registry below a key of the benchmark's own.
class RegistryHives {
public:
    RegistryHives() {
        clear();
        platform::installHives(user_, machine_);
        user_->setValue(QStringLiteral("Software\\Ostrelin\\Vantorel\\General"),
                        QStringLiteral("StartWizardOnStartup"), platform::RegValue::fromDWord(0));
    }
    ~RegistryHives() { clear(); }

private:
    static QString scratch() {
        return QStringLiteral("VantorelBench-%1").arg(GetCurrentProcessId());
    }
    static void clear() {
        platform::WinRegistryHive(platform::WinRegistryHive::Root::CurrentUser, kParent)
            .deleteKey(scratch());
    }
    inline static const QString kParent = QStringLiteral("Software\\Ostrelin");
    std::shared_ptr<platform::WinRegistryHive> user_ = std::make_shared<platform::WinRegistryHive>(
        platform::WinRegistryHive::Root::CurrentUser,
        kParent + QStringLiteral("\\") + scratch() + QStringLiteral("\\HKEY_CURRENT_USER"));
    std::shared_ptr<platform::WinRegistryHive> machine_ =
        std::make_shared<platform::WinRegistryHive>(
            platform::WinRegistryHive::Root::CurrentUser,
            kParent + QStringLiteral("\\") + scratch() + QStringLiteral("\\HKEY_LOCAL_MACHINE"));
};

}  // namespace

int main(int argc, char** argv) {
    bench::prepareProcess();
    QApplication app(argc, argv);
    host::setAddInLoading(host::AddInLoading::Com);
    constexpr int kTasks = 10000;
    constexpr double kBudgetMs = 250.0;
    bool ok = false;
    const int repetitions = qEnvironmentVariableIntValue("VANTOREL_BENCH_REPETITIONS", &ok);
    const int runs = ok && repetitions > 0 ? repetitions : 7;
    try {
        bench::MailboxShape shape;
        shape.trackingTasks = kTasks;
        bench::BenchHost host(shape);
        const RegistryHives registry;
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer timer;
            timer.start();
            host.start();
            times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            if (ReminderWindow == nullptr || AddInModule == nullptr) {
                std::fprintf(stderr, "com_startup_bench: the add-in did not start\n");
                return 1;
            }
            host.client().quit();
        }
        // The first start loads the DLL and its parts, as the client's one start does;
        // the later ones show what a start costs once they are in memory.
        const double first = times.front();
        std::sort(times.begin(), times.end());
        const double median = times[times.size() / 2];
        const auto row = [&](const char* what, double ms) {
            std::printf("%-40s %-36s %10.1f %10.1f %7.2f%s\n", what, "tasks=10000 (ms, under Wine)",
                        ms, kBudgetMs, ms / kBudgetMs, ms > kBudgetMs ? "  over budget" : "");
        };
        row("start-up through COM, first", first);
        row("start-up through COM, median", median);
        return std::max(first, median) > kBudgetMs ? 1 : 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "com_startup_bench: %s\n", e.what());
        return 1;
    }
}
