#include "tests/support/run_program.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

ProgramRun RunProgram(const std::string& commandLine)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path();
    const std::string errFile = (dir / ("burrowkin-stderr-" + std::to_string(::getpid()))).string();
    const std::string command = "cd " + dir.string() + " && " + commandLine + " 2>" + errFile;
    ProgramRun r;
    FILE* p = ::popen(command.c_str(), "r");
    if (!p) return r;
    char buffer[65536];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, p)) r.out.append(buffer, n);
    const int raw = ::pclose(p);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    std::ifstream err(errFile);
    r.err.assign(std::istreambuf_iterator<char>(err), {});
    fs::remove(errFile);
    return r;
}
