#include "platform/TimeZoneSetting.h"

namespace vantorel::platform {

void followTimeZoneSetting() {
    // The C library reads TZ as it stands.
}

}  // namespace vantorel::platform
