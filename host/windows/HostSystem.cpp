#include "host/HostSystem.h"

namespace vantorel::host {

void prepareForQt() {
    // Qt finds its plugins beside its DLLs; Windows needs no runtime folder.
}

QString missingDisplayText() {
    // A Windows session always has its desktop.
    return {};
}

}  // namespace vantorel::host
