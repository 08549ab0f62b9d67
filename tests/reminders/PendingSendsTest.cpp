#include "reminders/PendingSends.h"

#include <gtest/gtest.h>

using namespace vantorel;

namespace {
std::unique_ptr<TSendingMailData> marker(bool custom, const char* task = "") {
    auto d = std::make_unique<TSendingMailData>();
    d->bIsCustom = custom;
    d->sTaskEntryID = QString::fromLatin1(task);
    return d;
}
}  // namespace

TEST(PendingSends, KeysAreFoundWithoutRegardToLetterCase) {
    TPendingSends list;
    list.Add(QStringLiteral("00000000ABCDEF"), marker(true));
    ASSERT_NE(list.Find(QStringLiteral("00000000abcdef")), nullptr);
    EXPECT_TRUE(list.Find(QStringLiteral("00000000abcdef"))->bIsCustom);
    EXPECT_EQ(list.IndexOf(QStringLiteral("00000000AbCdEf")), 0);
    EXPECT_EQ(list.Find(QStringLiteral("00000000ABCDE0")), nullptr);
    EXPECT_EQ(list.IndexOf(QString()), -1);
}

TEST(PendingSends, TheEarliestEntryOfADuplicateKeyWinsUntilItIsRemoved) {
    TPendingSends list;
    list.Add(QStringLiteral("other"), marker(false));
    list.Add(QStringLiteral("KEY"), marker(false, "first"));
    list.Add(QStringLiteral("key"), marker(true, "second"));
    EXPECT_EQ(list.IndexOf(QStringLiteral("Key")), 1);
    EXPECT_EQ(list.Find(QStringLiteral("Key"))->sTaskEntryID, QStringLiteral("first"));

    list.Delete(0);  // positions move down
    EXPECT_EQ(list.IndexOf(QStringLiteral("key")), 0);
    list.Delete(list.IndexOf(QStringLiteral("key")));
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Find(QStringLiteral("KEY"))->sTaskEntryID, QStringLiteral("second"));
    EXPECT_EQ(list.Key(0), QStringLiteral("key"));

    list.Add(QStringLiteral("KEY"), marker(false, "third"));
    EXPECT_EQ(list.Find(QStringLiteral("key"))->sTaskEntryID, QStringLiteral("second"));
    EXPECT_THROW(list.Delete(5), std::out_of_range);
}

TEST(PendingSends, AMarkerFoundCanBeUpdatedInPlace) {
    TPendingSends list;
    list.Add(QStringLiteral("m1"), marker(false));
    list.Find(QStringLiteral("M1"))->sTaskEntryID = QStringLiteral("T1");
    EXPECT_EQ(list.Data(0).sTaskEntryID, QStringLiteral("T1"));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Find(QStringLiteral("m1")), nullptr);
}
