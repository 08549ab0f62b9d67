// RecipientNames and RecipientAddresses on any recipient list text, and on lists
// built entry by entry from any names and addresses, which must read back.

#include "fuzz/FuzzInput.h"
#include "reminders/ReminderUnit.h"

#include <QStringList>

using namespace vantorel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::setUp();
    fuzz::FuzzInput in(data, size);
    if ((in.byte() & 1) != 0) {
        // Any text, as a property edited by another program may hold.
        const QString list = in.rest();
        const QString names = RecipientNames(list);
        const QString addresses = RecipientAddresses(list);
        fuzz::check(addresses.count(QLatin1String("; ")) >= list.count(QLatin1Char(';')),
                    "every entry gives an address", list, addresses);
        fuzz::check(names.size() <= list.size() * 2, "names come from the list", list, names);
        return 0;
    }
    // Entries written by RecipientListEntry: NUL-separated name, address pairs.
    QString list;
    QString wantAddresses;
    QStringList wantNames;
    while (!in.empty()) {
        const QString name = in.text();
        const QString address = in.text();
        const QString entry = RecipientListEntry(name, address);
        list += entry;
        const QString safeAddress = entry.section(QLatin1Char('|'), 1).chopped(1);
        wantAddresses += safeAddress + QLatin1String("; ");
    }
    fuzz::check(RecipientAddresses(list) == wantAddresses,
                "the addresses of written entries read back", list, RecipientAddresses(list));
    RecipientNames(list);
    return 0;
}
