#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <semaphore>
#include <string>
#include <thread>

#include "board/board_options.h"
#include "board/board_store.h"
#include "board/board_views.h"
#include "board/page_files.h"
#include "board/par.h"
#include "board/rate_limit.h"

namespace httplib {
class Request;
class Response;
}
class HttpServer;

// The board over HTTP: its pages, its JSON, its runs, the submissions, the
// browser edition's files, and the par searched for in the background.
class BoardServer {
public:
    BoardServer(const BoardOptions& options, BoardStore& store, std::optional<PageFiles> page);
    ~BoardServer();

    // The port it listens on. Throws std::runtime_error when it cannot.
    int Bind();
    // Serves until Stop; requests under way are finished.
    void Serve();
    void Stop();
    // The par's search is under way: it cannot be stopped halfway.
    bool Searching() const { return searching_; }

private:
    BoardDay Today() const;
    DayView View(const BoardDay& day, std::int64_t from, std::int64_t limit, const httplib::Request& request);
    bool Early(const httplib::Request& request, httplib::Response& response);
    void Submit(const httplib::Request& request, httplib::Response& response, const std::string& body);
    void ShowDay(const httplib::Request& request, httplib::Response& response, const std::string& day, bool json);
    void ServeRun(const std::string& id, httplib::Response& response);
    bool ServePage(const std::string& path, httplib::Response& response);
    void KeepPars();

    BoardOptions options_;
    BoardStore& store_;
    std::optional<PageFiles> page_;
    RateLimit rateLimit_;
    std::counting_semaphore<256> replays_;
    std::unique_ptr<HttpServer> http_;

    std::mutex parMutex_;
    std::condition_variable parWake_;
    bool stopping_ = false;
    std::atomic<bool> searching_ = false;
    std::thread parThread_;
};
