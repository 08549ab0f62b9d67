#pragma once

// The sound, web addresses and help of a test program: nothing is played and the
// requests go to standard error, on every system. TestMain installs them, and the
// scopes that install recorders put them back, so no test plays a sound or starts
// the shell (on Windows the system's own would: platform/SystemServices.h).

namespace vantorel::test {

void installQuietServices();

}  // namespace vantorel::test
