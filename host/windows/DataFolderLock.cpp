// The data folder's lock on Windows: an exclusive byte-range lock (LockFileEx) on one
// byte far past the end of vantorel.lock, so the process id written at its start stays
// readable to the process that finds the folder taken. The system releases the lock
// when the process ends, however it ends.

#include "host/DataFolderLock.h"

#include <QDir>

#include <windows.h>

#include <fcntl.h>
#include <io.h>

namespace vantorel::host {

namespace {

// Far past any process id written at the file's start.
constexpr DWORD kLockOffset = 0x40000000;

QString shown(const QString& folder) {
    return QDir::toNativeSeparators(folder);
}

QString systemError(DWORD error) {
    return qt_error_string(static_cast<int>(error));
}

QString holderOf(HANDLE file) {
    char text[32] = {};
    OVERLAPPED at{};
    DWORD n = 0;
    if (!::ReadFile(file, text, sizeof text - 1, &n, &at) || n == 0) {
        return {};
    }
    bool ok = false;
    const qint64 pid = QByteArray(text, static_cast<qsizetype>(n)).trimmed().toLongLong(&ok);
    return ok && pid > 0 ? QString::number(pid) : QString();
}

// Why the open lock file must not be written, or an empty text: only a regular file
// with no other name (a hard link would carry the id into the file it shares).
QString lockFileProblem(HANDLE file, const QString& path) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file, &info)) {
        return systemError(::GetLastError());
    }
    const QString name = shown(path);
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        return QStringLiteral("its lock file %1 is not a regular file but a link").arg(name);
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        return QStringLiteral("its lock file %1 is not a regular file but a folder").arg(name);
    }
    if (info.nNumberOfLinks != 1) {
        return QStringLiteral("its lock file %1 is a hard link shared with another file").arg(name);
    }
    return {};
}

[[noreturn]] void cannotLock(const QString& folder, const QString& why) {
    throw std::runtime_error(QStringLiteral("the data folder %1 cannot be locked: %2")
                                 .arg(shown(folder), why)
                                 .toStdString());
}

}  // namespace

DataFolderLock::DataFolderLock(const QString& folder) : folder_(QDir(folder).absolutePath()) {
    const QString path = QDir(folder_).filePath(QLatin1String(kFileName));
    // Never through a link: the link itself is opened, and refused below.
    HANDLE file = ::CreateFileW(
        reinterpret_cast<const wchar_t*>(shown(path).utf16()), GENERIC_READ | GENERIC_WRITE,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        cannotLock(folder_, systemError(::GetLastError()));
    }
    if (const QString problem = lockFileProblem(file, path); !problem.isEmpty()) {
        ::CloseHandle(file);
        cannotLock(folder_, problem);
    }
    OVERLAPPED at{};
    at.Offset = kLockOffset;
    if (!::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        const DWORD error = ::GetLastError();
        const QString holder = holderOf(file);
        ::CloseHandle(file);
        if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) {
            throw DataFolderInUse(
                QStringLiteral("the data folder %1 is in use by another vantorel-host%2")
                    .arg(shown(folder_), holder.isEmpty()
                                             ? QString()
                                             : QStringLiteral(" (process %1)").arg(holder)));
        }
        cannotLock(folder_, systemError(error));
    }
    // Without the id the lock holds all the same; a second process then names no process.
    const QByteArray pid = QByteArray::number(static_cast<qint64>(::GetCurrentProcessId())) + '\n';
    DWORD written = 0;
    OVERLAPPED start{};
    if (::WriteFile(file, pid.constData(), static_cast<DWORD>(pid.size()), &written, &start)) {
        LARGE_INTEGER end{};
        end.QuadPart = pid.size();
        ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
        ::SetEndOfFile(file);
    }
    // The C runtime's descriptor owns the handle from here on.
    fd_ = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDWR);
    if (fd_ < 0) {
        ::CloseHandle(file);
        cannotLock(folder_, QStringLiteral("no file descriptor is left"));
    }
}

DataFolderLock::~DataFolderLock() {
    if (fd_ >= 0) {
        ::_close(fd_);
    }
}

}  // namespace vantorel::host
