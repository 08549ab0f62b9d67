// Start-up through COM, as the mail client starts the add-in on Windows: the add-in
// found through its registration, created through its class factory, connected, its
// main window's ribbon taken over COM, and its start-up completed, on a mailbox of
// 10 000 tracking tasks. The client disables an add-in whose start-up takes more than
// a second; the budget is a quarter of that. Prints the median of several runs beside
// the budget; exit status 1 when it is over. Needs the add-in registered (regsvr32).

#include "addin/AddInModule.h"
#include "bench/BenchHost.h"
#include "forms/ReminderWindowUnit.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <vector>

using namespace vantorel;

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
        std::sort(times.begin(), times.end());
        const double median = times[times.size() / 2];
        std::printf("%-40s %-36s %10.1f %10.1f %7.2f%s\n", "start-up through COM",
                    "tasks=10000 (ms, under Wine)", median, kBudgetMs, median / kBudgetMs,
                    median > kBudgetMs ? "  over budget" : "");
        return median > kBudgetMs ? 1 : 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "com_startup_bench: %s\n", e.what());
        return 1;
    }
}
