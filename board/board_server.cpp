#include "board/board_server.h"

#include <httplib.h>

#include <chrono>
#include <cstring>
#include <regex>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include "screens/entry_name.h"
#include "board/sqlite_db.h"
#include "cave/replay.h"

namespace {

// Threads that serve connections, one a connection while it lasts.
constexpr int ConnectionThreads = 64;
constexpr int ListenBacklog = 512;
// A client idle this long between reads, or the keep-alive wait, is cut off.
constexpr int IdleSeconds = 5;
// A run file must arrive whole within this.
constexpr auto BodyTime = std::chrono::seconds(10);
constexpr std::int64_t DefaultEntriesShown = 100, MostEntriesShown = 1000;

const char* const BoardPolicy =
    "default-src 'none'; style-src 'unsafe-inline'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";

void Refuse(httplib::Response& res, int status, const std::string& reason)
{
    res.status = status;
    res.set_content(ErrorJson(reason), "application/json");
}

std::int64_t NowMilliseconds()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// A whole number parameter within [low, high], or the default.
std::optional<std::int64_t> NumberParameter(const httplib::Request& req, const char* name, std::int64_t fallback,
                                            std::int64_t low, std::int64_t high)
{
    if (!req.has_param(name)) return fallback;
    const std::string text = req.get_param_value(name);
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    const std::int64_t n = std::stoll(text);
    if (n < low || n > high) return std::nullopt;
    return n;
}

}  // namespace

// httplib's server, with the listening socket's backlog raised: its own is 5.
class HttpServer : public httplib::Server {
public:
    void RaiseBacklog() { ::listen(svr_sock_, ListenBacklog); }
};

BoardServer::BoardServer(const BoardOptions& options, BoardStore& store, std::optional<PageFiles> page)
    : options_(options), store_(store), page_(std::move(page)),
      rateLimit_(options.submissionsPerMinute, options.submissionBurst),
      replays_(std::clamp<std::ptrdiff_t>(std::thread::hardware_concurrency(), 1, 256)), http_(std::make_unique<HttpServer>())
{
    httplib::Server& s = *http_;
    s.new_task_queue = [] { return new httplib::ThreadPool(ConnectionThreads); };
    s.set_read_timeout(IdleSeconds);
    s.set_write_timeout(IdleSeconds);
    s.set_keep_alive_timeout(IdleSeconds);
    s.set_keep_alive_max_count(1000);
    s.set_payload_max_length(std::size_t(ReplayFileBytes));
    s.set_tcp_nodelay(true);
    // httplib's own options add SO_REUSEPORT, with which a second server
    // would share the port instead of being refused it.
    s.set_socket_options([](socket_t sock) {
        const int yes = 1;
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    // Burrowkin-Board tells the page it serves that a board answers here, so
    // that a page on any other server never asks for one.
    s.set_default_headers({{"X-Content-Type-Options", "nosniff"}, {"Referrer-Policy", "no-referrer"}, {"Burrowkin-Board", "1"}});

    s.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        return Early(req, res) ? httplib::Server::HandlerResponse::Handled : httplib::Server::HandlerResponse::Unhandled;
    });
    s.Post("/api/runs", [this](const httplib::Request& req, httplib::Response& res, const httplib::ContentReader& read) {
        std::string body;
        const auto deadline = std::chrono::steady_clock::now() + BodyTime;
        bool late = false;
        const bool whole = read([&](const char* data, std::size_t size) {
            body.append(data, size);
            late = std::chrono::steady_clock::now() > deadline;
            return !late && body.size() <= std::size_t(ReplayFileBytes);
        });
        if (!whole || late) {
            res.set_header("Connection", "close");
            return late ? Refuse(res, 408, "the run file came too slowly") : Refuse(res, 400, "the run file did not arrive whole");
        }
        Submit(req, res, body);
    });
    s.Get("/api/boards/([^/]+)", [this](const httplib::Request& req, httplib::Response& res) { ShowDay(req, res, req.matches[1], true); });
    s.Get("/days/([^/]+)", [this](const httplib::Request& req, httplib::Response& res) { ShowDay(req, res, req.matches[1], false); });
    s.Get("/runs/([0-9]{1,15})\\.burrowkin-run", [this](const httplib::Request& req, httplib::Response& res) { ServeRun(req.matches[1], res); });
    s.Get("/", [this](const httplib::Request& req, httplib::Response& res) {
        // The browser edition takes these; the board's own page has only ?day= and ?from=.
        for (const char* own : {"watch", "race", "seed", "daily", "manual"})
            if (page_ && req.has_param(own) && ServePage("/", res)) return;
        ShowDay(req, res, req.has_param("day") ? req.get_param_value("day") : "today", false);
    });
    s.Get("/.*", [this](const httplib::Request& req, httplib::Response& res) {
        if (!ServePage(req.path, res)) Refuse(res, 404, "no such page: " + req.path);
    });
    s.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (res.body.empty()) Refuse(res, res.status, "the request cannot be served (HTTP status " + std::to_string(res.status) + ")");
    });
    s.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const StoreError& error) {
            std::fprintf(stderr, "burrowkin-board: %s\n", error.what());
            Refuse(res, 503, "the board cannot keep or read entries just now; try again later");
        } catch (const std::exception& error) {
            std::fprintf(stderr, "burrowkin-board: %s\n", error.what());
            Refuse(res, 500, "the board failed");
        }
    });
}

BoardServer::~BoardServer()
{
    {
        std::lock_guard lock(parMutex_);
        stopping_ = true;
    }
    parWake_.notify_all();
    if (parThread_.joinable()) parThread_.join();
}

int BoardServer::Bind()
{
    const int port = options_.port == 0 ? http_->bind_to_any_port(options_.host) : (http_->bind_to_port(options_.host, options_.port) ? options_.port : -1);
    if (port < 0) throw std::runtime_error("cannot listen on " + options_.host + ":" + std::to_string(options_.port) + ": " + std::strerror(errno));
    http_->RaiseBacklog();
    if (options_.parSeconds > 0) parThread_ = std::thread([this] { KeepPars(); });
    return port;
}

void BoardServer::Serve() { http_->listen_after_bind(); }

void BoardServer::Stop()
{
    http_->stop();
    {
        std::lock_guard lock(parMutex_);
        stopping_ = true;
    }
    parWake_.notify_all();
}

BoardDay BoardServer::Today() const { return options_.today.value_or(BoardDayOf(std::time(nullptr))); }

bool BoardServer::Early(const httplib::Request& req, httplib::Response& res)
{
    if (req.method != "POST" || req.path != "/api/runs") return false;
    if (!rateLimit_.Take(req.remote_addr)) {
        const int wait = rateLimit_.WaitSeconds(req.remote_addr);
        res.set_header("Retry-After", std::to_string(wait));
        Refuse(res, 429, "too many submissions from your address: try again in " + std::to_string(wait) + " s");
    } else if (const std::string length = req.get_header_value("Content-Length");
               req.has_header("Transfer-Encoding") || req.get_header_value_count("Content-Length") != 1 || length.empty() ||
               length.find_first_not_of("0123456789") != std::string::npos) {
        Refuse(res, 411, "send the run file with its length: curl --data-binary @FILE");
    } else if (length.size() > 7 || std::stol(length) > ReplayFileBytes) {
        Refuse(res, 413, "too large: a run file has " + std::to_string(ReplayFileBytes) + " bytes");
    } else {
        return false;
    }
    // What the client still sends is not read: the connection ends here.
    res.set_header("Connection", "close");
    return true;
}

void BoardServer::Submit(const httplib::Request& req, httplib::Response& res, const std::string& body)
{
    const std::string name = req.get_param_value("name");
    if (const auto problem = NameProblem(name)) return Refuse(res, 400, "name not allowed: " + *problem);
    try {
        const std::vector<std::uint8_t> bytes(body.begin(), body.end());
        replays_.acquire();
        std::optional<CheckedSubmission> checked;
        try {
            checked = CheckSubmission(bytes, Today());
        } catch (...) {
            replays_.release();
            throw;
        }
        replays_.release();
        const AddResult added = store_.Add(*checked, name, NowMilliseconds());
        const EntryRow& e = added.entry;
        switch (added.outcome) {
        case AddOutcome::OnBoard:
            res.status = 201;
            res.set_header("Location", RunAddress(e.run));
            res.set_content(EntryJson(e, checked->day, checked->board, true), "application/json");
            break;
        case AddOutcome::NotBetter:
            // Taken and checked, but the name's earlier entry stands.
            res.status = 200;
            res.set_content(EntryJson(e, checked->day, checked->board, false), "application/json");
            break;
        case AddOutcome::Copy:
            Refuse(res, 409, "a copy: the run of " + e.name + " (place " + std::to_string(e.place) + ") played the same inputs");
            break;
        case AddOutcome::ParCopy: Refuse(res, 409, "a copy of the par, the automatic player's run"); break;
        }
    } catch (const Refusal& r) {
        Refuse(res, r.status, r.what());
    }
}

DayView BoardServer::View(const BoardDay& day, std::int64_t from, std::int64_t limit, const httplib::Request& req)
{
    DayView v;
    v.day = day;
    v.boards = store_.Day(day, from, limit);
    v.pageServed = page_.has_value();
    v.from = from;
    const BoardDay today = Today();
    v.open = day == today || day == today.Before();
    if (const auto par = store_.Par(day)) {
        v.par = *par;
        v.parState = par->run ? ParState::Found : ParState::None;
    } else if (options_.parSeconds > 0 && v.open) {
        v.parState = ParState::Searching;
    } else {
        v.parState = ParState::Off;
    }
    const std::string host = req.get_header_value("Host");
    if (host.size() < 100 && host.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-:[]") == std::string::npos)
        v.host = host;
    return v;
}

void BoardServer::ShowDay(const httplib::Request& req, httplib::Response& res, const std::string& dayText, bool json)
{
    const BoardDay today = Today();
    const auto day = dayText == "today" ? std::optional(today) : ParseBoardDay(dayText);
    if (!day) return Refuse(res, 400, "not a day: '" + dayText + "' (YYYY-MM-DD)");
    if (*day > today) return Refuse(res, 404, "the board of " + day->Text() + " is not open yet");
    const auto from = NumberParameter(req, "from", 1, 1, 1'000'000'000);
    const auto limit = NumberParameter(req, "limit", DefaultEntriesShown, 1, MostEntriesShown);
    if (!from || !limit) return Refuse(res, 400, "from is a place from 1 on, limit a number of entries from 1 to 1000");
    const DayView view = View(*day, *from, *limit, req);
    res.set_header("Cache-Control", "no-cache");
    if (json) {
        res.set_content(DayJson(view), "application/json");
    } else {
        res.set_header("Content-Security-Policy", BoardPolicy);
        res.set_content(DayHtml(view), "text/html; charset=utf-8");
    }
}

void BoardServer::ServeRun(const std::string& id, httplib::Response& res)
{
    const auto bytes = store_.Run(std::stoll(id));
    if (!bytes) return Refuse(res, 404, "no such run: " + id);
    // A run's address never shows another run.
    res.set_header("Cache-Control", "public, max-age=31536000, immutable");
    res.set_header("Content-Disposition", "attachment; filename=\"board-" + id + RunExtension + "\"");
    res.set_content(std::string(bytes->begin(), bytes->end()), "application/x-burrowkin-run");
}

bool BoardServer::ServePage(const std::string& path, httplib::Response& res)
{
    if (!page_) return false;
    auto file = page_->Find(path);
    if (!file) return false;
    res.set_header("Cache-Control", "no-cache");
    res.set_content(std::move(file->bytes), file->type.c_str());
    return true;
}

void BoardServer::KeepPars()
{
    // The search takes a core for a while: the replays of submissions go first.
    ::setpriority(PRIO_PROCESS, ::gettid(), 10);
    const ParLimits limits{double(options_.parSeconds), std::size_t(options_.parMemoryMegabytes) << 20};
    std::unique_lock lock(parMutex_);
    while (!stopping_) {
        const BoardDay today = Today();
        for (const BoardDay& day : {today, today.Before()}) {
            if (stopping_ || store_.Par(day)) continue;
            searching_ = true;
            lock.unlock();
            const ParSearch par = SearchPar(day, limits);
            try {
                store_.SetPar(day, par.run, par.note);
                std::fprintf(stderr, "burrowkin-board: the par of %s: %s\n", day.Text().c_str(), par.note.c_str());
            } catch (const StoreError& e) {
                std::fprintf(stderr, "burrowkin-board: the par of %s is not kept: %s\n", day.Text().c_str(), e.what());
            }
            lock.lock();
            searching_ = false;
        }
        // A new day brings a new main board.
        parWake_.wait_for(lock, std::chrono::seconds(30));
    }
}
