#pragma once

#include <string_view>

// What a spin box's text reads as: the number typed, clamped to
// [minimum, maximum]; a text that is not a number reads as `minimum`.
// Spaces around the number and one leading sign are allowed; a number of any
// length saturates instead of overflowing.
int ReadSpinText(std::string_view text, int minimum, int maximum);
