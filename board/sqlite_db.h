#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// The store cannot be read or written: the disk, the file or SQLite failed.
struct StoreError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Statement;
class Query;

// One SQLite connection, with its statements prepared once. A connection is
// used by one thread at a time.
class Database {
public:
    Database(const std::string& file, bool readOnly);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void Execute(const char* sql);
    // The statement of `sql`, reset when the query ends; `sql` must be a
    // string literal, which names it.
    Query Prepare(const char* sql);
    std::int64_t LastRowId() const;

private:
    friend class Statement;
    [[noreturn]] void Fail(const std::string& what) const;

    sqlite3* db_ = nullptr;
    std::map<const char*, Statement*> statements_;
};

class Statement {
public:
    Statement(Database& db, const char* sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(int index, std::int64_t value);
    Statement& Bind(int index, const std::string& text);
    Statement& Bind(int index, const std::vector<std::uint8_t>& blob);
    // True while there is a row to read.
    bool Step();
    // Steps through a statement that returns no rows.
    void Run();
    void Reset();

    bool Null(int column) const;
    std::int64_t Integer(int column) const;
    double Real(int column) const;
    std::string Text(int column) const;
    std::vector<std::uint8_t> Blob(int column) const;

private:
    Database& db_;
    sqlite3_stmt* statement_ = nullptr;
};

// A statement in use: reset when it goes, so that no read is left open.
class Query {
public:
    explicit Query(Statement& statement) : statement_(statement) {}
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;
    Statement* operator->() const { return &statement_; }

private:
    Statement& statement_;
};

// BEGIN IMMEDIATE ... COMMIT, rolled back unless committed.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    void Commit();

private:
    Database& db_;
    bool open_ = true;
};
