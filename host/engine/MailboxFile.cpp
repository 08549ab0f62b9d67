#include "host/engine/MailboxFile.h"

#include "host/engine/FileEntry.h"
#include "host/engine/MailboxError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <sqlite3.h>

#include <cerrno>

namespace vantorel::engine {

namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE meta(
    key TEXT PRIMARY KEY,
    value INTEGER NOT NULL
) WITHOUT ROWID;
INSERT INTO meta(key, value) VALUES ('next_id', 1);
CREATE TABLE stores(
    id INTEGER PRIMARY KEY,
    name TEXT NOT NULL UNIQUE,
    uid TEXT NOT NULL,
    root_folder_id INTEGER NOT NULL
);
CREATE TABLE folders(
    id INTEGER PRIMARY KEY,
    store_id INTEGER NOT NULL REFERENCES stores(id),
    parent_id INTEGER REFERENCES folders(id),
    name TEXT NOT NULL,
    entry_id TEXT NOT NULL UNIQUE,
    role INTEGER NOT NULL
);
CREATE TABLE items(
    id INTEGER PRIMARY KEY,
    entry_id TEXT NOT NULL UNIQUE,
    folder_id INTEGER NOT NULL REFERENCES folders(id),
    kind INTEGER NOT NULL,
    subject TEXT NOT NULL,
    body TEXT NOT NULL,
    categories TEXT NOT NULL,
    topic TEXT,
    sender_name TEXT NOT NULL,
    sender_address TEXT NOT NULL,
    sent INTEGER NOT NULL,
    sent_on REAL NOT NULL,
    received_time REAL NOT NULL,
    start_date REAL NOT NULL,
    due_date REAL NOT NULL,
    importance INTEGER NOT NULL,
    reminder_override INTEGER NOT NULL,
    reminder_set INTEGER NOT NULL,
    reminder_time REAL NOT NULL,
    complete INTEGER NOT NULL
);
CREATE INDEX items_by_folder ON items(folder_id, id);
CREATE TABLE recipients(
    item_id INTEGER NOT NULL REFERENCES items(id) ON DELETE CASCADE,
    position INTEGER NOT NULL,
    type INTEGER NOT NULL,
    name TEXT NOT NULL,
    address TEXT NOT NULL,
    entry_type TEXT NOT NULL,
    resolved INTEGER NOT NULL,
    PRIMARY KEY (item_id, position)
) WITHOUT ROWID;
CREATE TABLE user_properties(
    item_id INTEGER NOT NULL REFERENCES items(id) ON DELETE CASCADE,
    position INTEGER NOT NULL,
    name TEXT NOT NULL,
    type INTEGER NOT NULL,
    value TEXT NOT NULL,
    PRIMARY KEY (item_id, position)
) WITHOUT ROWID;
CREATE TABLE categories(
    position INTEGER PRIMARY KEY,
    name TEXT NOT NULL UNIQUE
);
CREATE TABLE address_book(
    address TEXT PRIMARY KEY COLLATE NOCASE,
    name TEXT NOT NULL,
    type TEXT NOT NULL
) WITHOUT ROWID;
)sql";

// The check reads the file's pages through a memory map instead of having each copied
// by a system call: it reads every page of a large mailbox. The connection that stays
// open reads as usual; a map of the whole file would count in the program's memory
// for as long as it runs.
constexpr const char* kReadMapped = "PRAGMA mmap_size = 1073741824";

// What each later format adds to the first, in order: a mailbox of format N has the
// first schema and every step up to N.
struct SchemaStep {
    int version;
    const char* sql;
};
constexpr SchemaStep kSchemaSteps[] = {
    {2, R"sql(
ALTER TABLE items ADD COLUMN message_class TEXT NOT NULL DEFAULT '';
ALTER TABLE items ADD COLUMN internet_headers TEXT NOT NULL DEFAULT '';
)sql"},
};
static_assert(std::size(kSchemaSteps) == MailboxFile::kSchemaVersion - 1);

// Brings a database of format FROM (0: empty) to the current format; the caller
// holds the transaction.
void buildSchema(sqlite::Database& db, qint64 from) {
    if (from < 1) {
        db.exec(kSchema);
    }
    for (const SchemaStep& step : kSchemaSteps) {
        if (step.version > from) {
            db.exec(step.sql);
        }
    }
}

// The schema of format VERSION, in a database of its own.
void buildSchemaOf(sqlite::Database& db, qint64 version) {
    db.exec(kSchema);
    for (const SchemaStep& step : kSchemaSteps) {
        if (step.version <= version) {
            db.exec(step.sql);
        }
    }
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString leftAlone() {
    return QStringLiteral(
        " The file was left unchanged; move it away or choose another data folder.");
}

QString notOurs(const QString& path, const QString& why) {
    return QStringLiteral("The mailbox file \"%1\" is not a Vantorel mailbox: %2.%3")
        .arg(shown(path), why, leftAlone());
}

QString damaged(const QString& path, const QString& why) {
    return QStringLiteral("The mailbox file \"%1\" is damaged: %2").arg(shown(path), why);
}

QString cannotRead(const QString& path, const QString& why) {
    return QStringLiteral("The mailbox file \"%1\" cannot be read: %2").arg(shown(path), why);
}

// Why the mailbox at path cannot be written, or an empty string. Besides the file
// itself (when it exists), its folder must be writable: the write-ahead log and its
// index are kept beside the file, which for a link is its target's folder.
QString writeProblem(const QString& path, const QString& doing) {
    const QFileInfo info(path);
    const QString file = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    if (info.exists()) {
        const QString why = whyNotWritable(file);
        if (!why.isEmpty()) {
            return QStringLiteral(
                       "The mailbox file \"%1\" cannot be written: %2. Give yourself the right "
                       "to change it, or choose another data folder.")
                .arg(shown(path), why);
        }
    }
    const QString folder = QFileInfo(file).absolutePath();
    const QString why = whyNotWritable(folder);
    if (why.isEmpty()) {
        return QString();
    }
    const bool dataFolder =
        QFileInfo(info.absolutePath()).canonicalFilePath() == QFileInfo(folder).canonicalFilePath();
    return QStringLiteral(
               "The %1 \"%2\" cannot be written, so the mailbox file \"%3\" cannot be %4: %5. "
               "The mailbox keeps its journal beside it; give yourself the right to change the "
               "folder, or choose another data folder.")
        .arg(dataFolder ? QStringLiteral("data folder") : QStringLiteral("folder"), shown(folder),
             shown(path), doing, why);
}

// "table.column" for every column of every table, the tables in the order of creation.
QStringList columnsOf(sqlite::Database& db) {
    QStringList columns;
    sqlite::Statement s(db,
                        "SELECT m.name, p.name FROM sqlite_master AS m, pragma_table_info(m.name) "
                        "AS p WHERE m.type = 'table' ORDER BY m.rowid, p.cid");
    while (s.step()) {
        columns << s.columnText(0) + QLatin1Char('.') + s.columnText(1);
    }
    return columns;
}

void removeLeftovers(const QString& file) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        QFile::remove(file + QLatin1String(suffix));
    }
}

// Gathers the rows of a list of every item (recipients, properties), which come
// ordered by item, and gives each item its rows in a list of their exact size. A row
// of an item that is not there is left out, as the file check has refused a file that
// has one.
template <class Row>
class RowsOfItems {
public:
    RowsOfItems(std::vector<std::shared_ptr<ItemRecord>>& items, std::vector<Row> ItemRecord::*list)
        : items_(items), list_(list) {}
    ~RowsOfItems() { flush(); }
    RowsOfItems(const RowsOfItems&) = delete;
    RowsOfItems& operator=(const RowsOfItems&) = delete;

    // The rows gathered so far for the item ID.
    std::vector<Row>& of(qint64 id) {
        if (current_ == nullptr || current_->id != id) {
            flush();
            // Items are in the order of their ids, as the rows are.
            while (next_ < items_.size() && items_[next_]->id < id) {
                ++next_;
            }
            current_ =
                next_ < items_.size() && items_[next_]->id == id ? items_[next_].get() : nullptr;
        }
        if (current_ == nullptr) {
            gathered_.clear();
        }
        return gathered_;
    }

private:
    void flush() {
        if (current_ != nullptr && !gathered_.empty()) {
            std::vector<Row>& list = current_->*list_;
            list.reserve(list.size() + gathered_.size());
            std::move(gathered_.begin(), gathered_.end(), std::back_inserter(list));
        }
        gathered_.clear();
    }

    std::vector<std::shared_ptr<ItemRecord>>& items_;
    std::vector<Row> ItemRecord::*list_;
    std::size_t next_ = 0;
    ItemRecord* current_ = nullptr;
    std::vector<Row> gathered_;
};

// The text of column INDEX as one of NAMES (the names read so far), added when new.
// Items keep their names in one order, so the name at POSITION is tried first.
QString sharedName(const sqlite::Statement& s, int index, std::vector<QString>& names,
                   std::size_t position) {
    const QLatin1StringView ascii = s.columnAscii(index);
    if (!ascii.isNull()) {
        if (position < names.size() && names[position] == ascii) {
            return names[position];
        }
        for (const QString& name : names) {
            if (name == ascii) {
                return name;
            }
        }
    }
    QString name = s.columnText(index);
    if (const auto known = std::find(names.begin(), names.end(), name); known != names.end()) {
        return *known;
    }
    if (names.size() < 256) {  // a damaged file may name every property differently
        names.push_back(name);
    }
    return name;
}

}  // namespace

MailboxFile::MailboxFile(const QString& path) : path_(path) {
    const bool exists = checkType();
    checkSideFiles();
    if (!exists) {
        create();
    } else {
        checkHeader();
        if (const QString problem = writeProblem(path_, QStringLiteral("opened"));
            !problem.isEmpty()) {
            throw MailboxError(path_, problem);
        }
        checkContents();
    }
    openExisting();
}

MailboxFile::~MailboxFile() = default;

// A mailbox is a regular file or a link to one; false when nothing is at the path.
// Anything else is refused by its type alone, before it is opened: opening a named
// pipe waits for a writer, and a device or a folder is no mailbox. A link to nothing
// is refused too rather than replaced by a new, empty mailbox: its target may lie on
// a disk that is not mounted.
bool MailboxFile::checkType() const {
    return checkEntry(path_, QStringLiteral("The mailbox file \"%1\"").arg(shown(path_)));
}

// The journal, the write-ahead log and its index, which SQLite opens beside the
// mailbox (beside the file a link leads to) as it opens the mailbox itself: each is
// absent, or a regular file or a link to one, as the mailbox is. Checked before the
// mailbox is created or opened, so nothing waits on a pipe, and nothing is changed.
void MailboxFile::checkSideFiles() const {
    const QFileInfo info(path_);
    const QString file = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        const QString side = file + QLatin1String(suffix);
        checkEntry(side, QStringLiteral("The file \"%1\" beside the mailbox file \"%2\"")
                             .arg(shown(side), shown(path_)));
    }
}

// Whether a regular file (or a link to one) is at PATH; false for nothing. Throws a
// MailboxError that begins with SUBJECT (the file named) for anything else.
bool MailboxFile::checkEntry(const QString& path, const QString& subject) const {
    const FileEntry entry = fileEntry(path, false);
    if (entry.error != 0) {
        if (entry.error == ENOENT) {
            return false;
        }
        throw MailboxError(
            path_,
            QStringLiteral("%1 cannot be read: %2").arg(subject, qt_error_string(entry.error)));
    }
    if (entry.regular) {
        return true;
    }
    if (!entry.link) {
        throw MailboxError(path_, QStringLiteral("%1 is not a regular file but %2.%3")
                                      .arg(subject, entry.kind, leftAlone()));
    }
    const QString target = shown(QFileInfo(path).symLinkTarget());
    const FileEntry targetEntry = fileEntry(path, true);
    if (targetEntry.error != 0) {
        if (targetEntry.error == ENOENT) {
            throw MailboxError(path_,
                               QStringLiteral("%1 is a link to \"%2\", which does not exist.%3")
                                   .arg(subject, target, leftAlone()));
        }
        throw MailboxError(path_, QStringLiteral("%1 cannot be read: %2")
                                      .arg(subject, qt_error_string(targetEntry.error)));
    }
    if (!targetEntry.regular) {
        throw MailboxError(
            path_, QStringLiteral("%1 is a link to \"%2\", which is not a regular file but %3.%4")
                       .arg(subject, target, targetEntry.kind, leftAlone()));
    }
    return true;
}

// A new mailbox is built under a temporary name and renamed into place once its
// schema is committed, so a file at path_ is always either a whole mailbox of ours
// or something that is not ours.
void MailboxFile::create() {
    const QFileInfo info(path_);
    if (!QDir().mkpath(info.absolutePath())) {
        throw MailboxError(path_, QStringLiteral("The folder of the mailbox file \"%1\" cannot be "
                                                 "created.")
                                      .arg(shown(path_)));
    }
    if (const QString problem = writeProblem(path_, QStringLiteral("created"));
        !problem.isEmpty()) {
        throw MailboxError(path_, problem);
    }
    const QString building = path_ + QStringLiteral(".new");
    removeLeftovers(building);
    try {
        sqlite::Database db(building, sqlite::Database::Mode::ReadWriteCreate);
        sqlite::Transaction transaction(db);
        db.exec(QStringLiteral("PRAGMA application_id = %1; PRAGMA user_version = %2;")
                    .arg(kApplicationId)
                    .arg(kSchemaVersion)
                    .toUtf8()
                    .constData());
        buildSchema(db, 0);
        transaction.commit();
    } catch (const sqlite::SqliteError& e) {
        removeLeftovers(building);
        throw MailboxError(path_, QStringLiteral("The mailbox file \"%1\" cannot be created: %2")
                                      .arg(shown(path_), e.message()));
    }
    if (!QFile::rename(building, path_)) {
        removeLeftovers(building);
        throw MailboxError(path_, QStringLiteral("The mailbox file \"%1\" cannot be created: the "
                                                 "new file cannot be put in place.")
                                      .arg(shown(path_)));
    }
}

// Reads the database header without SQLite, which never writes to a file it has
// only been asked to look at this way.
void MailboxFile::checkHeader() const {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) {
        throw MailboxError(path_, cannotRead(path_, file.errorString()));
    }
    const QByteArray header = file.read(100);
    static const QByteArray magic("SQLite format 3\0", 16);
    if (header.size() < 100 || !header.startsWith(magic)) {
        throw MailboxError(path_, notOurs(path_, QStringLiteral("it is not a database")));
    }
    const auto byte = [&header](int i) { return static_cast<quint32>(quint8(header.at(i))); };
    const qint32 applicationId =
        static_cast<qint32>(byte(68) << 24 | byte(69) << 16 | byte(70) << 8 | byte(71));
    if (applicationId != kApplicationId) {
        throw MailboxError(path_,
                           notOurs(path_, QStringLiteral("it is a database of another program")));
    }
}

// The contents are checked through a connection that cannot change the file. Without
// a write-ahead log beside it, the file is read as it lies: no lock is taken, and no
// journal or log is created. A log left by a process that did not close the mailbox
// holds its latest commits, so then it is read too, by a read-write connection that
// takes the exclusive lock before its first read (the log's index is then kept in
// memory, and the -shm file is neither read nor written), runs queries only, and on
// closing leaves the log as it is instead of copying it into the file.
void MailboxFile::checkContents() const {
    const QString file = QFileInfo(path_).canonicalFilePath();
    try {
        std::unique_ptr<sqlite::Database> db;
        if (QFileInfo::exists(file + QStringLiteral("-wal"))) {
            db = std::make_unique<sqlite::Database>(file, sqlite::Database::Mode::ReadWrite);
            db->keepWalOnClose();
            db->exec("PRAGMA locking_mode = EXCLUSIVE; PRAGMA query_only = ON");
        } else {
            db =
                std::make_unique<sqlite::Database>(file, sqlite::Database::Mode::ReadOnlyImmutable);
        }
        db->exec(kReadMapped);
        checkContentsOf(*db);
    } catch (const sqlite::SqliteError& e) {
        throw MailboxError(path_, openFailure(e));
    }
}

void MailboxFile::checkContentsOf(sqlite::Database& db) const {
    const qint64 version = db.queryInt("PRAGMA user_version");
    if (version > kSchemaVersion) {
        throw MailboxError(
            path_, QStringLiteral("The mailbox file \"%1\" was written by a newer version of "
                                  "Vantorel (format %2; this version reads format %3 and older).")
                       .arg(shown(path_))
                       .arg(version)
                       .arg(kSchemaVersion));
    }
    {
        sqlite::Statement check(db, "PRAGMA quick_check");
        QString problem = check.step() ? check.columnText(0) : QStringLiteral("ok");
        if (problem != QLatin1String("ok")) {
            // The first report follows a line naming the database ("*** in database
            // main ***").
            if (problem.startsWith(QLatin1String("***"))) {
                problem = problem.section(QLatin1Char('\n'), 1, 1);
            }
            throw MailboxError(path_, damaged(path_, problem));
        }
    }
    if (version < 1) {
        throw MailboxError(path_, damaged(path_, QStringLiteral("no schema")));
    }

    // Every table and column of the file's format is there; more are allowed.
    sqlite::Database reference(QStringLiteral(":memory:"), sqlite::Database::Mode::ReadWriteCreate);
    buildSchemaOf(reference, version);
    const QStringList present = columnsOf(db);
    QStringList tables;
    for (const QString& column : present) {
        tables << column.section(QLatin1Char('.'), 0, 0);
    }
    for (const QString& column : columnsOf(reference)) {
        if (present.contains(column)) {
            continue;
        }
        const QString table = column.section(QLatin1Char('.'), 0, 0);
        throw MailboxError(
            path_, damaged(path_, tables.contains(table)
                                      ? QStringLiteral("the column %1 is missing").arg(column)
                                      : QStringLiteral("the table %1 is missing").arg(table)));
    }

    sqlite::Statement references(db, "PRAGMA foreign_key_check");
    if (references.step()) {
        throw MailboxError(
            path_, damaged(path_, QStringLiteral("a row of the table %1 refers to "
                                                 "a missing row of the table %2")
                                      .arg(references.columnText(0), references.columnText(2))));
    }
}

void MailboxFile::openExisting() {
    try {
        db_ = std::make_unique<sqlite::Database>(path_, sqlite::Database::Mode::ReadWrite);
        if (db_->isReadOnly()) {
            // The file was found writable a moment ago; SQLite opened it for reading only.
            throw sqlite::SqliteError(SQLITE_READONLY,
                                      QStringLiteral("it can be opened for reading only"));
        }
        // One process at a time: the first read takes the lock and keeps it.
        db_->exec("PRAGMA locking_mode = EXCLUSIVE");
        db_->exec("PRAGMA journal_mode = WAL");
        db_->exec("PRAGMA synchronous = NORMAL");
        db_->exec("PRAGMA foreign_keys = ON");
        upgrade();
    } catch (const sqlite::SqliteError& e) {
        db_.reset();
        throw MailboxError(path_, openFailure(e));
    }
}

// A mailbox of an earlier format gains what the later ones add, in one transaction:
// after a failure it is still whole in its own format.
void MailboxFile::upgrade() {
    const qint64 version = db_->queryInt("PRAGMA user_version");
    if (version >= kSchemaVersion) {
        return;
    }
    sqlite::Transaction transaction(*db_);
    buildSchema(*db_, version);
    db_->exec(QStringLiteral("PRAGMA user_version = %1;").arg(kSchemaVersion).toUtf8().constData());
    transaction.commit();
}

// SQLite's words for a file it cannot write ("disk I/O error", "attempt to write a
// readonly database", "unable to open database file") give way to the file or folder
// that cannot be written.
QString MailboxFile::openFailure(const sqlite::SqliteError& e) const {
    const int primary = e.code() & 0xff;
    if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB) {
        return damaged(path_, e.message());
    }
    if (primary == SQLITE_READONLY || primary == SQLITE_CANTOPEN || primary == SQLITE_IOERR ||
        primary == SQLITE_PERM) {
        const QString problem = writeProblem(path_, QStringLiteral("opened"));
        if (!problem.isEmpty()) {
            return problem;
        }
        if (primary == SQLITE_READONLY) {
            return QStringLiteral("The mailbox file \"%1\" cannot be written: %2")
                .arg(shown(path_), e.message());
        }
    }
    return QStringLiteral("The mailbox file \"%1\" cannot be opened: %2")
        .arg(shown(path_), e.message());
}

MailboxFile::Contents MailboxFile::load() {
    Contents c;
    try {
        c.nextId = db_->queryInt("SELECT value FROM meta WHERE key = 'next_id'");
        {
            sqlite::Statement s(*db_,
                                "SELECT id, name, uid, root_folder_id FROM stores ORDER BY id");
            while (s.step()) {
                c.stores.push_back(
                    {s.columnInt(0), s.columnText(1), s.columnText(2), s.columnInt(3)});
            }
        }
        {
            sqlite::Statement s(*db_,
                                "SELECT id, store_id, parent_id, name, entry_id, role FROM folders "
                                "ORDER BY id");
            while (s.step()) {
                c.folders.push_back({s.columnInt(0), s.columnInt(1),
                                     s.columnIsNull(2) ? 0 : s.columnInt(2), s.columnText(3),
                                     s.columnText(4), static_cast<int>(s.columnInt(5))});
            }
        }
        c.items.reserve(static_cast<std::size_t>(db_->queryInt("SELECT count(*) FROM items")));
        {
            sqlite::Statement s(
                *db_,
                "SELECT id, entry_id, folder_id, kind, subject, body, categories, topic, "
                "sender_name, sender_address, sent, sent_on, received_time, start_date, due_date, "
                "importance, reminder_override, reminder_set, reminder_time, complete, "
                "message_class, internet_headers FROM items ORDER BY id");
            while (s.step()) {
                ItemRecord& r = *c.items.emplace_back(std::make_shared<ItemRecord>());
                r.id = s.columnInt(0);
                r.entryId = s.columnText(1);
                r.folderId = s.columnInt(2);
                r.kind = static_cast<ItemKind>(s.columnInt(3));
                r.subject = s.columnText(4);
                r.body = s.columnText(5);
                r.categories = s.columnText(6);
                r.topicFixed = !s.columnIsNull(7);
                r.topic = s.columnText(7);
                r.senderName = s.columnText(8);
                r.senderAddress = s.columnText(9);
                r.sent = s.columnInt(10) != 0;
                r.sentOn = s.columnDouble(11);
                r.receivedTime = s.columnDouble(12);
                r.startDate = s.columnDouble(13);
                r.dueDate = s.columnDouble(14);
                r.importance = static_cast<int>(s.columnInt(15));
                r.reminderOverrideDefault = s.columnInt(16) != 0;
                r.reminderSet = s.columnInt(17) != 0;
                r.reminderTime = s.columnDouble(18);
                r.complete = s.columnInt(19) != 0;
                r.messageClass = s.columnText(20);
                r.internetHeaders = s.columnText(21);
            }
        }
        // The rows of recipients and properties come in the order of their items: each
        // item's are gathered, then given to it in a list of their exact size.
        {
            sqlite::Statement s(*db_,
                                "SELECT item_id, type, name, address, entry_type, resolved "
                                "FROM recipients ORDER BY item_id, position");
            RowsOfItems<RecipientRecord> rows(c.items, &ItemRecord::recipients);
            while (s.step()) {
                rows.of(s.columnInt(0))
                    .push_back({static_cast<int>(s.columnInt(1)), s.columnText(2), s.columnText(3),
                                s.columnText(4), s.columnInt(5) != 0});
            }
        }
        {
            sqlite::Statement s(*db_,
                                "SELECT item_id, name, type, value FROM user_properties "
                                "ORDER BY item_id, position");
            RowsOfItems<PropertyRecord> rows(c.items, &ItemRecord::properties);
            // Every item spells its property names alike: one copy of each name serves
            // them all, in memory and in the cache of a walk over many items.
            std::vector<QString> names;
            while (s.step()) {
                std::vector<PropertyRecord>& properties = rows.of(s.columnInt(0));
                properties.push_back({sharedName(s, 1, names, properties.size()),
                                      static_cast<int>(s.columnInt(2)), s.columnText(3)});
            }
        }
        {
            sqlite::Statement s(*db_, "SELECT name FROM categories ORDER BY position");
            while (s.step()) {
                c.categories << s.columnText(0);
            }
        }
        {
            sqlite::Statement s(*db_, "SELECT address, name, type FROM address_book");
            while (s.step()) {
                c.addresses.push_back({s.columnText(0), s.columnText(1), s.columnText(2)});
            }
        }
    } catch (const sqlite::SqliteError& e) {
        throw MailboxError(path_, QStringLiteral("The mailbox file \"%1\" is damaged: %2")
                                      .arg(shown(path_), e.message()));
    }
    return c;
}

void MailboxFile::insertStore(const StoreRecord& store) {
    sqlite::Statement s(*db_,
                        "INSERT INTO stores(id, name, uid, root_folder_id) VALUES (?, ?, ?, ?)");
    s.bind(1, store.id).bind(2, store.name).bind(3, store.uid).bind(4, store.rootFolderId).run();
}

void MailboxFile::insertFolder(const FolderRecord& folder) {
    sqlite::Statement s(*db_,
                        "INSERT INTO folders(id, store_id, parent_id, name, entry_id, role) "
                        "VALUES (?, ?, ?, ?, ?, ?)");
    s.bind(1, folder.id).bind(2, folder.storeId);
    if (folder.parentId == 0) {
        s.bindNull(3);
    } else {
        s.bind(3, folder.parentId);
    }
    s.bind(4, folder.name).bind(5, folder.entryId).bind(6, folder.role).run();
}

void MailboxFile::writeItem(const ItemRecord& r) {
    sqlite::Statement s(
        *db_,
        "INSERT INTO items(id, entry_id, folder_id, kind, subject, body, categories, topic, "
        "sender_name, sender_address, sent, sent_on, received_time, start_date, due_date, "
        "importance, reminder_override, reminder_set, reminder_time, complete, message_class, "
        "internet_headers) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, "
        "?19, ?20, ?21, ?22) "
        "ON CONFLICT(id) DO UPDATE SET entry_id = ?2, folder_id = ?3, kind = ?4, subject = ?5, "
        "body = ?6, categories = ?7, topic = ?8, sender_name = ?9, sender_address = ?10, "
        "sent = ?11, sent_on = ?12, received_time = ?13, start_date = ?14, due_date = ?15, "
        "importance = ?16, reminder_override = ?17, reminder_set = ?18, reminder_time = ?19, "
        "complete = ?20, message_class = ?21, internet_headers = ?22");
    s.bind(1, r.id)
        .bind(2, r.entryId)
        .bind(3, r.folderId)
        .bind(4, static_cast<int>(r.kind))
        .bind(5, r.subject)
        .bind(6, r.body)
        .bind(7, r.categories);
    if (r.topicFixed) {
        s.bind(8, r.topic);
    } else {
        s.bindNull(8);
    }
    s.bind(9, r.senderName)
        .bind(10, r.senderAddress)
        .bind(11, r.sent)
        .bind(12, r.sentOn)
        .bind(13, r.receivedTime)
        .bind(14, r.startDate)
        .bind(15, r.dueDate)
        .bind(16, r.importance)
        .bind(17, r.reminderOverrideDefault)
        .bind(18, r.reminderSet)
        .bind(19, r.reminderTime)
        .bind(20, r.complete)
        .bind(21, r.messageClass)
        .bind(22, r.internetHeaders)
        .run();

    sqlite::Statement clearRecipients(*db_, "DELETE FROM recipients WHERE item_id = ?");
    clearRecipients.bind(1, r.id).run();
    sqlite::Statement clearProperties(*db_, "DELETE FROM user_properties WHERE item_id = ?");
    clearProperties.bind(1, r.id).run();

    sqlite::Statement recipient(*db_,
                                "INSERT INTO recipients(item_id, position, type, name, address, "
                                "entry_type, resolved) VALUES (?, ?, ?, ?, ?, ?, ?)");
    for (std::size_t i = 0; i < r.recipients.size(); ++i) {
        const RecipientRecord& x = r.recipients[i];
        recipient.bind(1, r.id)
            .bind(2, static_cast<qint64>(i))
            .bind(3, x.type)
            .bind(4, x.name)
            .bind(5, x.address)
            .bind(6, x.entryType)
            .bind(7, x.resolved)
            .run();
    }
    sqlite::Statement property(*db_,
                               "INSERT INTO user_properties(item_id, position, name, type, value) "
                               "VALUES (?, ?, ?, ?, ?)");
    for (std::size_t i = 0; i < r.properties.size(); ++i) {
        const PropertyRecord& p = r.properties[i];
        property.bind(1, r.id)
            .bind(2, static_cast<qint64>(i))
            .bind(3, p.name)
            .bind(4, p.type)
            .bind(5, p.value)
            .run();
    }
}

void MailboxFile::deleteItem(qint64 id) {
    sqlite::Statement s(*db_, "DELETE FROM items WHERE id = ?");
    s.bind(1, id).run();
}

void MailboxFile::insertCategory(const QString& name) {
    sqlite::Statement s(*db_, "INSERT INTO categories(name) VALUES (?)");
    s.bind(1, name).run();
}

void MailboxFile::writeAddress(const AddressRecord& address) {
    sqlite::Statement s(*db_,
                        "INSERT INTO address_book(address, name, type) VALUES (?1, ?2, ?3) "
                        "ON CONFLICT(address) DO UPDATE SET name = ?2, type = ?3");
    s.bind(1, address.address).bind(2, address.name).bind(3, address.type).run();
}

void MailboxFile::setNextId(qint64 nextId) {
    sqlite::Statement s(*db_, "UPDATE meta SET value = ? WHERE key = 'next_id'");
    s.bind(1, nextId).run();
}

}  // namespace vantorel::engine
