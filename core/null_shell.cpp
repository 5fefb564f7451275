#include "core/null_shell.h"

void NullShell::RunSetupDialog(SetupAnswer answered)
{
    ++DialogsShown;
    answered(DialogAnswer);
}

void NullShell::ShowErrorBox(std::string_view caption, std::string_view text)
{
    ErrorBoxes.push_back({std::string(caption), std::string(text)});
}
