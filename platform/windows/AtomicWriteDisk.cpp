// The temporary file of writeFileAtomically on Windows.

#include "platform/AtomicWriteDisk.h"
#include "platform/AtomicWrite.h"
#include "platform/windows/WinRegistryHive.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <windows.h>

#include <algorithm>

namespace vantorel::platform {

namespace {

const wchar_t* wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

HANDLE handleOf(qintptr handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// WHAT failed, with the system's reason; a full disk says only that.
QString failure(const QString& what, DWORD error) {
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) {
        return diskFullText();
    }
    return QStringLiteral("%1 (%2)").arg(what, windowsErrorText(error));
}

QString randomSuffix() {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString suffix(6, QLatin1Char('x'));
    for (QChar& c : suffix) {
        c = QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
    }
    return suffix;
}

}  // namespace

TempFileBeside::TempFileBeside(const QString& target) : target_(QDir::toNativeSeparators(target)) {
    const DWORD attributes = GetFileAttributesW(wide(target_));
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        throw FileWriteError(target_,
                             failure(QStringLiteral("it may not be changed"), ERROR_ACCESS_DENIED));
    }
    for (int attempt = 0;; ++attempt) {
        temp_ = target_ + QLatin1Char('.') + randomSuffix();
        const HANDLE handle = CreateFileW(wide(temp_), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            handle_ = reinterpret_cast<qintptr>(handle);
            break;
        }
        const DWORD error = GetLastError();
        if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt >= 100) {
            temp_.clear();
            const QString folder = QDir::toNativeSeparators(QFileInfo(target).absolutePath());
            throw FileWriteError(
                target_,
                failure(QStringLiteral("no file can be created in its folder %1").arg(folder),
                        error));
        }
    }
}

TempFileBeside::~TempFileBeside() {
    close();
    if (!replaced_ && !temp_.isEmpty()) {
        DeleteFileW(wide(temp_));
    }
}

void TempFileBeside::close() noexcept {
    if (handle_ != -1) {
        CloseHandle(handleOf(handle_));
        handle_ = -1;
    }
}

qint64 TempFileBeside::write(const char* data, qint64 size) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<qint64>(size, 1 << 30));
    if (!WriteFile(handleOf(handle_), data, chunk, &written, nullptr)) {
        throw FileWriteError(target_, failure(QStringLiteral("writing failed"), GetLastError()));
    }
    if (written == 0) {  // nothing written: no room for it
        throw FileWriteError(target_, diskFullText());
    }
    return written;
}

void TempFileBeside::replaceTarget() {
    if (!FlushFileBuffers(handleOf(handle_))) {
        throw FileWriteError(target_, failure(QStringLiteral("it could not be flushed to the disk"),
                                              GetLastError()));
    }
    const HANDLE handle = handleOf(handle_);
    handle_ = -1;
    if (!CloseHandle(handle)) {
        throw FileWriteError(target_, failure(QStringLiteral("writing failed"), GetLastError()));
    }
    if (!MoveFileExW(wide(temp_), wide(target_),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        throw FileWriteError(
            target_,
            failure(QStringLiteral("the new file could not take its name"), GetLastError()));
    }
    replaced_ = true;
}

}  // namespace vantorel::platform
