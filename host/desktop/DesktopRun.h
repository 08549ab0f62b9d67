#pragma once

// The desktop: the mail client's window with the add-in, a real clock (with the
// Simulate menu's offset), real dialogs, the help pages in the browser and the
// reminder sound.

#include <QString>

namespace vantorel::host {

// Runs the desktop on the data folder DATADIR (it exists and is writable) until the
// person quits; CHOSEN: the folder came from --data, and the hives live there too.
// Needs the QApplication, and returns the status of its event loop.
int runDesktop(const QString& dataDir, bool chosen);

}  // namespace vantorel::host
