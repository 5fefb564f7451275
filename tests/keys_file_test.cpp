// The keys file: read at start when it is there, kept only when asked, and a
// broken one named in a line and left as it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "app/keys_file.h"

namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& file)
{
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(KeysFile, KeptKeysReadBackAndABrokenFileIsNamedAndLeftAsItIs)
{
    const fs::path dir = fs::temp_directory_path() / ("burrowkin-keys-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    const fs::path file = dir / "burrowkin/keys.conf";
    EXPECT_EQ(ReadKeysFile(file.string()), std::nullopt);  // not there: the game's own keys, and nothing said

    KeyBindings mine = KeyBindings::Defaults();
    mine.Bind(Control::Up, 'W');
    EXPECT_EQ(KeepKeys(mine, file.string()), "");
    EXPECT_EQ(ReadKeysFile(file.string()), mine);
    EXPECT_EQ(fs::directory_iterator(file.parent_path())->path(), file) << "no temporary file is left";

    const std::string kept = Contents(file);
    const long line = long(std::count(kept.begin(), kept.end(), '\n')) + 1;
    std::ofstream(file, std::ios::app) << "up = F3\n";
    const std::string broken = Contents(file);
    testing::internal::CaptureStderr();
    EXPECT_EQ(ReadKeysFile(file.string()), std::nullopt);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "burrowkin: the game's own keys, as " + file.string() + " has a mistake: line " + std::to_string(line) + ": a second line for up\n");
    EXPECT_EQ(Contents(file), broken);

    ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    EXPECT_EQ(DefaultKeysFile(), file.string());
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(DefaultKeysFile(), "/home/someone/.config/burrowkin/keys.conf");
    fs::remove_all(dir);
}

}  // namespace
