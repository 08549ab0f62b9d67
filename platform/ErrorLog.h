#pragma once

// Where errors go that the add-in suppressed (kept from the user): Qt's warning
// channel (the debugger's output on Windows) unless a log is installed. The stand-in
// mail client installs one that puts them into its transcript.

#include <QString>

#include <functional>

namespace vantorel::platform {

void logSuppressedError(const QString& text);
// An empty LOG restores the default.
void installErrorLog(std::function<void(const QString&)> log);

}  // namespace vantorel::platform
