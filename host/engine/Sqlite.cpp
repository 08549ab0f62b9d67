#include "host/engine/Sqlite.h"

#include <cstring>

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

#include <utility>

namespace vantorel::engine::sqlite {

SqliteError::SqliteError(int code, const QString& message)
    : std::runtime_error(message.toStdString()), code_(code), message_(message) {}

Database::Database(const QString& path, Mode mode) {
    int flags = SQLITE_OPEN_NOMUTEX;
    QByteArray name;
    switch (mode) {
        case Mode::ReadWrite:
            flags |= SQLITE_OPEN_READWRITE;
            name = path.toUtf8();
            break;
        case Mode::ReadWriteCreate:
            flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
            name = path.toUtf8();
            break;
        case Mode::ReadOnlyImmutable:
            // A URI, so the path's '?', '#' and '%' are escaped.
            flags |= SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
            name =
                "file:" +
                QUrl::toPercentEncoding(QDir::cleanPath(QFileInfo(path).absoluteFilePath()), "/") +
                "?immutable=1";
            break;
    }
    const int rc = sqlite3_open_v2(name.constData(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message =
            db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db_);
        db_ = nullptr;
        throw SqliteError(rc, message);
    }
    sqlite3_extended_result_codes(db_, 1);
}

Database::~Database() {
    for (auto& [sql, statements] : idle_) {
        for (sqlite3_stmt* stmt : statements) {
            sqlite3_finalize(stmt);
        }
    }
    sqlite3_close(db_);
}

sqlite3_stmt* Database::checkOut(const char* sql) {
    const auto at = idle_.find(sql);
    if (at != idle_.end() && !at->second.empty()) {
        sqlite3_stmt* stmt = at->second.back();
        at->second.pop_back();
        return stmt;
    }
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        throw SqliteError(rc, QString::fromUtf8(sqlite3_errmsg(db_)));
    }
    return stmt;
}

void Database::checkIn(sqlite3_stmt* stmt) {
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    idle_[sqlite3_sql(stmt)].push_back(stmt);
}

void Database::fail(int code) const {
    throw SqliteError(code, QString::fromUtf8(sqlite3_errmsg(db_)));
}

void Database::exec(const char* sql) {
    char* error = nullptr;
    const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const QString message =
            error ? QString::fromUtf8(error) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_free(error);
        throw SqliteError(rc, message);
    }
}

qint64 Database::queryInt(const char* sql) {
    Statement statement(*this, sql);
    return statement.step() ? statement.columnInt(0) : 0;
}

Statement Database::prepare(const char* sql) {
    return Statement(*this, sql);
}

qint64 Database::lastInsertRowId() const {
    return sqlite3_last_insert_rowid(db_);
}

bool Database::isReadOnly() const {
    return sqlite3_db_readonly(db_, "main") == 1;
}

void Database::keepWalOnClose() {
    const int rc = sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    if (rc != SQLITE_OK) {
        fail(rc);
    }
}

Statement::Statement(Database& db, const char* sql) : db_(&db), stmt_(db.checkOut(sql)) {}

Statement::~Statement() {
    if (stmt_ != nullptr) {
        db_->checkIn(stmt_);
    }
}

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_), stmt_(std::exchange(other.stmt_, nullptr)) {}

namespace {
void check(sqlite3* db, int rc) {
    if (rc != SQLITE_OK) {
        throw SqliteError(rc, QString::fromUtf8(sqlite3_errmsg(db)));
    }
}
}  // namespace

Statement& Statement::bind(int index, qint64 value) {
    check(db_->handle(), sqlite3_bind_int64(stmt_, index, value));
    return *this;
}

Statement& Statement::bind(int index, double value) {
    check(db_->handle(), sqlite3_bind_double(stmt_, index, value));
    return *this;
}

Statement& Statement::bind(int index, const QString& value) {
    // UTF-16 in native byte order, copied by SQLite; a null QString is stored as ''.
    const void* data = value.isNull() ? static_cast<const void*>(u"") : value.utf16();
    const int bytes = static_cast<int>(value.size() * sizeof(char16_t));
    check(db_->handle(), sqlite3_bind_text16(stmt_, index, data, bytes, SQLITE_TRANSIENT));
    return *this;
}

Statement& Statement::bindNull(int index) {
    check(db_->handle(), sqlite3_bind_null(stmt_, index));
    return *this;
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    const QString message = QString::fromUtf8(sqlite3_errmsg(db_->handle()));
    sqlite3_reset(stmt_);
    throw SqliteError(rc, message);
}

void Statement::run() {
    step();
    reset();
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

qint64 Statement::columnInt(int index) const {
    return sqlite3_column_int64(stmt_, index);
}

double Statement::columnDouble(int index) const {
    return sqlite3_column_double(stmt_, index);
}

namespace {
bool isAscii(const unsigned char* text, int length) {
    // Eight bytes at a time: a body is most of a mailbox's text.
    int i = 0;
    for (; i + 8 <= length; i += 8) {
        quint64 word;
        std::memcpy(&word, text + i, sizeof word);
        if ((word & 0x8080808080808080ULL) != 0) {
            return false;
        }
    }
    for (; i < length; ++i) {
        if (text[i] >= 0x80) {
            return false;
        }
    }
    return true;
}
}  // namespace

QLatin1StringView Statement::columnAscii(int index) const {
    const auto* text = sqlite3_column_text(stmt_, index);
    if (text == nullptr) {
        return {};
    }
    const int length = sqlite3_column_bytes(stmt_, index);
    if (!isAscii(text, length)) {
        return {};
    }
    // An empty text is an empty view, not a null one.
    return QLatin1StringView(length == 0 ? "" : reinterpret_cast<const char*>(text), length);
}

QString Statement::columnText(int index) const {
    // Text in ASCII, as nearly all of a mailbox is, is taken as SQLite stores it
    // (UTF-8); SQLite's own conversion to UTF-16, which reads everything else, costs
    // more than the rest of reading a row.
    const QLatin1StringView ascii = columnAscii(index);
    if (!ascii.isNull()) {
        return QString(ascii);  // an empty text too: QString's empty, not its null
    }
    const void* data = sqlite3_column_text16(stmt_, index);
    const int bytes = sqlite3_column_bytes16(stmt_, index);
    if (!data) {
        return QString();
    }
    return QString(reinterpret_cast<const QChar*>(data), bytes / static_cast<int>(sizeof(QChar)));
}

bool Statement::columnIsNull(int index) const {
    return sqlite3_column_type(stmt_, index) == SQLITE_NULL;
}

Transaction::Transaction(Database& db) : db_(db) {
    db_.exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (!done_) {
        // Nothing to report from a destructor; a failed rollback leaves SQLite to
        // roll the transaction back itself.
        sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void Transaction::commit() {
    db_.exec("COMMIT");
    done_ = true;
}

}  // namespace vantorel::engine::sqlite
