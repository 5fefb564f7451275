#include <climits>
#include <gtest/gtest.h>
#include <string>

#include "screens/spin_text.h"

namespace {

TEST(SpinTextTest, NumbersAreClampedToTheRange)
{
    EXPECT_EQ(ReadSpinText("100", 1, 216), 100);
    EXPECT_EQ(ReadSpinText("300", 1, 216), 216);
    EXPECT_EQ(ReadSpinText("0", 1, 216), 1);
    EXPECT_EQ(ReadSpinText("007", 0, 16), 7);
    EXPECT_EQ(ReadSpinText("  +42\t", 1, 216), 42);
    EXPECT_EQ(ReadSpinText("-5", 1, 216), 1);
    EXPECT_EQ(ReadSpinText("-5", -10, 10), -5);
}

TEST(SpinTextTest, AnythingElseReadsAsTheMinimum)
{
    for (const char* text : {"", "  ", "abc", "+", "-", "+-3", "4 2", "12x", "1e3", "0x10", "3.5", "１２"})
        EXPECT_EQ(ReadSpinText(text, 1, 216), 1) << '"' << text << '"';
    EXPECT_EQ(ReadSpinText("xy", 0, 16), 0);
    EXPECT_EQ(ReadSpinText(std::string_view("1\0", 2), 1, 216), 1);
}

TEST(SpinTextTest, HugeNumbersSaturateInsteadOfOverflowing)
{
    EXPECT_EQ(ReadSpinText("99999999999999999999", 1, 216), 216);
    EXPECT_EQ(ReadSpinText("-99999999999999999999", 1, 216), 1);
    EXPECT_EQ(ReadSpinText("4294967297", 1, 216), 216);  // 2^32 + 1 must not wrap to 1
    EXPECT_EQ(ReadSpinText(std::string(100000, '9'), 0, 16), 16);
    EXPECT_EQ(ReadSpinText("-2147483648", INT_MIN, INT_MAX), INT_MIN);
    EXPECT_EQ(ReadSpinText("2147483648", INT_MIN, INT_MAX), INT_MAX);
}

}  // namespace
