#include "app/command_line.h"

CommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine line;
    line.palette256 = !arguments.empty() && arguments[0] == "/256";
    return line;
}
