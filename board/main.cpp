// burrowkin-board: the daily board's server.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <pthread.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

#include "board/board_server.h"
#include "board/sqlite_db.h"

namespace {

int Fail(const std::string& message, int status)
{
    std::fprintf(stderr, "burrowkin-board: %s\n", message.c_str());
    return status;
}

// The data folder, made when missing, and held: one server a folder.
void HoldDataFolder(const std::string& folder)
{
    std::error_code e;
    std::filesystem::create_directories(folder, e);
    if (e) throw std::runtime_error("--data " + folder + ": cannot be made: " + e.message());
    const std::string lock = folder + "/lock";
    const int fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) throw std::runtime_error("--data " + folder + ": cannot be written: " + std::strerror(errno));
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        throw std::runtime_error("--data " + folder + ": another burrowkin-board keeps its boards there");
    // Held until the process ends.
}

}  // namespace

int main(int argc, char** argv)
{
    BoardOptions options;
    try {
        options = ParseBoardOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& e) {
        return Fail(e.what(), 2);
    }
    if (options.help || options.version) {
        std::fputs(options.help ? BoardUsage : "burrowkin-board (Korvane Burrowkin) " BURROWKIN_VERSION "\n", stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : Fail("cannot write to standard output", 1);
    }

    std::optional<PageFiles> page;
    try {
        if (options.page) page.emplace(*options.page);
    } catch (const std::exception& e) {
        return Fail(e.what(), 2);
    }

    // Every thread started from here on leaves these signals to the one that waits for them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    std::unique_ptr<BoardStore> store;
    try {
        HoldDataFolder(options.data);
        store = std::make_unique<BoardStore>(options.data + "/board.sqlite3");
    } catch (const std::exception& e) {
        return Fail(e.what(), 1);
    }

    BoardServer server(options, *store, std::move(page));
    int port;
    try {
        port = server.Bind();
    } catch (const std::exception& e) {
        return Fail(e.what(), 1);
    }
    const bool v6 = options.host.find(':') != std::string::npos;
    std::printf("http://%s%s%s:%d/\n", v6 ? "[" : "", options.host.c_str(), v6 ? "]" : "", port);
    std::fflush(stdout);

    std::thread waiter([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server.Stop();
    });
    server.Serve();
    server.Stop();
    // Wakes the waiter when the server ended by itself.
    pthread_kill(waiter.native_handle(), SIGTERM);
    waiter.join();
    if (server.Searching()) {
        // The par's search cannot be stopped; what the store keeps is safe
        // at any moment, and the search starts again next time.
        std::fflush(nullptr);
        std::_Exit(0);
    }
    return 0;
}
