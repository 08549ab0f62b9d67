#include "platform/TimeZoneSetting.h"

#include <QByteArray>
#include <QtGlobal>

#include <ctime>

namespace vantorel::platform {

void followTimeZoneSetting() {
    // A zone as Unix names it ("Europe/Berlin", "America/New_York"); the runtime's own
    // form never has a "/".
    if (qgetenv("TZ").contains('/')) {
        qunsetenv("TZ");
        _tzset();
    }
}

}  // namespace vantorel::platform
