#pragma once

// What the host program does its own way on each system (host/linux/, host/windows/).

#include <QString>

namespace vantorel::host {

// Readies the process for Qt before the application object exists.
void prepareForQt();

// Empty when the desktop has a display to open its window on, else what to tell the
// person who started it.
QString missingDisplayText();

}  // namespace vantorel::host
