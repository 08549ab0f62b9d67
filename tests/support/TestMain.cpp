// The main of every test binary: a QApplication on the offscreen platform, the
// en_US locale, and a private configuration folder so no test touches the user's files
// (nor, on Windows, the user's registry: the hives are files there too), and no sound
// or shell request leaves the process.

#include "tests/support/QuietServices.h"
#include "tests/support/TempHives.h"

#include "platform/TimeZoneSetting.h"
#include "tests/support/TestSystem.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    vantorel::platform::followTimeZoneSetting();
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    QDir().mkpath(home.filePath(QStringLiteral("runtime")));
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", home.filePath(QStringLiteral("runtime")).toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    vantorel::test::installTestHives();
    vantorel::test::installQuietServices();
    QApplication app(argc, argv);
    vantorel::test::matchLinuxTextWidths();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
