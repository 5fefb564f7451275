#include "app/keys_file.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "core/files.h"

namespace {

constexpr std::size_t MostBytes = 64 * 1024;  // far more than a keys file needs

std::string Env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? v : "";
}

}  // namespace

std::string DefaultKeysFile()
{
    // A relative XDG_CONFIG_HOME is ignored, as desktops do; then ~/.config.
    std::string config = Env("XDG_CONFIG_HOME");
    if (config.empty() || config[0] != '/') {
        const std::string home = Env("HOME");
        if (home.empty()) return "";
        config = home + "/.config";
    }
    return config + "/burrowkin/keys.conf";
}

std::optional<KeyBindings> ReadKeysFile(const std::string& path)
{
    std::error_code ec;
    if (path.empty() || !std::filesystem::exists(path, ec)) return std::nullopt;
    try {
        const std::vector<std::uint8_t> bytes = ReadWholeRegularFile(path, MostBytes);
        return KeyBindings::FromText(std::string(bytes.begin(), bytes.end()));
    } catch (const FileError& e) {
        std::fprintf(stderr, "burrowkin: the game's own keys, as %s cannot be read: %s\n", path.c_str(), e.what());
    } catch (const KeyBindingsError& e) {
        std::fprintf(stderr, "burrowkin: the game's own keys, as %s has a mistake: %s\n", path.c_str(), e.what());
    }
    return std::nullopt;
}

std::string KeepKeys(const KeyBindings& keys, const std::string& path)
{
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    if (ec) return "the folder of " + path + " cannot be made: " + ec.message();
    const std::string text = keys.Text();
    try {
        WriteFileAtomically(path, text.data(), text.size());
    } catch (const FileError& e) {
        return e.what();
    }
    return "";
}
