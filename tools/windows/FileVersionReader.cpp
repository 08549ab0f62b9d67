// On Windows the version is the file's version resource: its fixed record
// (VS_FIXEDFILEINFO, the "\" entry), read through the version API.

#include "tools/FileVersionReader.h"

#include <QDir>

#include <windows.h>

#include <cstring>
#include <vector>

namespace vantorel {

std::optional<TFixedFileInfo> readFixedFileInfo(const QString& file) {
    const QString native = QDir::toNativeSeparators(file);
    const auto* name = reinterpret_cast<const wchar_t*>(native.utf16());
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(name, &handle);
    if (size == 0) {
        return std::nullopt;  // no version resource, or no program file at all
    }
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(name, 0, size, data.data())) {
        return std::nullopt;
    }
    void* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", &fixed, &length) || fixed == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    VS_FIXEDFILEINFO record;
    std::memcpy(&record, fixed, sizeof record);
    if (record.dwSignature != VS_FFI_SIGNATURE) {
        return std::nullopt;
    }
    TFixedFileInfo oInfo;
    oInfo.dwSignature = record.dwSignature;
    oInfo.dwStrucVersion = record.dwStrucVersion;
    oInfo.dwFileVersionMS = record.dwFileVersionMS;
    oInfo.dwFileVersionLS = record.dwFileVersionLS;
    oInfo.dwProductVersionMS = record.dwProductVersionMS;
    oInfo.dwProductVersionLS = record.dwProductVersionLS;
    oInfo.dwFileFlagsMask = record.dwFileFlagsMask;
    oInfo.dwFileFlags = record.dwFileFlags;
    oInfo.dwFileOS = record.dwFileOS;
    oInfo.dwFileType = record.dwFileType;
    oInfo.dwFileSubtype = record.dwFileSubtype;
    return oInfo;
}

}  // namespace vantorel
