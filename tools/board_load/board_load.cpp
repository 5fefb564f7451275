// board_load: many clients submitting runs to a board and reading it, on
// this machine, bounded in count and time. Start the board with the day of
// the runs as today and no rate limit, then:
//
//   board_load PORT DAY [--clients N] [--submissions N] [--reads N] [--seconds N]
//
// It makes good runs of the day's caves with the automatic player (each
// standing still first for a different time, so that no two are copies), and
// sends a mix: 3 good, 1 copy of a good one already sent and 1 damaged file
// in every 5. Then it reads the day's board, the JSON and the page by turns.
// It prints submissions and reads a second, and their latencies.
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tools/board_load/daily_runs.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Tally {
    std::mutex mutex;
    std::vector<double> milliseconds;
    std::map<int, int> statuses;
};

double Percentile(std::vector<double> values, double p)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(p * double(values.size())))];
}

void Report(const char* what, Tally& tally, double seconds)
{
    std::printf("%s: %zu in %.1f s, %.0f a second; latency p50 %.1f ms, p99 %.1f ms, worst %.1f ms; statuses", what,
                tally.milliseconds.size(), seconds, double(tally.milliseconds.size()) / seconds, Percentile(tally.milliseconds, 0.5),
                Percentile(tally.milliseconds, 0.99), Percentile(tally.milliseconds, 1));
    for (const auto& [status, count] : tally.statuses) std::printf(" %d: %d", status, count);
    std::printf("\n");
}

// Runs `count` requests from `clients` threads, each with its own kept-alive
// connection, until done or `until`.
template <typename Request>
double Drive(int port, int clients, int count, Clock::time_point until, Tally& tally, Request request)
{
    std::atomic<int> next = 0;
    const auto started = Clock::now();
    std::vector<std::thread> threads;
    for (int c = 0; c < clients; ++c)
        threads.emplace_back([&] {
            httplib::Client client("127.0.0.1", port);
            client.set_keep_alive(true);
            client.set_read_timeout(std::chrono::seconds(30));
            for (int i; (i = next++) < count && Clock::now() < until;) {
                const auto sent = Clock::now();
                const httplib::Result r = request(client, i);
                const double ms = std::chrono::duration<double, std::milli>(Clock::now() - sent).count();
                std::lock_guard lock(tally.mutex);
                tally.milliseconds.push_back(ms);
                ++tally.statuses[r ? r->status : -1];
            }
        });
    for (std::thread& t : threads) t.join();
    return std::chrono::duration<double>(Clock::now() - started).count();
}

int Number(const std::string& text) { return std::stoi(text); }

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: board_load PORT DAY [--clients N] [--submissions N] [--reads N] [--seconds N]\n");
        return 2;
    }
    const int port = Number(argv[1]);
    const auto day = ParseBoardDay(argv[2]);
    int clients = 32, submissions = 20000, reads = 20000, seconds = 120;
    for (int i = 3; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        int& value = option == "--clients" ? clients : option == "--submissions" ? submissions : option == "--reads" ? reads : seconds;
        value = Number(argv[i + 1]);
    }
    if (!day || clients < 1 || clients > 256 || seconds < 1 || seconds > 3600) {
        std::fprintf(stderr, "board_load: a day YYYY-MM-DD, 1 to 256 clients and 1 to 3600 seconds\n");
        return 2;
    }

    // The automatic player's runs of the day's main cave and of a few more
    // settings; the good runs are spread over them.
    std::vector<RunFile> bases;
    // The first character only: the others are not left alone while they stand still.
    for (const BoardSettings& s : {BoardSettings{}, BoardSettings{.beginner = true}, BoardSettings{.width = 50, .height = 50},
                                   BoardSettings{.width = 80, .height = 80}, BoardSettings{.speedToDeath = 12}}) {
        try {
            bases.push_back(AutomaticDailyRun(*day, s));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "board_load: %s\n", e.what());
        }
    }
    if (bases.empty()) return 1;
    const int good = submissions * 3 / 5 + 1;
    std::vector<std::string> runs;
    for (int i = 0; i < good; ++i) {
        const auto bytes = RunFileBytes(StandingFirst(bases[std::size_t(i) % bases.size()], std::uint32_t(i / int(bases.size()))));
        runs.emplace_back(bytes.begin(), bytes.end());
    }
    std::string damaged = runs[0];
    damaged[8] = 'X';

    std::printf("good runs of %zu settings; median %u ticks\n", bases.size(),
                bases[0].header.ticks + std::uint32_t(good / int(bases.size()) / 2));
    const auto until = Clock::now() + std::chrono::seconds(seconds);
    std::atomic<int> goodSent = 0;
    Tally sent;
    const double spent = Drive(port, clients, submissions, until, sent, [&](httplib::Client& client, int i) {
        std::string body;
        if (i % 5 == 4) {
            body = damaged;
        } else if (i % 5 == 3 && goodSent > 0) {
            body = runs[std::size_t(i) % std::size_t(goodSent.load())];
        } else {
            body = runs[std::size_t(std::min(goodSent++, good - 1))];
        }
        return client.Post(("/api/runs?name=load" + std::to_string(i)).c_str(), body, "application/octet-stream");
    });
    Report("submissions", sent, spent);
    std::printf("good submissions a second: %.0f\n", double(sent.statuses[201]) / spent);

    const std::string board = "/api/boards/" + day->Text();
    const std::string page = "/days/" + day->Text();
    Tally read;
    const double readSpent = Drive(port, clients, reads, Clock::now() + std::chrono::seconds(seconds), read,
                                   [&](httplib::Client& client, int i) { return client.Get((i % 2 ? page : board).c_str()); });
    Report("reads", read, readSpent);
    return 0;
}
