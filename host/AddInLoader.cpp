#include "host/AddInLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <stdexcept>

namespace vantorel::host {

namespace {
AddInLoading loadingNow = AddInLoading::Library;
bool broken = false;
}  // namespace

void reportContractFault(const QString& text) {
    broken = true;
    std::fprintf(stderr, "vantorel-host: %s\n", qUtf8Printable(text));
}

bool contractBroken() {
    return broken;
}

void setAddInLoading(AddInLoading loading) {
    loadingNow = loading;
}

AddInLoading addInLoading() {
    return loadingNow;
}

std::unique_ptr<LoadedAddIn> loadAddIn(const QString& path, engine::Engine& engine) {
    if (loadingNow == AddInLoading::Com) {
        return loadComAddIn(engine);
    }
    return std::make_unique<LibraryAddIn>(path.isEmpty() ? defaultAddInPath() : path);
}

QString defaultAddInPath() {
    const QString fromEnv = qEnvironmentVariable("VANTOREL_ADDIN");
    if (!fromEnv.isEmpty()) {
        return fromEnv;
    }
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral(VANTOREL_ADDIN_FILE_NAME));
}

LibraryAddIn::LibraryAddIn(const QString& path) : library_(path) {
    if (!library_.load()) {
        throw std::runtime_error(QStringLiteral("cannot load the add-in %1: %2")
                                     .arg(path, library_.errorString())
                                     .toStdString());
    }
    using Create = IAddIn* (*)();
    const auto create = reinterpret_cast<Create>(library_.resolve("vantorel_create_addin"));
    if (create == nullptr) {
        throw std::runtime_error(
            QStringLiteral("%1 is not a Vantorel add-in (no vantorel_create_addin)")
                .arg(path)
                .toStdString());
    }
    addIn_.reset(create());
    folder_ = QFileInfo(QFileInfo(path).absoluteFilePath()).absolutePath() + QLatin1Char('/');
}

LibraryAddIn::~LibraryAddIn() {
    addIn_.reset();
    // The library stays mapped: objects it made (ribbon callbacks, Qt metadata) may
    // still be referenced while the process ends.
}

}  // namespace vantorel::host
