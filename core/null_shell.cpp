#include "core/null_shell.h"

std::optional<GameSettings> NullShell::RunSetupDialog()
{
    ++DialogsShown;
    return DialogAnswer;
}

void NullShell::ShowErrorBox(std::string_view caption, std::string_view text)
{
    ErrorBoxes.push_back({std::string(caption), std::string(text)});
}
