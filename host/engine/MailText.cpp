#include "host/engine/MailText.h"

#include <QCryptographicHash>

#include "tools/DateTime.h"
#include "tools/InvisibleMarks.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>

namespace vantorel::engine {

namespace {

// Reply and forward prefixes of the languages the mail client speaks most.
const QLatin1String kPrefixes[] = {
    QLatin1String("RE"), QLatin1String("FW"), QLatin1String("FWD"),  QLatin1String("AW"),
    QLatin1String("WG"), QLatin1String("TR"), QLatin1String("RV"),   QLatin1String("SV"),
    QLatin1String("VS"), QLatin1String("VB"), QLatin1String("ANTW"),
};

const QLatin1String kExchangePrefix("ex:");
const QLatin1String kX500Start("/o=");
const QLatin1String kSmtp("SMTP");
const QLatin1String kExchange("EX");

QString unquoted(QString text) {
    text = text.trimmed();
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"'))) {
        text = text.mid(1, text.size() - 2).trimmed();
    }
    return text;
}

bool isX500(const QString& address) {
    return address.startsWith(kX500Start, Qt::CaseInsensitive);
}

// Characters no address of ours holds: the list syntax's own, and blanks.
bool hasForeignCharacter(const QString& address) {
    static const QString kForeign = QStringLiteral("<>;|,\"()[]\\");
    return std::any_of(address.cbegin(), address.cend(), [](QChar c) {
        return c.isSpace() || c.category() == QChar::Other_Control || kForeign.contains(c);
    });
}

// "local@domain": one "@" with text on both sides, nothing foreign.
bool isSmtpAddress(const QString& address) {
    const qsizetype at = address.indexOf(QLatin1Char('@'));
    return at > 0 && at == address.lastIndexOf(QLatin1Char('@')) && at < address.size() - 1 &&
           !isX500(address) && !hasForeignCharacter(address);
}

// An address-book entry's address: an X.500 text or any other text without foreign
// characters.
bool isExchangeAddress(const QString& address) {
    return !address.isEmpty() && !address.contains(QLatin1Char('<')) &&
           !address.contains(QLatin1Char('>')) && !address.contains(QLatin1Char(';')) &&
           !address.contains(QLatin1Char('|'));
}

}  // namespace

QString conversationTopicOf(const QString& subject) {
    QString topic = subject;
    for (bool stripped = true; stripped;) {
        stripped = false;
        // Marks nobody sees (a right-to-left mark a program writes first) hide no
        // prefix: they go with it.
        qsizetype at = 0;
        while (at < topic.size() && tools::isInvisibleMark(topic.at(at).unicode())) {
            ++at;
        }
        const QStringView rest = QStringView(topic).mid(at);
        for (const QLatin1String& prefix : kPrefixes) {
            const qsizetype n = prefix.size();
            if (rest.size() > n + 1 && rest.startsWith(prefix, Qt::CaseInsensitive) &&
                rest.at(n) == QLatin1Char(':') && rest.at(n + 1) == QLatin1Char(' ')) {
                topic = rest.mid(n + 2).toString();
                stripped = true;
                break;
            }
        }
    }
    return topic;
}

void AddressBook::add(const AddressRecord& entry) {
    const QString key = entry.address.toUpper();
    const auto old = byAddress_.constFind(key);
    if (old != byAddress_.constEnd()) {
        addressByName_.remove(old->name.toUpper());
    }
    byAddress_.insert(key, entry);
    if (!entry.name.isEmpty()) {
        addressByName_.insert(entry.name.toUpper(), key);
    }
}

const AddressRecord* AddressBook::byAddress(const QString& address) const {
    const auto at = byAddress_.constFind(address.toUpper());
    return at == byAddress_.constEnd() ? nullptr : &*at;
}

const AddressRecord* AddressBook::byName(const QString& name) const {
    const auto at = addressByName_.constFind(name.toUpper());
    return at == addressByName_.constEnd() ? nullptr : byAddress(*at);
}

bool resolveRecipient(RecipientRecord& r, const AddressBook& book) {
    if (r.resolved) {
        return true;
    }
    const QString text = r.address.isEmpty() ? r.name : r.address;
    const AddressRecord* known = book.byAddress(text);
    if (!known) {
        known = book.byName(text);
    }
    if (known) {
        r.name = known->name;
        r.address = known->address;
        r.entryType = known->type;
        r.resolved = true;
    } else if (isSmtpAddress(text)) {
        if (r.name.isEmpty()) {
            r.name = text;
        }
        r.address = text;
        r.entryType = kSmtp;
        r.resolved = true;
    }
    return r.resolved;
}

std::vector<RecipientRecord> parseRecipients(const QString& text, int type, AddressBook& book) {
    std::vector<RecipientRecord> result;
    for (const QString& part : text.split(QLatin1Char(';'))) {
        const QString entry = part.trimmed();
        if (entry.isEmpty()) {
            continue;
        }
        RecipientRecord r;
        r.type = type;
        const qsizetype open = entry.lastIndexOf(QLatin1Char('<'));
        if (open >= 0 && entry.endsWith(QLatin1Char('>'))) {
            QString address = entry.mid(open + 1, entry.size() - open - 2).trimmed();
            const QString namePart = entry.left(open).trimmed();
            r.name = unquoted(namePart);
            const bool quotedName = r.name != namePart;
            if ((!quotedName &&
                 (namePart.contains(QLatin1Char('<')) || namePart.contains(QLatin1Char('>')))) ||
                address.contains(QLatin1Char('>'))) {
                // "<<a@x>>" and the like: no entry anybody can write to.
                r.address = entry;
                result.push_back(std::move(r));
                continue;
            }
            const bool exchange = address.startsWith(kExchangePrefix, Qt::CaseInsensitive);
            if (exchange) {
                address = address.mid(kExchangePrefix.size()).trimmed();
            }
            if ((exchange || isX500(address)) && !isExchangeAddress(address)) {
                // "Bob <ex:>": kept as typed, so the address book never matches it.
                r.address = entry.mid(open + 1, entry.size() - open - 2).trimmed();
            } else if (exchange || isX500(address)) {
                if (r.name.isEmpty()) {
                    const AddressRecord* known = book.byAddress(address);
                    r.name = known ? known->name : address;
                } else {
                    book.add({address, r.name, kExchange});
                }
                r.address = address;
                r.entryType = kExchange;
                r.resolved = true;
            } else {
                r.address = address;
                if (r.name.isEmpty()) {
                    r.name = address;
                }
                resolveRecipient(r, book);
            }
        } else {
            r.name = unquoted(entry);
            resolveRecipient(r, book);
        }
        result.push_back(std::move(r));
    }
    return result;
}

QString recipientNames(const std::vector<RecipientRecord>& recipients, int type) {
    QStringList names;
    for (const RecipientRecord& r : recipients) {
        if (r.type == type) {
            names << r.name;
        }
    }
    return names.join(QLatin1String("; "));
}

QString forwardBody(const ItemRecord& m) {
    const QLatin1String crlf("\r\n");
    QString from;
    if (m.senderName.isEmpty() || m.senderName.compare(m.senderAddress, Qt::CaseInsensitive) == 0) {
        from = m.senderAddress;
    } else if (m.senderAddress.isEmpty()) {
        from = m.senderName;
    } else {
        from = QStringLiteral("%1 <%2>").arg(m.senderName, m.senderAddress);
    }
    const double when = m.sentOn != outlook::kNoDate ? m.sentOn : m.receivedTime;

    QString text = crlf + crlf + QStringLiteral("-----Original Message-----") + crlf;
    text += QStringLiteral("From: ") + from + crlf;
    if (when != outlook::kNoDate) {
        const QDateTime moment = tools::fromDateTime(when);
        const QLocale locale;
        text += QStringLiteral("Sent: ") + locale.toString(moment.date(), QLocale::LongFormat) +
                QLatin1Char(' ') + locale.toString(moment.time(), QLocale::ShortFormat) + crlf;
    }
    text += QStringLiteral("To: ") + recipientNames(m.recipients, outlook::olTo) + crlf;
    const QString cc = recipientNames(m.recipients, outlook::olCC);
    if (!cc.isEmpty()) {
        text += QStringLiteral("Cc: ") + cc + crlf;
    }
    text += QStringLiteral("Subject: ") + m.subject + crlf + crlf;
    return text + m.body;
}

QString newStoreUid(const QString& storeName) {
    // Derived from the store's name (unique within a mailbox), so the same script
    // run twice gives the same EntryIDs and transcripts can be compared.
    return QString::fromLatin1(
               QCryptographicHash::hash(storeName.toUtf8(), QCryptographicHash::Md5).toHex())
        .toUpper();
}

namespace {
QString entryId(const QString& storeUid, QLatin1String kind, qint64 id) {
    return (QLatin1String("00000000") + storeUid + kind +
            QStringLiteral("%1").arg(id, 16, 16, QLatin1Char('0')))
        .toUpper();
}
}  // namespace

QString folderEntryId(const QString& storeUid, qint64 id) {
    return entryId(storeUid, QLatin1String("01000000"), id);
}

QString itemEntryId(const QString& storeUid, qint64 id) {
    return entryId(storeUid, QLatin1String("07000000"), id);
}

}  // namespace vantorel::engine
