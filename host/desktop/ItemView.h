#pragma once

// What the reading pane and an item's own window show of an item: its header fields,
// the user properties it carries (the add-in keeps its tracking data in a task's user
// properties), and its body.

#include "outlook/Outlook.h"

#include <QString>

namespace vantorel::host {

// A date of the object model as the item list and the reading pane show it; empty for
// kNoDate.
QString shortDate(outlook::DateTime value);
// The item as HTML.
QString itemHtml(const outlook::ItemPtr& item);

}  // namespace vantorel::host
