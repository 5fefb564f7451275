// Whatever is typed into a spin box reads as a number within its range.
#include <string_view>

#include "screens/spin_text.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    const int minimum = in.Byte() % 20;
    const int maximum = minimum + in.Byte();
    const std::string_view text(reinterpret_cast<const char*>(in.Rest()), in.RestSize());
    const int value = ReadSpinText(text, minimum, maximum);
    if (value < minimum || value > maximum) Broken("a reading outside the range");
    return 0;
}
