#include <gtest/gtest.h>

#include "app/command_line.h"

namespace {

TEST(CommandLine, OnlyAFirstArgumentOfExactlySlash256Counts)
{
    EXPECT_FALSE(ParseCommandLine({}).palette256);
    EXPECT_TRUE(ParseCommandLine({"/256"}).palette256);
    EXPECT_TRUE(ParseCommandLine({"/256", "anything", "--scale"}).palette256);
    for (const char* other : {"/2566", "/25", " /256", "/256 ", "256", "-256", "", "/256\n"})
        EXPECT_FALSE(ParseCommandLine({other}).palette256) << other;
    EXPECT_FALSE(ParseCommandLine({"x", "/256"}).palette256);
    EXPECT_FALSE(ParseCommandLine({"", "/256"}).palette256);
    EXPECT_FALSE(ParseCommandLine({"--scale", "2", "/256"}).palette256);
}

TEST(CommandLine, ScaleStandsAloneOrFollowsThePaletteOption)
{
    EXPECT_EQ(ParseCommandLine({}).scale, 1);
    EXPECT_EQ(ParseCommandLine({"/256"}).scale, 1);

    CommandLine both = ParseCommandLine({"/256", "--scale", "3"});
    EXPECT_TRUE(both.palette256);
    EXPECT_EQ(both.scale, 3);
    EXPECT_EQ(both.error, "");

    EXPECT_EQ(ParseCommandLine({"--scale", "1"}).scale, 1);
    EXPECT_EQ(ParseCommandLine({"--scale", "8"}).scale, 8);
    EXPECT_EQ(ParseCommandLine({"extra", "--scale", "2", "more"}).scale, 2);
    EXPECT_EQ(ParseCommandLine({"--scale", "2", "--scale", "5"}).scale, 5);
}

TEST(CommandLine, ABadScaleIsRefused)
{
    for (const char* bad : {"0", "9", "-1", "+2", "2.0", "2x", " 2", "", "two", "99999999999999999999", "/256"}) {
        CommandLine line = ParseCommandLine({"--scale", bad});
        EXPECT_EQ(line.scale, 1) << bad;
        EXPECT_EQ(line.error, "--scale takes a whole number from 1 to 8, not '" + std::string(bad) + "'");
    }
    // A bad value after a good one is refused too.
    EXPECT_NE(ParseCommandLine({"--scale", "4", "--scale", "x"}).error, "");

    // A missing value is no scale to keep going with: the game does not start.
    CommandLine missing = ParseCommandLine({"/256", "--scale"});
    EXPECT_TRUE(missing.palette256);
    EXPECT_EQ(missing.scale, 1);
    EXPECT_EQ(missing.error, "--scale needs a value: --scale N");
}

TEST(CommandLine, ValuesGoAfterAnEqualsSignOrAsTheNextArgument)
{
    EXPECT_EQ(ParseCommandLine({"--scale=2"}).scale, 2);
    EXPECT_EQ(ParseCommandLine({"/256", "--seed=0"}).seed, 0u);
    EXPECT_EQ(ParseCommandLine({"--seed", "4294967295"}).seed, 4294967295u);
    EXPECT_EQ(ParseCommandLine({"--watch=a=b.burrowkin-run"}).watch, "a=b.burrowkin-run");
    // An option is never a value nor a run file, not even after "--"; a lone
    // "-" and a negative number are values.
    EXPECT_FALSE(ParseCommandLine({"--watch", "--fullscreen"}).watch);
    EXPECT_FALSE(ParseCommandLine({"--", "--fullscreen"}).watch);
    EXPECT_FALSE(ParseCommandLine({"--", "--fullscreen"}).fullscreen);
    EXPECT_EQ(ParseCommandLine({"--", "/256"}).watch, "/256");
    EXPECT_EQ(ParseCommandLine({"--race", "-"}).race, "-");
    // Qt's own options and their values are Qt's.
    CommandLine qt = ParseCommandLine({"-platform", "offscreen", "-style=fusion", "-reverse", "--fullscreen"});
    EXPECT_EQ(qt.error, "");
    EXPECT_FALSE(qt.watch);
    EXPECT_TRUE(qt.fullscreen);
}

TEST(CommandLine, BadArgumentsAreOneLineNamingThem)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"--SCALE", "3"}, "unknown option '--SCALE'"},
        {{"-scale", "2"}, "unknown option '-scale'"},
        {{"--bogus=1"}, "unknown option '--bogus'"},
        {{"--seed"}, "--seed needs a value"},
        {{"--watch"}, "--watch needs a value"},
        {{"-platform"}, "-platform needs a value"},
        {{"--fullscreen=yes"}, "--fullscreen takes no value"},
        {{"--seed", "4294967296"}, "--seed takes a whole number from 0 to 4294967295, not '4294967296'"},
        {{"--seed", "-1"}, "not '-1'"},
        {{"--seed=+1"}, "not '+1'"},
        {{"--seed="}, "not ''"},
        {{"--seed", "1", "--daily"}, "--seed and --daily cannot go together"},
        {{"--record="}, "--record= names no folder"},
        {{"--record", ""}, "--record '' names no folder"},
        {{"--race", "a.burrowkin-run", "--watch", "b.burrowkin-run"}, "--race and --watch cannot go together"},
        {{"--race", "a.burrowkin-run", "--daily"}, "--daily and --race cannot go together"},
        {{"a.burrowkin-run", "b.burrowkin-run"}, "both 'a.burrowkin-run' and 'b.burrowkin-run'"},
        {{""}, "an empty name is no run file"},
        {{"--scale", "2", "/256"}, "'/256' counts only as the first argument"},
        {{"--race", "--record"}, "--race needs a value: --race FILE, not the option '--record'"},
        {{"--race", "--"}, "--race needs a value: --race FILE, not the option '--'"},
        {{"--", "--race"}, "after '--' come only run files, and '--race' is an option"},
        {{"-platform", "-reverse"}, "-platform needs a value, not the option '-reverse'"},
    };
    for (const auto& [arguments, message] : cases) {
        const CommandLine line = ParseCommandLine(arguments);
        EXPECT_NE(line.error.find(message), std::string::npos) << arguments[0] << ": " << line.error;
        EXPECT_EQ(line.error.find('\n'), std::string::npos);
    }
}

TEST(CommandLine, HelpAndVersionEndTheReadingButNotBeforeAnEarlierError)
{
    EXPECT_EQ(ParseCommandLine({"--help", "--bogus"}).request, CommandLine::Request::Help);
    EXPECT_EQ(ParseCommandLine({"--help", "--bogus"}).error, "");
    EXPECT_EQ(ParseCommandLine({"/256", "-h"}).request, CommandLine::Request::Help);
    EXPECT_EQ(ParseCommandLine({"--seed", "1", "--daily", "--version"}).request, CommandLine::Request::Version);
    EXPECT_NE(ParseCommandLine({"--bogus", "--help"}).error, "");
    EXPECT_EQ(ParseCommandLine({}).request, CommandLine::Request::Play);
}

TEST(CommandLine, RecordTakesAFolderOnlyWhenOneFollows)
{
    EXPECT_EQ(ParseCommandLine({}).record, CommandLine::RecordTo::Nowhere);
    EXPECT_EQ(ParseCommandLine({"--record"}).record, CommandLine::RecordTo::DataFolder);
    const CommandLine beforeAnOption = ParseCommandLine({"--record", "--fullscreen"});
    EXPECT_EQ(beforeAnOption.record, CommandLine::RecordTo::DataFolder);
    EXPECT_TRUE(beforeAnOption.fullscreen);
    EXPECT_EQ(ParseCommandLine({"--record=runs"}).recordFolder, "runs");
    // A file after the folder is still the run to watch, as a desktop entry passes it.
    const CommandLine both = ParseCommandLine({"--record", "runs", "/home/me/a.burrowkin-run"});
    EXPECT_EQ(both.record, CommandLine::RecordTo::Folder);
    EXPECT_EQ(both.recordFolder, "runs");
    EXPECT_EQ(both.watch, "/home/me/a.burrowkin-run");
}

TEST(CommandLine, ABoardTakesAnHttpAddressAndANameItWouldShow)
{
    const CommandLine both = ParseCommandLine({"--daily", "--board", "https://example.org/board/", "--name=Ada Lovelace"});
    EXPECT_EQ(both.error, "");
    EXPECT_EQ(both.board, "https://example.org/board/");
    EXPECT_EQ(both.name, "Ada Lovelace");
    EXPECT_FALSE(ParseCommandLine({}).board);
    EXPECT_EQ(ParseCommandLine({"--board", "http://x", "--name", "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"
                                                    "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"}).error,
              "") << "twenty characters of two bytes each";

    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--board", "http://x"}, "--board needs --name NAME"},
        {{"--name", "ada"}, "--name goes with --board URL"},
        {{"--board", "ftp://x", "--name", "ada"}, "starts with http:// or https://, not 'ftp://x'"},
        {{"--board", "x.org", "--name", "ada"}, "not 'x.org'"},
        {{"--board", "http://", "--name", "ada"}, "names no host"},
        {{"--board", "http://x/?day=1", "--name", "ada"}, "without a '?' or '#' part"},
        {{"--board", "http://x", "--board", "http://y", "--name", "ada"}, "--board is given twice"},
        {{"--board", "http://x", "--name="}, "--name needs a name of 1 to 20 printable characters"},
        {{"--board", "http://x", "--name", "twenty-one characters"}, "longer than 20 characters"},
        {{"--board", "http://x", "--name", "a\nb"}, "does not print"},
        {{"--board", "http://x", "--name", "ada "}, "begins or ends with a space"},
        {{"--board", "http://x", "--name", "\xff"}, "not well-formed UTF-8"},
        {{"--race", "https://"}, "--race 'https://' is no address of a run: it names no host"},
        {{"http://"}, "--watch 'http://' is no address of a run"},
        {{"--race", "http://x/a.burrowkin-run", "--daily"}, "--daily and --race cannot go together"},
    };
    for (const auto& [arguments, message] : cases) {
        const CommandLine line = ParseCommandLine(arguments);
        EXPECT_NE(line.error.find(message), std::string::npos) << arguments[0] << ": " << line.error;
        EXPECT_EQ(line.error.find('\n'), std::string::npos) << line.error;
    }
}

}  // namespace
