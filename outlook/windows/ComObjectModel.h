// The object model over the mail client's own objects: each class of outlook/Outlook.h
// implemented by calls by name on the client's IDispatch objects, its events through
// the client's connection points.
#pragma once

#include "outlook/Outlook.h"

#include <oaidl.h>

namespace vantorel::outlook::com {

// The client's Application, as OnConnection handed it over.
ApplicationPtr comApplication(IDispatch* application);

}  // namespace vantorel::outlook::com
