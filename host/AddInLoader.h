#pragma once

// Loads the add-in library and creates its add-in object, as the mail client loads
// a registered add-in.

#include "addin/AddInHost.h"

#include <QLibrary>

#include <memory>

namespace vantorel::host {

class LoadedAddIn {
public:
    // Loads PATH (a file, or the add-in's base name, searched beside the host).
    // Throws std::runtime_error naming the file when it cannot be loaded.
    explicit LoadedAddIn(const QString& path);
    ~LoadedAddIn();

    IAddIn& addIn() { return *addIn_; }
    // The library's folder, ending in "/".
    QString folder() const { return folder_; }
    QString fileName() const { return library_.fileName(); }

private:
    QLibrary library_;
    std::unique_ptr<IAddIn> addIn_;
    QString folder_;
};

// Where the host finds the add-in: $VANTOREL_ADDIN, else the add-in library beside the
// host (libvantorel.so, vantorel.dll).
QString defaultAddInPath();

}  // namespace vantorel::host
