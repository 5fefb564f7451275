#include "board/board_views.h"

#include <cstdio>
#include <ctime>

namespace {

std::string Number(std::int64_t n) { return std::to_string(n); }

std::string Describe(const BoardSettings& s)
{
    std::string text = Number(s.width) + " × " + Number(s.height) + ", character " + Number(s.variant) + ", fatal speed " +
                       Number(s.speedToDeath);
    if (s.beginner) text += ", beginner";
    return text;
}

std::string ParJson(const DayView& v)
{
    static const char* const States[] = {"off", "searching", "found", "none"};
    std::string json = "{\"state\":\"" + std::string(States[int(v.parState)]) + "\"";
    if (v.parState == ParState::Found)
        json += ",\"ticks\":" + Number(v.par.ticks) + ",\"seconds\":" + Seconds(v.par.ticks) + ",\"misses\":" + Number(v.par.misses) +
                ",\"score\":" + Number(v.par.score) + ",\"run\":" + JsonString(RunAddress(*v.par.run));
    if (v.parState == ParState::Found || v.parState == ParState::None) json += ",\"note\":" + JsonString(v.par.note);
    return json + "}";
}

std::string EntryFields(const EntryRow& e)
{
    return "\"id\":" + Number(e.id) + ",\"place\":" + Number(e.place) + ",\"name\":" + JsonString(e.name) + ",\"ticks\":" +
           Number(e.ticks) + ",\"seconds\":" + Seconds(e.ticks) + ",\"misses\":" + Number(e.misses) + ",\"score\":" +
           Number(e.score) + ",\"submitted\":" + JsonString(UtcTime(e.submitted)) + ",\"run\":" + JsonString(RunAddress(e.run));
}

std::string RunLinks(const DayView& v, std::int64_t run)
{
    const std::string address = RunAddress(run);
    std::string links = "<a href=\"" + address + "\" download>download</a>";
    if (v.pageServed)
        links += " · <a href=\"/?watch=" + address + "\">watch</a> · <a href=\"/?race=" + address + "\">race</a>";
    return links;
}

constexpr const char* Style = R"(body{font-family:sans-serif;max-width:56em;margin:1em auto;padding:0 1em;color:#222;background:#fdfcf8}
table{border-collapse:collapse;width:100%}th,td{padding:.2em .6em;text-align:right;border-bottom:1px solid #ddd}
th:nth-child(2),td:nth-child(2){text-align:left}.par{background:#eef4ff;padding:.4em .6em}code{background:#eee;padding:0 .2em})";

}  // namespace

std::string EscapeHtml(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string JsonString(std::string_view text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        char escaped[8];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20 || c == '<' || c == '>' || c == '&' || c == 0x7f) {
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else if (c == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
                   (static_cast<unsigned char>(text[i + 2]) & 0xFE) == 0xA8) {
            // U+2028 and U+2029 end a line in JavaScript.
            out += static_cast<unsigned char>(text[i + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
            i += 2;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

std::string Seconds(std::int64_t ticks)
{
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%02lld", (long long)(ticks / 20), (long long)(ticks % 20 * 5));
    return text;
}

std::string UtcTime(std::int64_t milliseconds)
{
    const std::time_t t = std::time_t(milliseconds / 1000);
    std::tm utc{};
    ::gmtime_r(&t, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::string RunAddress(std::int64_t run) { return "/runs/" + Number(run) + ".burrowkin-run"; }

std::string SettingsJson(const BoardSettings& s, const BoardDay& day)
{
    return "{\"width\":" + Number(s.width) + ",\"height\":" + Number(s.height) + ",\"variant\":" + Number(s.variant) +
           ",\"beginner\":" + (s.beginner ? "true" : "false") + ",\"speed_to_death\":" + Number(s.speedToDeath) +
           ",\"seed\":" + Number(day.Seed()) + "}";
}

std::string DayJson(const DayView& v)
{
    std::string json = "{\"day\":\"" + v.day.Text() + "\",\"seed\":" + Number(v.day.Seed()) + ",\"open\":" + (v.open ? "true" : "false") +
                       ",\"boards\":[";
    for (std::size_t b = 0; b < v.boards.size(); ++b) {
        const BoardRows& board = v.boards[b];
        if (b) json += ",";
        json += "{\"settings\":" + SettingsJson(board.settings, v.day) + ",\"main\":" + (board.settings.Main() ? "true" : "false");
        if (board.settings.Main()) json += ",\"par\":" + ParJson(v);
        json += ",\"entries_total\":" + Number(board.entriesTotal) + ",\"entries\":[";
        for (std::size_t i = 0; i < board.entries.size(); ++i) json += (i ? ",{" : "{") + EntryFields(board.entries[i]) + "}";
        json += "]}";
    }
    return json + "]}\n";
}

std::string EntryJson(const EntryRow& e, const BoardDay& day, const BoardSettings& s, bool onBoard)
{
    return "{\"on_board\":" + std::string(onBoard ? "true" : "false") + ",\"day\":\"" + day.Text() + "\",\"settings\":" +
           SettingsJson(s, day) + "," + EntryFields(e) + ",\"board\":\"/api/boards/" + day.Text() + "\"}\n";
}

std::string ErrorJson(std::string_view reason) { return "{\"error\":" + JsonString(reason) + "}\n"; }

std::string DayHtml(const DayView& v)
{
    const std::string day = v.day.Text();
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                       "<title>Korvane Burrowkin: the daily board of " + day + "</title>\n<style>" + Style + "</style>\n</head>\n<body>\n"
                       "<h1>The daily board of " + day + "</h1>\n";
    html += "<p>Every cave of the day is made from the seed " + Number(v.day.Seed()) + ". ";
    if (v.open) {
        html += "Play it with <code>burrowkin --daily --record</code>";
        if (v.pageServed) html += " or <a href=\"/?daily\">in the browser</a>";
        html += ", then send the run: <code>curl --data-binary @FILE '" +
                EscapeHtml(v.host.empty() ? std::string() : "http://" + v.host) + "/api/runs?name=NAME'</code>. ";
        html += "Fewest ticks to the exit first, then fewest misses, then the highest score, then the earliest.";
    } else {
        html += "The day's boards take no more runs.";
    }
    html += "</p>\n<p><a href=\"/days/" + v.day.Before().Text() + "\">the day before</a> · <a href=\"/\">today</a> · "
            "<a href=\"/api/boards/" + day + "\">as JSON</a></p>\n";

    for (const BoardRows& board : v.boards) {
        html += "<section>\n<h2>" + Describe(board.settings) + (board.settings.Main() ? ": the main board" : "") + "</h2>\n";
        if (board.settings.Main()) {
            html += "<p class=\"par\">Par, the automatic player's run: ";
            switch (v.parState) {
            case ParState::Off: html += "not searched for on this board."; break;
            case ParState::Searching: html += "still searching."; break;
            case ParState::None: html += "none (" + EscapeHtml(v.par.note) + ")."; break;
            case ParState::Found:
                html += Seconds(v.par.ticks) + " s, " + Number(v.par.misses) + " misses, score " + Number(v.par.score) + ". " +
                        RunLinks(v, *v.par.run);
                break;
            }
            html += "</p>\n";
        }
        if (board.entries.empty()) {
            html += "<p>No entries" + std::string(v.from > 1 && board.entriesTotal > 0 ? " this far down." : " yet.") + "</p>\n</section>\n";
            continue;
        }
        html += "<table>\n<thead><tr><th>Place</th><th>Name</th><th>Time</th><th>Misses</th><th>Score</th><th>Run</th></tr></thead>\n<tbody>\n";
        for (const EntryRow& e : board.entries)
            html += "<tr><td>" + Number(e.place) + "</td><td>" + EscapeHtml(e.name) + "</td><td>" + Seconds(e.ticks) + " s</td><td>" +
                    Number(e.misses) + "</td><td>" + Number(e.score) + "</td><td>" + RunLinks(v, e.run) + "</td></tr>\n";
        html += "</tbody>\n</table>\n";
        const std::int64_t shown = v.from - 1 + std::int64_t(board.entries.size());
        if (shown < board.entriesTotal)
            html += "<p>" + Number(board.entriesTotal - shown) + " more: <a href=\"/days/" + day + "?from=" + Number(shown + 1) +
                    "\">places " + Number(shown + 1) + " on</a></p>\n";
        html += "</section>\n";
    }
    return html + "</body>\n</html>\n";
}
