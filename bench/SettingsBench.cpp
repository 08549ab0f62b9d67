// How fast the settings store answers: every getter reads the hive file's state anew.

#include "platform/RegFileHive.h"
#include "settings/AddInRegistry.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vantorel;

namespace {

struct Hives {
    QTemporaryDir dir;
    platform::RegFileHive user{dir.filePath(QStringLiteral("u.reg")),
                               QStringLiteral("HKEY_CURRENT_USER")};
    platform::RegFileHive machine{dir.filePath(QStringLiteral("m.reg")),
                                  QStringLiteral("HKEY_LOCAL_MACHINE")};
};

void BM_GetterOnStoredValue(benchmark::State& state) {
    Hives h;
    TAddInRegistry store(h.user, h.machine);
    store.SetTaskRemindMeStart(QStringLiteral("d2"), true);
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.GetTaskRemindMeStart(true));
    }
}
BENCHMARK(BM_GetterOnStoredValue);

void BM_Setter(benchmark::State& state) {
    Hives h;
    TAddInRegistry store(h.user, h.machine);
    int n = 0;
    for (auto _ : state) {
        store.SetTaskPriority(n++ % 3, true);
    }
}
BENCHMARK(BM_Setter);

}  // namespace

BENCHMARK_MAIN();
