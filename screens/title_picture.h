#pragma once

#include <array>
#include <string_view>

// What the title screen shows. The logos are mosaics of the blue band pieces,
// letters "g" to "o" of the tile font: 15 by 4 cells each, the last seven of
// every row the same for all three characters.
// Pieces: g ─  h │  i ┼  j ╭  k ╮  l ╰  m ╯  n a rounded end on the right, o one
// at the bottom. They spell KORV, LUMI and TESS before a shared BUR!.
inline constexpr std::array<std::array<std::string_view, 4>, 3> TitleLogo = {{
    {"hojkjkhhjkhhjkh", "imhhimhhimhhimh", "ikhhhkhhikhhhko", "hhlmhhlmlmlmhhn"},
    {"hohhjikhjkhhjkh", "hohhhhhhimhhimh", "hohhhhhhikhhhko", "lglmhhhhlmlmhhn"},
    {"gkjgjgjgjkhhjkh", "ohinlklkimhhimh", "ohhnohohikhhhko", "ohlggmgmlmlmhhn"},
}};
inline constexpr std::array<std::string_view, 3> TitleLine = {"KORVANE BURROWKIN", "LUMIRAS BURROWKIN", "TESSADO BURROWKIN"};

inline constexpr std::string_view MakerLine = "BURROW WORKS";         // 12 cells
inline constexpr std::string_view AuthorLine = "OLD MOLE";            // 8
inline constexpr std::string_view SecondAuthorLine = "THE TUNNEL KEEPER";  // 17
inline constexpr std::string_view CreditLine = "THANKS: ALL MOLES";   // 17
inline constexpr std::string_view VersionLine = "\x7fVERSION 2.2";    // the exit sign, then the version
inline constexpr std::string_view JoystickLine = "\x8fOK";           // the game pad
