#include "screens/entry_name.h"

#include <cstdint>

namespace {

struct Range {
    char32_t first, last;
};

// Unicode's control and format characters, its line and paragraph
// separators, the blank fillers, private use and the noncharacters below
// U+FFFE: characters that change how the text around them shows, show
// nothing, or show differently on every machine.
constexpr Range Unprintable[] = {
    {0x0000, 0x001F}, {0x007F, 0x009F}, {0x00AD, 0x00AD}, {0x0600, 0x0605}, {0x061C, 0x061C},
    {0x06DD, 0x06DD}, {0x070F, 0x070F}, {0x0890, 0x0891}, {0x08E2, 0x08E2}, {0x115F, 0x1160},
    {0x180E, 0x180E}, {0x200B, 0x200F}, {0x2028, 0x202E}, {0x2060, 0x206F}, {0x3164, 0x3164},
    {0xE000, 0xF8FF}, {0xFDD0, 0xFDEF}, {0xFEFF, 0xFEFF}, {0xFFA0, 0xFFA0}, {0xFFF9, 0xFFFB},
    {0x110BD, 0x110BD}, {0x110CD, 0x110CD}, {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A},
    {0xE0000, 0xE0FFF}, {0xF0000, 0x10FFFF},
};

// Unicode's spaces, which may stand between the words of a name only.
constexpr char32_t Spaces[] = {0x0020, 0x00A0, 0x1680, 0x2000, 0x2001, 0x2002, 0x2003, 0x2004, 0x2005,
                               0x2006, 0x2007, 0x2008, 0x2009, 0x200A, 0x202F, 0x205F, 0x3000};

bool Space(char32_t c)
{
    for (char32_t s : Spaces)
        if (c == s) return true;
    return false;
}

bool Printable(char32_t c)
{
    // U+xFFFE and U+xFFFF are noncharacters in every plane.
    if ((c & 0xFFFE) == 0xFFFE) return false;
    for (const Range& r : Unprintable)
        if (c >= r.first && c <= r.last) return false;
    return true;
}

// The next character of `text` from `at`, which moves past it; nothing when
// the bytes there are no well-formed UTF-8 (overlong forms and surrogates
// included).
std::optional<char32_t> NextCharacter(std::string_view text, std::size_t& at)
{
    const auto byte = [&](std::size_t i) { return std::uint8_t(text[i]); };
    const std::uint8_t lead = byte(at);
    int length;
    char32_t c, least;
    if (lead < 0x80) {
        length = 1, c = lead, least = 0;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, least = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() - at < std::size_t(length)) return std::nullopt;
    for (int i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    at += std::size_t(length);
    return c;
}

}  // namespace

std::optional<std::string> NameProblem(std::string_view name)
{
    if (name.empty()) return "a name is needed: ?name=YOUR_NAME";
    int characters = 0;
    bool spaceFirst = false, spaceLast = false;
    for (std::size_t at = 0; at < name.size();) {
        const auto c = NextCharacter(name, at);
        if (!c) return "the name is not well-formed UTF-8 text";
        if (!Printable(*c)) return "the name holds a character that does not print (a control or formatting character)";
        if (++characters > MaxNameCharacters)
            return "the name is longer than " + std::to_string(MaxNameCharacters) + " characters";
        spaceLast = Space(*c);
        if (characters == 1) spaceFirst = spaceLast;
    }
    if (spaceFirst || spaceLast) return "the name begins or ends with a space";
    return std::nullopt;
}
