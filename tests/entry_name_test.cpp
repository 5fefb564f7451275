#include <gtest/gtest.h>

#include "screens/entry_name.h"

namespace {

TEST(EntryName, OneToTwentyPrintableCharactersOfWellFormedUtf8)
{
    for (const char* good : {"a", "Ada Lovelace", "<script>x</script>", "洞窟の探検家", "Zoë & Jürgen", "12345678901234567890",
                             "一二三四五六七八九十一二三四五六七八九十", "🦇 bat"})
        EXPECT_EQ(NameProblem(good), std::nullopt) << good;

    const std::pair<std::string, const char*> bad[] = {
        {"", "needed"},
        {"123456789012345678901", "longer than 20"},
        {"一二三四五六七八九十一二三四五六七八九十一", "longer than 20"},
        {"tab\there", "does not print"},
        {std::string("nul\0here", 8), "does not print"},
        {"del\x7f", "does not print"},
        {"c1\xc2\x85", "does not print"},             // U+0085, next line
        {"rtl\xe2\x80\xae" "evil", "does not print"},  // U+202E, right-to-left override
        {"zero\xe2\x80\x8bwidth", "does not print"},   // U+200B
        {"bom\xef\xbb\xbf", "does not print"},         // U+FEFF
        {"line\xe2\x80\xa8", "does not print"},        // U+2028
        {"blank\xe3\x85\xa4", "does not print"},       // U+3164, the Hangul filler
        {"non\xef\xbf\xbe", "does not print"},         // U+FFFE
        {"tag\xf3\xa0\x80\x81", "does not print"},     // U+E0001
        {"\xff", "UTF-8"},
        {"\xc0\xaf", "UTF-8"},                          // an overlong '/'
        {"\xed\xa0\x80", "UTF-8"},                      // a surrogate
        {"\xf4\x90\x80\x80", "UTF-8"},                  // past U+10FFFF
        {"cut\xe6\xb4", "UTF-8"},
        {" lead", "space"},
        {"trail ", "space"},
        {"\xe3\x80\x80wide", "space"},                  // U+3000 at the start
        {"   ", "space"},
    };
    for (const auto& [name, why] : bad) {
        const auto problem = NameProblem(name);
        ASSERT_TRUE(problem.has_value()) << name;
        EXPECT_NE(problem->find(why), std::string::npos) << name << ": " << *problem;
    }
}

}  // namespace
