// The object model over the mail client's own objects: each class of outlook/Outlook.h
// implemented by calls by name on the client's IDispatch objects, its events through
// the client's connection points.
#pragma once

#include "outlook/Outlook.h"

#include <oaidl.h>
#include <windows.h>

namespace vantorel::outlook::com {

// The client's Application, as OnConnection handed it over.
ApplicationPtr comApplication(IDispatch* application);

// One of the client's Inspector objects (a ribbon control's Context in a message
// window); null for a null INSPECTOR.
InspectorPtr comInspector(IDispatch* inspector);

// The native window of the client's window in front (Application.ActiveWindow, through
// its IOleWindow); null when there is none or it cannot tell.
HWND activeWindowHandle(IDispatch* application);

}  // namespace vantorel::outlook::com
