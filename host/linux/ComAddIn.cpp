#include "host/AddInLoader.h"

#include <stdexcept>

namespace vantorel::host {

std::unique_ptr<LoadedAddIn> loadComAddIn(engine::Engine& /*engine*/) {
    throw std::runtime_error("the mail client loads add-ins through COM on Windows only");
}

}  // namespace vantorel::host
