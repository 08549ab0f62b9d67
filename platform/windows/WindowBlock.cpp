#include "platform/ClientWindow.h"

#include <windows.h>

namespace vantorel::platform {

void setWindowOwner(NativeWindow window, NativeWindow owner) {
    const auto handle = reinterpret_cast<HWND>(window);
    if (handle != nullptr && IsWindow(handle)) {
        // For a top-level window GWLP_HWNDPARENT is its owner.
        SetWindowLongPtrW(handle, GWLP_HWNDPARENT, static_cast<LONG_PTR>(owner));
    }
}

WindowBlock::WindowBlock(NativeWindow window) {
    const auto handle = reinterpret_cast<HWND>(window);
    // EnableWindow answers whether the window was disabled before.
    if (handle != nullptr && IsWindow(handle) && !EnableWindow(handle, FALSE)) {
        window_ = window;
    }
}

WindowBlock::~WindowBlock() {
    const auto handle = reinterpret_cast<HWND>(window_);
    if (handle != nullptr && IsWindow(handle)) {
        EnableWindow(handle, TRUE);
    }
}

}  // namespace vantorel::platform
