#pragma once

// Loads the add-in and creates its add-in object, as the mail client loads a
// registered add-in: from the library's entry point (every system), or (Windows) as
// the real client does, through COM.

#include "addin/AddInHost.h"

#include <QLibrary>

#include <memory>

namespace vantorel::engine {
class Engine;
}

namespace vantorel::host {

class LoadedAddIn {
public:
    virtual ~LoadedAddIn() = default;
    virtual IAddIn& addIn() = 0;
    // The library's folder, ending in "/".
    virtual QString folder() const = 0;
};

// The add-in library, reached through its entry point vantorel_create_addin().
class LibraryAddIn final : public LoadedAddIn {
public:
    // Loads PATH (a file, or the add-in's base name, searched beside the host).
    // Throws std::runtime_error naming the file when it cannot be loaded.
    explicit LibraryAddIn(const QString& path);
    ~LibraryAddIn() override;

    IAddIn& addIn() override { return *addIn_; }
    QString folder() const override { return folder_; }

private:
    QLibrary library_;
    std::unique_ptr<IAddIn> addIn_;
    QString folder_;
};

// How the host loads the add-in: through its library's entry point, or as the mail
// client does on Windows, through the add-in's COM registration (--com).
enum class AddInLoading { Library, Com };
void setAddInLoading(AddInLoading loading);
AddInLoading addInLoading();

// The add-in as the current way of loading loads it, for the mailbox of ENGINE; PATH
// as for LibraryAddIn (empty: the default), while the COM way finds the add-in through
// its registration. Throws std::runtime_error when it cannot be loaded.
std::unique_ptr<LoadedAddIn> loadAddIn(const QString& path, engine::Engine& engine);

// The add-in registered with the mail client, loaded and created through COM, ENGINE
// handed to it as the client's object model (host/windows); elsewhere it throws: COM
// exists on Windows only.
std::unique_ptr<LoadedAddIn> loadComAddIn(engine::Engine& engine);

// A breach of the COM contract by the add-in (an object of the client it did not
// release, a subscription it left): reported on standard error, and the host's exit
// status says so.
void reportContractFault(const QString& text);
bool contractBroken();

// Where the host finds the add-in: $VANTOREL_ADDIN, else the add-in library beside the
// host (libvantorel.so, vantorel.dll).
QString defaultAddInPath();

}  // namespace vantorel::host
