#pragma once

// The version of a file, as the About box shows it ("Build 2.0.0.17").
//
// On Windows it is the file's version resource (vantorel.dll has one, see
// addin/vantorel.rc.in): the fixed record, all of it. A file without one has no
// version information.
//
// On Linux the version of the add-in library is its versioned file name: the build
// installs libvantorel.so.2.0.0.17 with the links libvantorel.so.2 and libvantorel.so
// pointing at it. ReadFixedFileVersion follows links to the file itself and reads the
// numbers after ".so." (one to four of them, each 0-65535; missing ones are 0). A file
// whose resolved name carries no such numbers has no version information.

#include <QString>
#include <QtGlobal>

namespace vantorel {

// The leading eleven fields of a fixed file-version record. The version is held as
// two 32-bit halves of two 16-bit numbers each: dwFileVersionMS = major << 16 | minor,
// dwFileVersionLS = release << 16 | build.
struct TFixedFileInfo {
    quint32 dwSignature = 0;
    quint32 dwStrucVersion = 0;
    quint32 dwFileVersionMS = 0;
    quint32 dwFileVersionLS = 0;
    quint32 dwProductVersionMS = 0;
    quint32 dwProductVersionLS = 0;
    quint32 dwFileFlagsMask = 0;
    quint32 dwFileFlags = 0;
    quint32 dwFileOS = 0;
    quint32 dwFileType = 0;
    quint32 dwFileSubtype = 0;
};

// Fills oFileInfo with the fixed file-version record of sFileName (on Linux only the
// file version is known: every other field is 0).
// Throws std::runtime_error naming the file when there is no such file or it has no
// version information; oFileInfo is then left as it was.
void ReadFixedFileVersion(const QString& sFileName, TFixedFileInfo& oFileInfo);

// "major.minor.release.build" of sFileName, each an unsigned decimal number. Throws as
// ReadFixedFileVersion.
QString GetFileVersionString(const QString& sFileName);

}  // namespace vantorel
