#pragma once

// The messages being sent through the add-in's buttons, keyed by the message's
// EntryID as read just before the send.

#include <QHash>
#include <QString>

#include <memory>
#include <vector>

namespace vantorel {

// The marker of one message sent with "Remind me" or "Custom".
struct TSendingMailData {
    bool bIsCustom = false;
    QString sTaskEntryID;  // the tracking task's EntryID, once it exists
};

// An unsorted list of (key, marker) pairs that owns its markers. Lookup goes through
// a hash of the keys, compared without regard to letter case; a key may occur more
// than once, and a lookup yields the earliest entry with it. Removal is by position.
class TPendingSends {
public:
    // Appends an entry; returns its position.
    int Add(const QString& key, std::unique_ptr<TSendingMailData> data);
    // Position of the earliest entry with KEY, or -1.
    int IndexOf(const QString& key) const;
    // The earliest entry's marker with KEY, or null.
    TSendingMailData* Find(const QString& key) const;
    // Removes the entry at INDEX and releases its marker.
    void Delete(int index);
    void Clear();

    int Count() const { return static_cast<int>(entries_.size()); }
    const QString& Key(int index) const { return entries_.at(index).key; }
    TSendingMailData& Data(int index) const { return *entries_.at(index).data; }

private:
    struct Entry {
        QString key;
        std::unique_ptr<TSendingMailData> data;
    };
    static QString hashKey(const QString& key) { return key.toUpper(); }
    void rebuildIndex() const;

    std::vector<Entry> entries_;
    mutable QHash<QString, int> firstIndex_;
    mutable bool indexValid_ = true;
};

// The process's pending-send list: created when the add-in initialises, freed when
// it finalises; null outside that time.
extern TPendingSends* PendingSends;

}  // namespace vantorel
