#include "reminders/PendingSends.h"

namespace vantorel {

TPendingSends* PendingSends = nullptr;

int TPendingSends::Add(const QString& key, std::unique_ptr<TSendingMailData> data) {
    if (!data) {
        data = std::make_unique<TSendingMailData>();
    }
    entries_.push_back(Entry{key, std::move(data)});
    const int index = Count() - 1;
    // An earlier entry with the same key keeps answering lookups.
    if (indexValid_ && !firstIndex_.contains(hashKey(key))) {
        firstIndex_.insert(hashKey(key), index);
    }
    return index;
}

void TPendingSends::rebuildIndex() const {
    firstIndex_.clear();
    for (int i = Count() - 1; i >= 0; --i) {
        firstIndex_.insert(hashKey(entries_[i].key), i);
    }
    indexValid_ = true;
}

int TPendingSends::IndexOf(const QString& key) const {
    if (!indexValid_) {
        rebuildIndex();
    }
    return firstIndex_.value(hashKey(key), -1);
}

TSendingMailData* TPendingSends::Find(const QString& key) const {
    const int index = IndexOf(key);
    return index < 0 ? nullptr : entries_[index].data.get();
}

void TPendingSends::Delete(int index) {
    if (index < 0 || index >= Count()) {
        throw std::out_of_range("pending-send position out of range");
    }
    entries_.erase(entries_.begin() + index);
    indexValid_ = false;  // positions after INDEX moved
}

void TPendingSends::Clear() {
    entries_.clear();
    firstIndex_.clear();
    indexValid_ = true;
}

}  // namespace vantorel
