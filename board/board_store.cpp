#include "board/board_store.h"

#include <algorithm>

#include "board/sqlite_db.h"
#include "cave/replay.h"

namespace {

constexpr const char* Schema = R"(
CREATE TABLE IF NOT EXISTS runs(
    id INTEGER PRIMARY KEY,
    bytes BLOB NOT NULL,      -- the file without the zeros after its last tick
    size INTEGER NOT NULL,    -- the whole file's
    hash INTEGER NOT NULL     -- BytesHash of the whole file
);
CREATE TABLE IF NOT EXISTS boards(
    id INTEGER PRIMARY KEY,
    day TEXT NOT NULL,
    width INTEGER NOT NULL, height INTEGER NOT NULL, variant INTEGER NOT NULL,
    beginner INTEGER NOT NULL, speed INTEGER NOT NULL,
    UNIQUE(day, width, height, variant, beginner, speed)
);
CREATE TABLE IF NOT EXISTS entries(
    id INTEGER PRIMARY KEY,
    board INTEGER NOT NULL REFERENCES boards(id),
    name TEXT NOT NULL,
    ticks INTEGER NOT NULL, misses INTEGER NOT NULL, score INTEGER NOT NULL,
    submitted INTEGER NOT NULL,
    inputs_hash INTEGER NOT NULL,
    run INTEGER NOT NULL REFERENCES runs(id),
    best INTEGER NOT NULL     -- 1 while it is its name's best on its board
);
CREATE INDEX IF NOT EXISTS entries_by_place ON entries(board, best, ticks, misses, score DESC, id);
CREATE UNIQUE INDEX IF NOT EXISTS entries_by_name ON entries(board, name) WHERE best = 1;
CREATE INDEX IF NOT EXISTS entries_by_inputs ON entries(board, inputs_hash);
CREATE TABLE IF NOT EXISTS pars(
    day TEXT PRIMARY KEY,
    run INTEGER REFERENCES runs(id),
    ticks INTEGER, misses INTEGER, score INTEGER, inputs_hash INTEGER,
    note TEXT NOT NULL
);
)";

// Fewer ticks, then fewer misses, then the higher score; a tie stays with
// the earlier entry.
bool AsGoodOrBetter(const EntryRow& a, const CheckedSubmission& b)
{
    const RunReplay& r = b.replay;
    return std::tuple(a.ticks, a.misses, -a.score) <= std::tuple(std::int64_t(r.ticks), std::int64_t(r.misses), -std::int64_t(r.score));
}

EntryRow EntryOf(const Statement& s, int first)
{
    return {.id = s.Integer(first), .run = s.Integer(first + 1), .name = s.Text(first + 2), .ticks = s.Integer(first + 3),
            .misses = s.Integer(first + 4), .score = s.Integer(first + 5), .submitted = s.Integer(first + 6)};
}

#define ENTRY_COLUMNS "e.id, e.run, e.name, e.ticks, e.misses, e.score, e.submitted"

// The stored inputs of a run, from its stored bytes.
bool StoredInputsAre(const std::vector<std::uint8_t>& stored, std::int64_t storedTicks, const CheckedSubmission& run)
{
    if (storedTicks != std::int64_t(run.run.inputs.size())) return false;
    const std::size_t from = 2 * FirstInputWord, to = from + 2 * run.run.inputs.size();
    std::vector<std::uint8_t> padded = stored;
    if (padded.size() < to) padded.resize(to);
    return std::equal(padded.begin() + from, padded.begin() + to, run.bytes.begin() + from);
}

std::vector<std::uint8_t> Trimmed(const std::vector<std::uint8_t>& bytes)
{
    std::size_t size = bytes.size();
    while (size > 0 && bytes[size - 1] == 0) --size;
    return {bytes.begin(), bytes.begin() + std::ptrdiff_t(size)};
}

}  // namespace

// A read connection lent for one call.
class BoardStore::Reader {
public:
    explicit Reader(BoardStore& store) : store_(store)
    {
        std::lock_guard lock(store_.readersMutex_);
        if (!store_.readers_.empty()) {
            db_ = std::move(store_.readers_.back());
            store_.readers_.pop_back();
        }
        if (!db_) db_ = std::make_unique<Database>(store_.file_, true);
    }
    ~Reader()
    {
        std::lock_guard lock(store_.readersMutex_);
        store_.readers_.push_back(std::move(db_));
    }
    Database& operator*() { return *db_; }

private:
    BoardStore& store_;
    std::unique_ptr<Database> db_;
};

BoardStore::BoardStore(const std::string& file) : file_(file), writer_(std::make_unique<Database>(file, false))
{
    writer_->Execute("PRAGMA journal_mode=WAL");
    writer_->Execute("PRAGMA synchronous=FULL");
    writer_->Execute("PRAGMA foreign_keys=ON");
    writer_->Execute(Schema);
    writerThread_ = std::thread([this] { Write(); });
}

BoardStore::~BoardStore()
{
    {
        std::lock_guard lock(queueMutex_);
        closing_ = true;
    }
    queued_.notify_all();
    writerThread_.join();
}

AddResult BoardStore::Add(const CheckedSubmission& run, const std::string& name, std::int64_t now)
{
    Pending pending{&run, &name, now, {}};
    auto done = pending.done.get_future();
    {
        std::lock_guard lock(queueMutex_);
        if (closing_) throw StoreError("the board is closing");
        queue_.push_back(&pending);
    }
    queued_.notify_one();
    AddResult result = done.get();
    Reader db(*this);
    result.entry.place = Place(*db, result.board, result.entry);
    return result;
}

void BoardStore::Write()
{
    for (;;) {
        std::vector<Pending*> batch;
        {
            std::unique_lock lock(queueMutex_);
            queued_.wait(lock, [&] { return closing_ || !queue_.empty(); });
            if (queue_.empty()) return;
            batch.assign(queue_.begin(), queue_.end());
            queue_.clear();
        }
        std::vector<AddResult> results;
        std::lock_guard write(writeMutex_);
        try {
            Transaction t(*writer_);
            for (Pending* p : batch) results.push_back(AddOne(*p));
            t.Commit();
        } catch (...) {
            for (Pending* p : batch) p->done.set_exception(std::current_exception());
            continue;
        }
        for (std::size_t i = 0; i < batch.size(); ++i) batch[i]->done.set_value(results[i]);
    }
}

std::int64_t BoardStore::BoardId(const BoardDay& day, const BoardSettings& s)
{
    const auto bind = [&](Statement* q) {
        q->Bind(1, day.Text()).Bind(2, s.width).Bind(3, s.height).Bind(4, s.variant).Bind(5, s.beginner).Bind(6, s.speedToDeath);
    };
    {
        const Query q = writer_->Prepare(
            "INSERT OR IGNORE INTO boards(day, width, height, variant, beginner, speed) VALUES(?, ?, ?, ?, ?, ?)");
        bind(q.operator->());
        q->Run();
    }
    const Query q = writer_->Prepare(
        "SELECT id FROM boards WHERE day = ? AND width = ? AND height = ? AND variant = ? AND beginner = ? AND speed = ?");
    bind(q.operator->());
    q->Step();
    return q->Integer(0);
}

std::int64_t BoardStore::PutRun(const std::vector<std::uint8_t>& bytes)
{
    const Query q = writer_->Prepare("INSERT INTO runs(bytes, size, hash) VALUES(?, ?, ?)");
    q->Bind(1, Trimmed(bytes)).Bind(2, std::int64_t(bytes.size())).Bind(3, std::int64_t(BytesHash(bytes)));
    q->Run();
    return writer_->LastRowId();
}

AddResult BoardStore::AddOne(const Pending& p)
{
    const CheckedSubmission& run = *p.run;
    const std::int64_t board = BoardId(run.day, run.board);
    const auto inputsHash = std::int64_t(InputsHash(run.run.inputs));
    {
        const Query q = writer_->Prepare("SELECT " ENTRY_COLUMNS ", r.bytes FROM entries e JOIN runs r ON r.id = e.run "
                                         "WHERE e.board = ? AND e.inputs_hash = ?");
        q->Bind(1, board).Bind(2, inputsHash);
        while (q->Step()) {
            const EntryRow e = EntryOf(*q.operator->(), 0);
            if (StoredInputsAre(q->Blob(7), e.ticks, run)) return {AddOutcome::Copy, e, board};
        }
    }
    if (run.board.Main()) {
        const Query q = writer_->Prepare("SELECT p.ticks, r.bytes FROM pars p JOIN runs r ON r.id = p.run "
                                         "WHERE p.day = ? AND p.inputs_hash = ?");
        q->Bind(1, run.day.Text()).Bind(2, inputsHash);
        if (q->Step() && StoredInputsAre(q->Blob(1), q->Integer(0), run)) return {AddOutcome::ParCopy, {}, board};
    }
    {
        const Query q = writer_->Prepare("SELECT " ENTRY_COLUMNS " FROM entries e WHERE e.board = ? AND e.name = ? AND e.best = 1");
        q->Bind(1, board).Bind(2, *p.name);
        if (q->Step()) {
            const EntryRow best = EntryOf(*q.operator->(), 0);
            if (AsGoodOrBetter(best, run)) return {AddOutcome::NotBetter, best, board};
            const Query u = writer_->Prepare("UPDATE entries SET best = 0 WHERE id = ?");
            u->Bind(1, best.id);
            u->Run();
        }
    }
    EntryRow e{.run = PutRun(run.bytes), .name = *p.name, .ticks = run.replay.ticks, .misses = run.replay.misses,
               .score = run.replay.score, .submitted = p.now};
    const Query q = writer_->Prepare("INSERT INTO entries(board, name, ticks, misses, score, submitted, inputs_hash, run, best) "
                                     "VALUES(?, ?, ?, ?, ?, ?, ?, ?, 1)");
    q->Bind(1, board).Bind(2, e.name).Bind(3, e.ticks).Bind(4, e.misses).Bind(5, e.score).Bind(6, e.submitted);
    q->Bind(7, inputsHash).Bind(8, e.run);
    q->Run();
    e.id = writer_->LastRowId();
    return {AddOutcome::OnBoard, e, board};
}

std::int64_t BoardStore::Place(Database& db, std::int64_t board, const EntryRow& e)
{
    if (e.id == 0) return 0;
    const Query q = db.Prepare(
        "SELECT COUNT(*) FROM entries WHERE board = ?1 AND best = 1 AND (ticks < ?2 OR (ticks = ?2 AND (misses < ?3 OR "
        "(misses = ?3 AND (score > ?4 OR (score = ?4 AND id < ?5))))))");
    q->Bind(1, board).Bind(2, e.ticks).Bind(3, e.misses).Bind(4, e.score).Bind(5, e.id);
    q->Step();
    return q->Integer(0) + 1;
}

std::vector<BoardRows> BoardStore::Day(const BoardDay& day, std::int64_t from, std::int64_t limit)
{
    Reader reader(*this);
    Database& db = *reader;
    // One read transaction: the boards, their counts and their entries as they stood at one moment.
    db.Execute("BEGIN");
    struct Board {
        std::int64_t id;
        BoardSettings settings;
    };
    std::vector<Board> boards;
    try {
        {
            const Query q = db.Prepare("SELECT id, width, height, variant, beginner, speed FROM boards WHERE day = ? "
                                       "AND EXISTS(SELECT 1 FROM entries WHERE board = boards.id) "
                                       "ORDER BY width, height, variant, beginner, speed");
            q->Bind(1, day.Text());
            while (q->Step())
                boards.push_back({q->Integer(0), {int(q->Integer(1)), int(q->Integer(2)), int(q->Integer(3)), q->Integer(4) != 0,
                                                  int(q->Integer(5))}});
        }
        const auto main = std::find_if(boards.begin(), boards.end(), [](const Board& b) { return b.settings.Main(); });
        if (main == boards.end())
            boards.insert(boards.begin(), Board{0, BoardSettings{}});
        else
            std::rotate(boards.begin(), main, main + 1);

        std::vector<BoardRows> rows;
        for (const Board& b : boards) {
            BoardRows r{b.settings, 0, {}};
            {
                const Query q = db.Prepare("SELECT COUNT(*) FROM entries WHERE board = ? AND best = 1");
                q->Bind(1, b.id);
                q->Step();
                r.entriesTotal = q->Integer(0);
            }
            const Query q = db.Prepare("SELECT " ENTRY_COLUMNS " FROM entries e WHERE e.board = ? AND e.best = 1 "
                                       "ORDER BY e.ticks, e.misses, e.score DESC, e.id LIMIT ? OFFSET ?");
            q->Bind(1, b.id).Bind(2, limit).Bind(3, from - 1);
            for (std::int64_t place = from; q->Step(); ++place) {
                r.entries.push_back(EntryOf(*q.operator->(), 0));
                r.entries.back().place = place;
            }
            rows.push_back(std::move(r));
        }
        db.Execute("COMMIT");
        return rows;
    } catch (...) {
        db.Execute("ROLLBACK");
        throw;
    }
}

std::optional<ParRow> BoardStore::Par(const BoardDay& day)
{
    Reader reader(*this);
    const Query q = (*reader).Prepare("SELECT run, ticks, misses, score, note FROM pars WHERE day = ?");
    q->Bind(1, day.Text());
    if (!q->Step()) return std::nullopt;
    ParRow par{std::nullopt, q->Integer(1), q->Integer(2), q->Integer(3), q->Text(4)};
    if (!q->Null(0)) par.run = q->Integer(0);
    return par;
}

void BoardStore::SetPar(const BoardDay& day, const std::optional<CheckedSubmission>& run, const std::string& note)
{
    std::lock_guard write(writeMutex_);
    Transaction t(*writer_);
    const Query q = writer_->Prepare("INSERT OR REPLACE INTO pars(day, run, ticks, misses, score, inputs_hash, note) "
                                     "VALUES(?, ?, ?, ?, ?, ?, ?)");
    q->Bind(1, day.Text()).Bind(7, note);
    if (run) {
        q->Bind(2, PutRun(run->bytes)).Bind(3, run->replay.ticks).Bind(4, run->replay.misses).Bind(5, run->replay.score);
        q->Bind(6, std::int64_t(InputsHash(run->run.inputs)));
    }
    q->Run();
    t.Commit();
}

std::optional<std::vector<std::uint8_t>> BoardStore::Run(std::int64_t id)
{
    Reader reader(*this);
    const Query q = (*reader).Prepare("SELECT bytes, size, hash FROM runs WHERE id = ?");
    q->Bind(1, id);
    if (!q->Step()) return std::nullopt;
    std::vector<std::uint8_t> bytes = q->Blob(0);
    const auto size = q->Integer(1);
    if (size < std::int64_t(bytes.size()) || size > ReplayFileBytes)
        throw StoreError("run " + std::to_string(id) + " is damaged in the store");
    bytes.resize(std::size_t(size));
    if (std::int64_t(BytesHash(bytes)) != q->Integer(2)) throw StoreError("run " + std::to_string(id) + " is damaged in the store");
    return bytes;
}
