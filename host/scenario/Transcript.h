#pragma once

// How the transcript prints the mailbox: items, folders, the ribbon.

#include "addin/Ribbon.h"
#include "outlook/Outlook.h"

#include <QTextStream>

#include <vector>

namespace vantorel::host {

// "yyyy-MM-dd HH:mm:ss", or "none" for the mail client's empty date.
QString formatDate(outlook::DateTime value);

// One item as "task N", "mail N" or "meeting N" and its indented fields.
void printItem(QTextStream& out, int number, const outlook::ItemPtr& item);
// Every item of the folder in folder order.
void printFolder(QTextStream& out, const outlook::MAPIFolderPtr& folder);
// The add-in's groups and buttons, one line each.
void printRibbon(QTextStream& out, const std::vector<RibbonTab*>& tabs);

}  // namespace vantorel::host
