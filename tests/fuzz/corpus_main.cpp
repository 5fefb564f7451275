// Without libFuzzer: runs a fuzz target on every file named or found in the
// folders named, so that the test suite replays the committed corpus.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    int files = 0;
    auto run = [&](const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        ++files;
    };
    for (int i = 1; i < argc; ++i) {
        if (fs::is_directory(argv[i])) {
            std::vector<fs::path> entries;
            for (const auto& e : fs::directory_iterator(argv[i]))
                if (e.is_regular_file()) entries.push_back(e.path());
            std::sort(entries.begin(), entries.end());
            for (const auto& e : entries) run(e);
        } else {
            run(argv[i]);
        }
    }
    std::printf("%d inputs ran\n", files);
    return files > 0 ? 0 : 1;
}
