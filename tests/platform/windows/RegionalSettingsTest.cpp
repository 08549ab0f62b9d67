// On Windows the regional settings are the user's own: Qt's system locale reads them
// with GetLocaleInfo (read once, when the process first asks), so RegionalSettings
// needs nothing of its own there. Checked against the system's answer for the
// current user.

#include "platform/RegionalSettings.h"

#include <QLocale>

#include <windows.h>

#include <gtest/gtest.h>

#include <iterator>

using vantorel::platform::RegionalSettings;

namespace {

QString userLocaleInfo(LCTYPE type) {
    wchar_t buffer[LOCALE_NAME_MAX_LENGTH * 4] = {};
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer,
                                       static_cast<int>(std::size(buffer)));
    EXPECT_GT(length, 0) << "GetLocaleInfoEx " << type;
    return length > 0 ? QString::fromWCharArray(buffer, length - 1) : QString();
}

// The add-in never sets a default locale of its own: the system's is the default.
class SystemDefaultLocale : public ::testing::Test {
protected:
    SystemDefaultLocale() : before_(QLocale()) { QLocale::setDefault(QLocale::system()); }
    ~SystemDefaultLocale() override { QLocale::setDefault(before_); }

private:
    QLocale before_;
};

}  // namespace

TEST_F(SystemDefaultLocale, SeparatorsAndDesignatorsAreTheUsersSettings) {
    const RegionalSettings s = RegionalSettings::current();
    EXPECT_EQ(QString(s.decimalSeparator).toStdString(),
              userLocaleInfo(LOCALE_SDECIMAL).toStdString());
    EXPECT_EQ(s.amDesignator.toStdString(), userLocaleInfo(LOCALE_S1159).toStdString());
    EXPECT_EQ(s.pmDesignator.toStdString(), userLocaleInfo(LOCALE_S2359).toStdString());
}
