#pragma once

// The engine's object model as the mail client offers it on Windows: IDispatch
// objects over the outlook:: objects, called late-bound (GetIDsOfNames, then Invoke
// with the arguments in reverse order), with the client's connection points for its
// events. The objects are as strict as the client's: wrong argument counts, types
// that cannot be coerced, unknown names and failing calls give the client's HRESULTs,
// and an error of the engine arrives as DISP_E_EXCEPTION carrying its text.
//
// Everything runs on the user-interface thread, as the engine does.

#include "outlook/Outlook.h"
#include "outlook/windows/ComPtr.h"

#include <oaidl.h>
#include <windows.h>

#include <functional>

namespace vantorel::engine {
class Engine;
}

namespace vantorel::host::com {

// What the object model does not tell about the host's windows, and the host knows.
struct HostWindows {
    // The number of open inspectors (Inspectors.Count). Without it Inspectors counts
    // the active inspector only.
    std::function<int()> inspectorCount;
    // Subscribes to the closing of inspectors. Without it Inspector raises no Close.
    std::function<outlook::Connection(std::function<void(const outlook::InspectorPtr&)>)>
        onInspectorClose;
    // The native windows behind the main window and an inspector (IOleWindow). Without
    // them, or null, the objects have no window to give.
    std::function<HWND()> mainWindow;
    std::function<HWND(const outlook::InspectorPtr&)> inspectorWindow;
};

// The engine's own windows: its open inspectors and their closing. ENGINE must outlive
// the server's objects.
HostWindows windowsOf(engine::Engine& engine);

// The Application object the add-in is handed. The same engine Application gives the
// same object while it lives.
outlook::com::ComPtr<IDispatch> makeApplicationServer(outlook::ApplicationPtr app,
                                                      HostWindows windows = {});

// The window object a ribbon callback's IRibbonControl.Context names: the Inspector
// for WINDOW as APPLICATION (a server makeApplicationServer made) gives it, the same
// object as its ActiveInspector and Inspectors give, or its Explorer for a null WINDOW;
// null for any other APPLICATION.
outlook::com::ComPtr<IDispatch> windowObject(IDispatch* application,
                                             const outlook::InspectorPtr& window);

// Objects of this server alive now (every IDispatch and connection point handed out
// and not yet released): zero once the add-in has released everything.
int liveServerObjects();
// Sinks advised and not yet unadvised, over every connection point.
int activeAdvises();

}  // namespace vantorel::host::com
