#pragma once

// A thin RAII layer over the SQLite C API: a connection, prepared statements and
// transactions. Failures throw SqliteError with SQLite's message.

#include <QByteArray>
#include <QString>

#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace vantorel::engine::sqlite {

class SqliteError : public std::runtime_error {
public:
    SqliteError(int code, const QString& message);
    int code() const noexcept { return code_; }
    const QString& message() const noexcept { return message_; }

private:
    int code_;
    QString message_;
};

class Statement;

class Database {
public:
    enum class Mode {
        ReadWrite,
        ReadWriteCreate,
        // The file as it lies on disk, read only: no lock is taken, and neither a
        // journal nor a write-ahead log is read or created beside it.
        ReadOnlyImmutable,
    };

    Database(const QString& path, Mode mode);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Runs one or more statements that return no rows of interest.
    void exec(const char* sql);
    // The first column of the first row of a query, as an integer (0 when no row).
    qint64 queryInt(const char* sql);
    Statement prepare(const char* sql);
    qint64 lastInsertRowId() const;
    // True when the file is open for reading only, as SQLite opens a file it may not
    // write even when writing was asked for.
    bool isReadOnly() const;
    // Closing leaves the write-ahead log as it is instead of copying it into the
    // file and deleting it.
    void keepWalOnClose();

    sqlite3* handle() const { return db_; }

private:
    friend class Statement;
    [[noreturn]] void fail(int code) const;
    // A statement of that text, prepared once and kept while no Statement uses it:
    // preparing costs more than running most of the statements the mailbox runs.
    sqlite3_stmt* checkOut(const char* sql);
    void checkIn(sqlite3_stmt* stmt);

    sqlite3* db_ = nullptr;
    std::unordered_map<std::string, std::vector<sqlite3_stmt*>> idle_;
};

class Statement {
public:
    Statement(Database& db, const char* sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement& operator=(Statement&&) = delete;

    // Parameters count from 1.
    Statement& bind(int index, qint64 value);
    Statement& bind(int index, int value) { return bind(index, static_cast<qint64>(value)); }
    Statement& bind(int index, bool value) { return bind(index, static_cast<qint64>(value)); }
    Statement& bind(int index, double value);
    Statement& bind(int index, const QString& value);
    Statement& bindNull(int index);

    // True while a row is available.
    bool step();
    // Runs a statement that returns no rows, then makes it ready for the next use.
    void run();
    void reset();

    // Columns count from 0.
    qint64 columnInt(int index) const;
    double columnDouble(int index) const;
    QString columnText(int index) const;
    // The text as SQLite holds it, when it is all ASCII (a null view otherwise); valid
    // until the next step.
    QLatin1StringView columnAscii(int index) const;
    bool columnIsNull(int index) const;

private:
    Database* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// BEGIN IMMEDIATE on construction; rolls back on destruction unless committed.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Database& db_;
    bool done_ = false;
};

}  // namespace vantorel::engine::sqlite
