// The simulated clock's offset lasts from one start to the next until the clock goes
// back to the real time.

#include "host/desktop/TimeMachine.h"
#include "platform/AtomicWrite.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vantorel::test {
namespace {

class SavedOffset : public ::testing::Test {
protected:
    QString path() const { return dir.filePath(QStringLiteral("clock-offset")); }
    void writeRaw(const QByteArray& text) const {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QTemporaryDir dir;
};

TEST_F(SavedOffset, ReadsWhatWasWrittenAndTheRealTimeLeavesNoFile) {
    const host::SavedClockOffset offset(path());
    EXPECT_EQ(offset.read(), 0);
    for (const qint64 ms : {qint64{86'400'000}, qint64{-3'600'000}, qint64{400'000'000'000}}) {
        offset.write(ms);
        EXPECT_EQ(offset.read(), ms);
    }
    offset.write(0);
    EXPECT_FALSE(QFile::exists(path()));
    EXPECT_EQ(offset.read(), 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0)
        << "no temporary file is left";
}

TEST_F(SavedOffset, AnUnreadableFileIsTheRealTime) {
    for (const char* text : {"", "soon\n", "12x\n"}) {
        writeRaw(text);
        EXPECT_EQ(host::SavedClockOffset(path()).read(), 0) << text;
    }
}

TEST_F(SavedOffset, TheNextStartGoesOnInTheSimulatedTimeUntilTheRealTime) {
    {
        host::SystemTimeMachine first(std::make_shared<platform::SystemClock>(), path());
        EXPECT_FALSE(first.shifted());
        first.moveBy(86'400'000);
    }
    auto clock = std::make_shared<platform::SystemClock>();
    host::SystemTimeMachine second(clock, path());
    EXPECT_TRUE(second.shifted());
    EXPECT_EQ(clock->offset(), 86'400'000);
    second.reset();
    host::SystemTimeMachine third(std::make_shared<platform::SystemClock>(), path());
    EXPECT_FALSE(third.shifted());
}

// A move that cannot be saved is not made: the clock and the saved offset stay as they
// were, whole.
TEST_F(SavedOffset, AFullDiskKeepsTheClockAndTheSavedOffset) {
    auto clock = std::make_shared<platform::SystemClock>();
    host::SystemTimeMachine time(clock, path());
    time.moveBy(86'400'000);
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    file.close();
    {
        const platform::DiskSpaceLimit full(1);
        EXPECT_THROW(time.moveBy(3'600'000), std::runtime_error);
    }
    EXPECT_EQ(clock->offset(), 86'400'000);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), saved);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("clock-offset")});
}

}  // namespace
}  // namespace vantorel::test
