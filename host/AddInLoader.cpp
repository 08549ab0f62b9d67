#include "host/AddInLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <stdexcept>

namespace vantorel::host {

QString defaultAddInPath() {
    const QString fromEnv = qEnvironmentVariable("VANTOREL_ADDIN");
    if (!fromEnv.isEmpty()) {
        return fromEnv;
    }
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral(VANTOREL_ADDIN_FILE_NAME));
}

LoadedAddIn::LoadedAddIn(const QString& path) : library_(path) {
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

LoadedAddIn::~LoadedAddIn() {
    addIn_.reset();
    // The library stays mapped: objects it made (ribbon callbacks, Qt metadata) may
    // still be referenced while the process ends.
}

}  // namespace vantorel::host
