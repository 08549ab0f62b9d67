#include "platform/ClientWindow.h"

namespace vantorel::platform {

namespace {
std::function<NativeWindow()>& finder() {
    static std::function<NativeWindow()> find;
    return find;
}
}  // namespace

NativeWindow clientWindow() {
    const auto& find = finder();
    return find ? find() : 0;
}

void installClientWindow(std::function<NativeWindow()> find) {
    finder() = std::move(find);
}

}  // namespace vantorel::platform
