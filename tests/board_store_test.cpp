#include <gtest/gtest.h>

#include <filesystem>
#include <sqlite3.h>
#include <unistd.h>

#include "board/board_store.h"
#include "board/sqlite_db.h"

namespace {

namespace fs = std::filesystem;

const BoardDay Day{2026, 3, 16};
const BoardSettings Small{.width = 20, .height = 20};

// A run as the checks would leave it, made by hand: `ticks` inputs drawn
// from `pattern`, and what its play came to.
CheckedSubmission Entry(std::int64_t ticks, std::int64_t misses, std::int64_t score, int pattern,
                        const BoardSettings& board = Small)
{
    CheckedSubmission s;
    s.run.header.settings = board.Game(Day);
    s.run.header.ticks = std::uint32_t(ticks);
    for (std::int64_t k = 0; k < ticks; ++k) s.run.inputs.push_back(std::uint16_t((k * 7 + pattern) % 64));
    s.replay = {true, std::uint32_t(ticks), std::int32_t(score), std::int32_t(misses)};
    s.day = Day;
    s.board = board;
    s.bytes = RunFileBytes(s.run);
    return s;
}

struct Folder {
    Folder() { fs::create_directories(path); }
    ~Folder() { fs::remove_all(path); }
    const fs::path path = fs::temp_directory_path() / ("burrowkin-board-store-" + std::to_string(::getpid()));
    std::string File() const { return (path / "board.sqlite3").string(); }
};

std::vector<std::string> Names(const BoardRows& board)
{
    std::vector<std::string> names;
    for (const EntryRow& e : board.entries) names.push_back(e.name + "@" + std::to_string(e.place));
    return names;
}

TEST(BoardStore, RanksByTicksThenMissesThenScoreThenTheEarlierAndKeepsEachNamesBest)
{
    const Folder folder;
    BoardStore store(folder.File());
    const auto add = [&](const CheckedSubmission& s, const std::string& name) { return store.Add(s, name, 1000); };

    EXPECT_EQ(add(Entry(500, 2, 100, 1), "slow").entry.place, 1);
    EXPECT_EQ(add(Entry(400, 3, 100, 2), "missing").entry.place, 1);
    EXPECT_EQ(add(Entry(400, 1, 50, 3), "careful").entry.place, 1);
    EXPECT_EQ(add(Entry(400, 1, 90, 4), "rich").entry.place, 1);
    const AddResult tie = add(Entry(400, 1, 90, 5), "later");
    EXPECT_EQ(tie.outcome, AddOutcome::OnBoard);
    EXPECT_EQ(tie.entry.place, 2);

    auto boards = store.Day(Day, 1, 100);
    ASSERT_EQ(boards.size(), 2u);
    EXPECT_TRUE(boards[0].settings.Main());
    EXPECT_EQ(boards[0].entriesTotal, 0);
    EXPECT_EQ(Names(boards[1]), (std::vector<std::string>{"rich@1", "later@2", "careful@3", "missing@4", "slow@5"}));

    // A name's better run takes the place of its earlier entry; one as good
    // or worse leaves it, and is not kept.
    const AddResult better = add(Entry(300, 0, 0, 6), "slow");
    EXPECT_EQ(better.outcome, AddOutcome::OnBoard);
    EXPECT_EQ(better.entry.place, 1);
    const AddResult same = add(Entry(300, 0, 0, 7), "slow");
    EXPECT_EQ(same.outcome, AddOutcome::NotBetter);
    EXPECT_EQ(same.entry.id, better.entry.id);
    EXPECT_EQ(same.entry.place, 1);
    EXPECT_EQ(add(Entry(900, 0, 0, 8), "slow").outcome, AddOutcome::NotBetter);
    boards = store.Day(Day, 1, 100);
    EXPECT_EQ(Names(boards[1]), (std::vector<std::string>{"slow@1", "rich@2", "later@3", "careful@4", "missing@5"}));
    EXPECT_EQ(boards[1].entriesTotal, 5);

    // A page further down.
    boards = store.Day(Day, 3, 2);
    EXPECT_EQ(Names(boards[1]), (std::vector<std::string>{"later@3", "careful@4"}));
    EXPECT_EQ(boards[1].entriesTotal, 5);

    // The same name on another board, and on another day, is another entry.
    EXPECT_EQ(add(Entry(900, 0, 0, 9, BoardSettings{}), "slow").outcome, AddOutcome::OnBoard);
    boards = store.Day(Day, 1, 100);
    EXPECT_EQ(Names(boards[0]), (std::vector<std::string>{"slow@1"}));
    EXPECT_TRUE(store.Day(Day.Before(), 1, 100)[0].entries.empty());
}

TEST(BoardStore, CopiesOfEntriesAndOfTheParAreFoundByTheirInputs)
{
    const Folder folder;
    BoardStore store(folder.File());
    const CheckedSubmission first = Entry(400, 1, 10, 1);
    ASSERT_EQ(store.Add(first, "first", 1).outcome, AddOutcome::OnBoard);

    // The same inputs under another name, or with another outcome claimed.
    const AddResult copy = store.Add(Entry(400, 0, 99, 1), "copier", 2);
    EXPECT_EQ(copy.outcome, AddOutcome::Copy);
    EXPECT_EQ(copy.entry.name, "first");
    // Inputs that differ in one tick are another run.
    CheckedSubmission other = Entry(400, 1, 10, 1);
    other.run.inputs[399] ^= 1;
    other.bytes = RunFileBytes(other.run);
    EXPECT_EQ(store.Add(other, "other", 3).outcome, AddOutcome::OnBoard);
    // A run the first replaced stays taken.
    ASSERT_EQ(store.Add(Entry(300, 0, 0, 2), "first", 4).outcome, AddOutcome::OnBoard);
    EXPECT_EQ(store.Add(Entry(400, 1, 10, 1), "late", 5).outcome, AddOutcome::Copy);
    // The same inputs on another board are no copy.
    EXPECT_EQ(store.Add(Entry(400, 1, 10, 1, BoardSettings{}), "main", 6).outcome, AddOutcome::OnBoard);

    const CheckedSubmission par = Entry(600, 0, 0, 3, BoardSettings{});
    store.SetPar(Day, par, "found");
    EXPECT_EQ(store.Add(Entry(600, 0, 0, 3, BoardSettings{}), "racer", 7).outcome, AddOutcome::ParCopy);
    EXPECT_EQ(store.Add(Entry(600, 0, 0, 3, Small), "racer", 8).outcome, AddOutcome::OnBoard);

    const auto parRow = store.Par(Day);
    ASSERT_TRUE(parRow && parRow->run);
    EXPECT_EQ(parRow->ticks, 600);
    EXPECT_EQ(store.Run(*parRow->run), par.bytes);
    store.SetPar(Day.Before(), std::nullopt, "no way found");
    EXPECT_EQ(store.Par(Day.Before())->run, std::nullopt);
    EXPECT_EQ(store.Par(Day.Before())->note, "no way found");
}

TEST(BoardStore, EntriesOutliveTheStoreAndADamagedRunIsNeverServed)
{
    const Folder folder;
    const CheckedSubmission kept = Entry(1234, 0, 0, 1);
    std::int64_t run = 0;
    {
        BoardStore store(folder.File());
        run = store.Add(kept, "kept", 1).entry.run;
    }
    {
        BoardStore store(folder.File());
        const auto boards = store.Day(Day, 1, 100);
        EXPECT_EQ(Names(boards[1]), (std::vector<std::string>{"kept@1"}));
        EXPECT_EQ(store.Run(run), kept.bytes);
        EXPECT_EQ(store.Run(run + 1), std::nullopt);
    }
    // One input changed on the disk.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(folder.File().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "UPDATE runs SET bytes = CAST(substr(bytes, 1, 40) || x'07' || substr(bytes, 42) AS BLOB)", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    BoardStore store(folder.File());
    EXPECT_THROW(store.Run(run), StoreError);
}

}  // namespace
