#include "platform/Clock.h"
#include "platform/RegionalSettings.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace vantorel::platform;

TEST(Clock, AnInstalledManualClockIsWhatEveryoneReads) {
    auto manual = std::make_shared<ManualClock>(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    installClock(manual);
    EXPECT_EQ(now(), QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    manual->advance(90 * 60 * 1000);
    EXPECT_EQ(now(), QDateTime(QDate(2026, 12, 10), QTime(10, 30)));
    installClock(nullptr);
    EXPECT_GT(now().date().year(), 2000);
}

struct LocaleCase {
    const char* locale;
    const char* dateFormat;
    char timeSeparator;
    char decimalSeparator;
};

class RegionalSettingsTest : public ::testing::TestWithParam<LocaleCase> {
protected:
    void TearDown() override { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
};

TEST_P(RegionalSettingsTest, FollowTheDefaultLocale) {
    QLocale::setDefault(QLocale(QString::fromLatin1(GetParam().locale)));
    const RegionalSettings s = RegionalSettings::current();
    EXPECT_EQ(s.shortDateFormat, QString::fromLatin1(GetParam().dateFormat));
    EXPECT_EQ(s.timeSeparator, QLatin1Char(GetParam().timeSeparator));
    EXPECT_EQ(s.decimalSeparator, QLatin1Char(GetParam().decimalSeparator));
}

INSTANTIATE_TEST_SUITE_P(Locales, RegionalSettingsTest,
                         ::testing::Values(LocaleCase{"en_US", "M/d/yy", ':', '.'},
                                           LocaleCase{"de_DE", "dd.MM.yy", ':', ','},
                                           LocaleCase{"fr_FR", "dd/MM/yyyy", ':', ','},
                                           LocaleCase{"en_GB", "dd/MM/yyyy", ':', '.'}),
                         [](const auto& info) { return std::string(info.param.locale); });

TEST(RegionalSettings, TimeSeparatorComesFromTheTimeFormat) {
    EXPECT_EQ(timeSeparatorOf(QStringLiteral("HH.mm")), QLatin1Char('.'));
    EXPECT_EQ(timeSeparatorOf(QStringLiteral("h:mm AP")), QLatin1Char(':'));
    EXPECT_EQ(timeSeparatorOf(QStringLiteral("mm")), QLatin1Char(':'));
}
