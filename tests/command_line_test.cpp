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
    EXPECT_TRUE(both.warnings.empty());

    EXPECT_EQ(ParseCommandLine({"--scale", "1"}).scale, 1);
    EXPECT_EQ(ParseCommandLine({"--scale", "8"}).scale, 8);
    EXPECT_EQ(ParseCommandLine({"extra", "--scale", "2", "more"}).scale, 2);
    EXPECT_EQ(ParseCommandLine({"--scale", "2", "--scale", "5"}).scale, 5);
}

TEST(CommandLine, ABadScaleIsReportedAndTheScaleKept)
{
    for (const char* bad : {"0", "9", "-1", "+2", "2.0", "2x", " 2", "", "two", "99999999999999999999", "/256", "--scale"}) {
        CommandLine line = ParseCommandLine({"--scale", bad});
        EXPECT_EQ(line.scale, 1) << bad;
        ASSERT_EQ(line.warnings.size(), 1u) << bad;
        EXPECT_NE(line.warnings[0].find("--scale"), std::string::npos);
        EXPECT_NE(line.warnings[0].find("keeping scale 1"), std::string::npos) << line.warnings[0];
    }
    // A bad value after a good one keeps the good one.
    CommandLine later = ParseCommandLine({"--scale", "4", "--scale", "x"});
    EXPECT_EQ(later.scale, 4);
    EXPECT_EQ(later.warnings.size(), 1u);

    CommandLine missing = ParseCommandLine({"/256", "--scale"});
    EXPECT_TRUE(missing.palette256);
    EXPECT_EQ(missing.scale, 1);
    EXPECT_EQ(missing.warnings.size(), 1u);
}

TEST(CommandLine, OtherArgumentsAreIgnoredQuietly)
{
    CommandLine line = ParseCommandLine({"--scale=2", "-scale", "2", "--SCALE", "3", "/256"});
    EXPECT_EQ(line.scale, 1);
    EXPECT_FALSE(line.palette256);
    EXPECT_TRUE(line.warnings.empty());
}

}  // namespace
