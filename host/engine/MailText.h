#pragma once

// The texts the mail host derives: conversation topics, recipient lines, forward
// quotations and EntryIDs.

#include "host/engine/Records.h"

#include <QHash>
#include <QString>

#include <vector>

namespace vantorel::engine {

// The subject without its leading reply and forward prefixes ("RE: ", "FW: ",
// "AW: ", "WG: ", "Fwd: ", ... in any letter case, however many), and without the
// invisible marks (tools/InvisibleMarks.h) before each of them.
QString conversationTopicOf(const QString& subject);

// The address-book entries the mailbox knows: Exchange entries by their X.500
// address and by their display name (both without regard to letter case).
class AddressBook {
public:
    void add(const AddressRecord& entry);
    const AddressRecord* byAddress(const QString& address) const;
    const AddressRecord* byName(const QString& name) const;

private:
    QHash<QString, AddressRecord> byAddress_;
    QHash<QString, QString> addressByName_;
};

// The entries of a To, CC or BCC text, separated by ";": "Name <addr>", "addr",
// "Name <ex:/o=org/cn=x>" (an Exchange entry whose address is the X.500 text), a
// bare X.500 address, or a bare name. Exchange entries given with a name are learnt
// by the address book; a bare address or name is looked up in it. An entry that
// is neither an e-mail address nor known to the address book stays unresolved.
std::vector<RecipientRecord> parseRecipients(const QString& text, int type, AddressBook& book);

// Resolves the entry again (the address book may know it by now); true if resolved.
bool resolveRecipient(RecipientRecord& recipient, const AddressBook& book);

// The display names of the recipients of that type, joined by "; ".
QString recipientNames(const std::vector<RecipientRecord>& recipients, int type);

// The body of a forward of the message: blank lines for the new text, then a
// header block (From, Sent, To, Cc, Subject) and the original text.
QString forwardBody(const ItemRecord& original);

// EntryIDs: opaque upper-case hex, unique within a mailbox and never reused.
QString newStoreUid(const QString& storeName);
QString folderEntryId(const QString& storeUid, qint64 id);
QString itemEntryId(const QString& storeUid, qint64 id);

}  // namespace vantorel::engine
