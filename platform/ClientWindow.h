#pragma once

// The mail client's window the add-in's dialogs belong to. Inside the client on
// Windows the add-in names it (the client's active Explorer or Inspector window);
// elsewhere there is none, and dialogs are windows of their own.

#include <QtGlobal>

#include <functional>

namespace vantorel::platform {

// A native window handle (HWND on Windows); 0 for none.
using NativeWindow = quintptr;

// The client's window now; 0 when none is known.
NativeWindow clientWindow();
// Where clientWindow() asks; an empty FIND restores "none".
void installClientWindow(std::function<NativeWindow()> find);

// Makes OWNER the owner of WINDOW (Windows: its owner window stays behind it and
// takes it along when minimised); nothing elsewhere.
void setWindowOwner(NativeWindow window, NativeWindow owner);

// While it lives, WINDOW takes no input, as the owner of a modal dialog takes none
// (Windows); it takes input again afterwards if it did before. Nothing elsewhere.
class WindowBlock {
public:
    explicit WindowBlock(NativeWindow window);
    ~WindowBlock();
    WindowBlock(const WindowBlock&) = delete;
    WindowBlock& operator=(const WindowBlock&) = delete;

private:
    NativeWindow window_ = 0;
};

}  // namespace vantorel::platform
