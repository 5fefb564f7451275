#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "board/board_store.h"

// Text made safe for HTML, in an element or an attribute.
std::string EscapeHtml(std::string_view text);
// A JSON string, quotes included; safe inside HTML and JavaScript too.
std::string JsonString(std::string_view text);

// "56.05": a run's time in seconds, 20 ticks a second.
std::string Seconds(std::int64_t ticks);
// "2026-12-08T14:03:27Z".
std::string UtcTime(std::int64_t milliseconds);
// "/runs/12.burrowkin-run".
std::string RunAddress(std::int64_t run);

enum class ParState {
    Off,        // the board searches for no par
    Searching,  // not found yet
    Found,
    None,       // searched for, and none found: `par.note` says why
};

// What a day's page and its JSON show.
struct DayView {
    BoardDay day;
    std::vector<BoardRows> boards;  // the main board first
    ParState parState = ParState::Off;
    ParRow par;
    bool pageServed = false;  // the browser edition is served at "/": watch and race links
    std::string host;         // the address the reader asked for, for the curl line; may be empty
    bool open = false;        // the day still takes runs
    std::int64_t from = 1;    // the place of the first entry shown
};

std::string DayJson(const DayView& view);
std::string DayHtml(const DayView& view);
// An entry as a submission's answer shows it.
std::string EntryJson(const EntryRow& entry, const BoardDay& day, const BoardSettings& settings, bool onBoard);
std::string SettingsJson(const BoardSettings& settings, const BoardDay& day);
// {"error":"..."}.
std::string ErrorJson(std::string_view reason);
