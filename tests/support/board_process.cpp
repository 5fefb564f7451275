#include "tests/support/board_process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <unistd.h>

extern char** environ;

BoardProcess StartBoardProcess(std::vector<std::string> args, const std::string& errors)
{
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    BoardProcess board;
    int out[2];
    if (::pipe(out) != 0) return board;
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_adddup2(&files, out[1], 1);
    posix_spawn_file_actions_addclose(&files, out[0]);
    posix_spawn_file_actions_addopen(&files, 2, errors.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (posix_spawn(&board.pid, argv[0], &files, nullptr, argv.data(), environ) != 0) board.pid = -1;
    posix_spawn_file_actions_destroy(&files);
    ::close(out[1]);

    // The address line, within a minute however slow the build.
    std::string line;
    pollfd p{out[0], POLLIN, 0};
    while (line.find('\n') == std::string::npos && ::poll(&p, 1, 60'000) == 1) {
        char c[256];
        const ssize_t n = ::read(out[0], c, sizeof c);
        if (n <= 0) break;
        line.append(c, std::size_t(n));
    }
    ::close(out[0]);
    board.firstLine = line.substr(0, line.find('\n'));
    return board;
}
