#include "board/sqlite_db.h"

#include <sqlite3.h>

Database::Database(const std::string& file, bool readOnly)
{
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(file.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        throw StoreError(file + ": cannot be opened: " + why);
    }
    // Another connection's write waits for this one's, and the other way round.
    sqlite3_busy_timeout(db_, 10'000);
}

Database::~Database()
{
    for (auto& [sql, statement] : statements_) delete statement;
    sqlite3_close(db_);
}

void Database::Fail(const std::string& what) const { throw StoreError(what + ": " + sqlite3_errmsg(db_)); }

void Database::Execute(const char* sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string why = message ? message : "failed";
        sqlite3_free(message);
        throw StoreError(std::string(sql).substr(0, 40) + ": " + why);
    }
}

Query Database::Prepare(const char* sql)
{
    auto found = statements_.find(sql);
    if (found == statements_.end()) found = statements_.emplace(sql, new Statement(*this, sql)).first;
    return Query(*found->second);
}

Query::~Query() { statement_.Reset(); }

std::int64_t Database::LastRowId() const { return sqlite3_last_insert_rowid(db_); }

Statement::Statement(Database& db, const char* sql) : db_(db)
{
    if (sqlite3_prepare_v3(db.db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement_, nullptr) != SQLITE_OK)
        db.Fail(std::string("cannot prepare ") + sql);
}

Statement::~Statement() { sqlite3_finalize(statement_); }

Statement& Statement::Bind(int index, std::int64_t value)
{
    if (sqlite3_bind_int64(statement_, index, value) != SQLITE_OK) db_.Fail("cannot bind");
    return *this;
}

Statement& Statement::Bind(int index, const std::string& text)
{
    if (sqlite3_bind_text(statement_, index, text.data(), int(text.size()), SQLITE_TRANSIENT) != SQLITE_OK) db_.Fail("cannot bind");
    return *this;
}

Statement& Statement::Bind(int index, const std::vector<std::uint8_t>& blob)
{
    if (sqlite3_bind_blob(statement_, index, blob.data(), int(blob.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        db_.Fail("cannot bind");
    return *this;
}

bool Statement::Step()
{
    const int status = sqlite3_step(statement_);
    if (status == SQLITE_ROW) return true;
    if (status == SQLITE_DONE) return false;
    db_.Fail(std::string("cannot run ") + sqlite3_sql(statement_));
}

void Statement::Run()
{
    while (Step()) {
    }
}

void Statement::Reset()
{
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

bool Statement::Null(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }
std::int64_t Statement::Integer(int column) const { return sqlite3_column_int64(statement_, column); }
double Statement::Real(int column) const { return sqlite3_column_double(statement_, column); }

std::string Statement::Text(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return text ? std::string(text, std::size_t(sqlite3_column_bytes(statement_, column))) : std::string();
}

std::vector<std::uint8_t> Statement::Blob(int column) const
{
    const auto* blob = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement_, column));
    return blob ? std::vector<std::uint8_t>(blob, blob + sqlite3_column_bytes(statement_, column)) : std::vector<std::uint8_t>();
}

Transaction::Transaction(Database& db) : db_(db) { db_.Execute("BEGIN IMMEDIATE"); }

Transaction::~Transaction()
{
    if (!open_) return;
    try {
        db_.Execute("ROLLBACK");
    } catch (const StoreError&) {
    }
}

void Transaction::Commit()
{
    db_.Execute("COMMIT");
    open_ = false;
}
