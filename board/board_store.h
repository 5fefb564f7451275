#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "board/board_day.h"
#include "board/submission.h"

class Database;

struct EntryRow {
    std::int64_t id = 0;
    std::int64_t run = 0;  // the run's number: /runs/RUN.burrowkin-run
    std::string name;
    std::int64_t ticks = 0;
    std::int64_t misses = 0;
    std::int64_t score = 0;
    std::int64_t submitted = 0;  // milliseconds since 1970, UTC
    std::int64_t place = 0;      // on its board, from 1
};

// The automatic player's run of a day's main board, or why there is none.
struct ParRow {
    std::optional<std::int64_t> run;
    std::int64_t ticks = 0;
    std::int64_t misses = 0;
    std::int64_t score = 0;
    std::string note;
};

struct BoardRows {
    BoardSettings settings;
    std::int64_t entriesTotal = 0;
    std::vector<EntryRow> entries;  // in order, from the place asked for
};

enum class AddOutcome {
    OnBoard,    // the entry is on its board
    NotBetter,  // its name has an entry as good or better there: `entry` is that one
    Copy,       // another entry played these inputs: `entry` is that one
    ParCopy,    // the par played these inputs
};

struct AddResult {
    AddOutcome outcome = AddOutcome::OnBoard;
    EntryRow entry;
    std::int64_t board = 0;  // the board's row
};

// The boards in one SQLite file, in WAL mode with every commit synced: an
// entry that Add returned OnBoard for is on the disk. Adds from many threads
// are committed together, a batch at a time, by one writer thread; reads go
// on beside it.
class BoardStore {
public:
    explicit BoardStore(const std::string& file);
    ~BoardStore();
    BoardStore(const BoardStore&) = delete;
    BoardStore& operator=(const BoardStore&) = delete;

    // Throws StoreError when the entry could not be kept.
    AddResult Add(const CheckedSubmission& run, const std::string& name, std::int64_t now);

    // The day's boards that have entries, and always its main board first;
    // each with the entries from place `from` (1 on), at most `limit`.
    std::vector<BoardRows> Day(const BoardDay& day, std::int64_t from, std::int64_t limit);
    std::optional<ParRow> Par(const BoardDay& day);
    void SetPar(const BoardDay& day, const std::optional<CheckedSubmission>& run, const std::string& note);

    // A run's file, or nothing when there is no such run. Throws StoreError
    // when what was stored is not what comes back.
    std::optional<std::vector<std::uint8_t>> Run(std::int64_t id);

private:
    struct Pending {
        const CheckedSubmission* run;
        const std::string* name;
        std::int64_t now;
        std::promise<AddResult> done;
    };

    class Reader;
    void Write();
    AddResult AddOne(const Pending& p);
    std::int64_t BoardId(const BoardDay& day, const BoardSettings& s);
    std::int64_t PutRun(const std::vector<std::uint8_t>& bytes);
    std::int64_t Place(Database& db, std::int64_t board, const EntryRow& e);

    std::string file_;
    std::mutex writeMutex_;  // held while writer_ is in use
    std::unique_ptr<Database> writer_;
    std::mutex readersMutex_;
    std::vector<std::unique_ptr<Database>> readers_;

    std::mutex queueMutex_;
    std::condition_variable queued_;
    std::deque<Pending*> queue_;
    bool closing_ = false;
    std::thread writerThread_;
};
