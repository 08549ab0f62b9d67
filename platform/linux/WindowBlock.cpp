#include "platform/ClientWindow.h"

namespace vantorel::platform {

// Linux has no client window of another program to belong to or to block.
void setWindowOwner(NativeWindow, NativeWindow) {}

WindowBlock::WindowBlock(NativeWindow) {}

WindowBlock::~WindowBlock() = default;

}  // namespace vantorel::platform
