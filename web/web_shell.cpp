#include "web/web_shell.h"

#include <emscripten.h>

#include <string>

namespace {

// The page's side of the shell, in web/page/burrowkin.js.
EM_JS(void, PageSetCaption, (const char* text), { Burrowkin.page.setCaption(UTF8ToString(text)); });
EM_JS(void, PageBeep, (), { Burrowkin.page.beep(); });
EM_JS(void, PageSetTimer, (int running), { Burrowkin.page.setTimer(running !== 0); });
EM_JS(void, PageOpenSetup, (), { Burrowkin.page.openSetup(); });
EM_JS(void, PageShowMessage, (const char* caption, const char* text),
      { Burrowkin.page.showMessage(UTF8ToString(caption), UTF8ToString(text)); });
EM_JS(double, PageUtcMillisecondsOfDay, (), { return Date.now() % 86400000; });
EM_JS(int, PageLocalSecond, (), { return new Date().getSeconds(); });

}  // namespace

void WebShell::SetCaption(std::string_view utf8) { PageSetCaption(std::string(utf8).c_str()); }

void WebShell::Beep() { PageBeep(); }

void WebShell::StopTimer() { PageSetTimer(0); }

void WebShell::StartTimer() { PageSetTimer(1); }

void WebShell::RunSetupDialog(SetupAnswer answered)
{
    pending_ = std::move(answered);
    PageOpenSetup();
}

void WebShell::SetupAnswered(std::optional<GameSettings> settings)
{
    // Taken out first: the answer may open the form again.
    SetupAnswer answered = std::move(pending_);
    pending_ = nullptr;
    if (answered) answered(std::move(settings));
}

void WebShell::ShowErrorBox(std::string_view caption, std::string_view text)
{
    PageShowMessage(std::string(caption).c_str(), std::string(text).c_str());
}

std::uint32_t WebShell::UtcMillisecondsOfDay() { return std::uint32_t(PageUtcMillisecondsOfDay()); }

int WebShell::LocalSecond() { return PageLocalSecond(); }

std::string WebShell::ReplayPath() { return std::string(WebDataFolder) + "/replay.dat"; }
