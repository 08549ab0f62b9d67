#pragma once

// The time zone a program is told to run in through TZ. Linux's C library reads a zone
// name as Unix writes it ("Europe/Berlin"). The Windows C runtime reads only its own
// form ("CET-1CEST") and takes any other text for UTC, so there such a name is taken
// out of the environment and the runtime asks the system for the zone; under Wine the
// system's zone is the one TZ names. The host and the tests call this first thing;
// the add-in never does (it lives in the mail client's process).

namespace vantorel::platform {

void followTimeZoneSetting();

}  // namespace vantorel::platform
