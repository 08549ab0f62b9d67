#pragma once

// The mailbox database: one SQLite file holding every store, folder, item, category
// and learnt address-book entry. Opening it checks that the file is ours, whole, of a
// format this version reads, and writable, before anything is written to it; a file
// that is refused is never changed, nor is the write-ahead log beside it. The journal,
// the log and its index beside it are absent or regular files (or links to them), as
// the mailbox is, or nothing is opened.
// The journal is a write-ahead log. A commit is in the log before it returns, so a
// killed process loses at most the transaction in flight; the log is synced to the
// disk at each checkpoint, not at each commit (a save would wait for the disk
// several times per message sent), so a power failure may take the last commits
// back, never leaving the file damaged.

#include "host/engine/Records.h"
#include "host/engine/Sqlite.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace vantorel::engine {

class MailboxFile {
public:
    // "VTOR", in the database header's application-id field.
    static constexpr qint32 kApplicationId = 0x56544F52;
    // 2: message classes and internet headers of items.
    static constexpr int kSchemaVersion = 2;

    // Opens the mailbox at path, creating an empty one (and its folder) when no
    // file exists. Throws MailboxError.
    explicit MailboxFile(const QString& path);
    ~MailboxFile();
    MailboxFile(const MailboxFile&) = delete;
    MailboxFile& operator=(const MailboxFile&) = delete;

    struct Contents {
        std::vector<StoreRecord> stores;
        std::vector<FolderRecord> folders;  // in the order of creation
        // In the order of arrival, each made where it is kept from then on.
        std::vector<std::shared_ptr<ItemRecord>> items;
        QStringList categories;
        std::vector<AddressRecord> addresses;
        qint64 nextId = 1;
    };
    // Reads everything. Throws MailboxError when the file is damaged.
    Contents load();

    const QString& path() const { return path_; }
    sqlite::Database& database() { return *db_; }

    // The writes; each caller wraps its writes in one sqlite::Transaction.
    void insertStore(const StoreRecord& store);
    void insertFolder(const FolderRecord& folder);
    void writeItem(const ItemRecord& item);  // inserts or replaces
    void deleteItem(qint64 id);
    void insertCategory(const QString& name);
    void writeAddress(const AddressRecord& address);
    void setNextId(qint64 nextId);

private:
    bool checkType() const;
    void checkSideFiles() const;
    bool checkEntry(const QString& path, const QString& subject) const;
    void create();
    void checkHeader() const;
    void checkContents() const;
    void checkContentsOf(sqlite::Database& db) const;
    void openExisting();
    void upgrade();
    QString openFailure(const sqlite::SqliteError& e) const;

    QString path_;
    std::unique_ptr<sqlite::Database> db_;
};

}  // namespace vantorel::engine
