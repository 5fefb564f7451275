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
}

}  // namespace
