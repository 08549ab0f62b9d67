#pragma once

// What a file that is no regular file is, in words for a message: "a folder",
// "a named pipe", "a device", "a socket", "a special file".

#include <QString>

#include <sys/types.h>

namespace vantorel::platform {

QString fileKindText(mode_t mode);

}  // namespace vantorel::platform
