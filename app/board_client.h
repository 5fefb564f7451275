#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <ctime>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "cave/run_file.h"

class QNetworkReply;

// The window's side of the daily board: a game that reached the goal of the
// day's cave sent to a board, and runs fetched by their address, over HTTP.

// An address rather than a file: it starts with http:// or https://.
bool IsWebAddress(std::string_view text);
// Why `address` is no web address the window can fetch from, or nothing.
std::optional<std::string> WebAddressProblem(const std::string& address);

// Why a game that ended is not sent to a board, or nothing when it is: it
// reached the goal of the daily cave of today or yesterday in UTC, as the
// board takes them.
std::optional<std::string> WhyNotSent(const RunFile& run, std::time_t now);

// "1st", "2nd", "3rd", "4th", "11th", "22nd".
std::string Ordinal(long long n);
// "today's 100x100 board", with the character, beginner and fatal speed
// where they are not the setup dialog's first choice.
std::string BoardOfRun(const GameSettings& settings, std::time_t now);

// One line for the player about a board's answer.
struct BoardNews {
    std::string line;  // after "board: "
    bool good = false;  // on the board, or good but no better than the name's entry
};

// Talks to boards through Qt Network, one request after another as each
// answer comes, never waiting for one: whoever asked is called back from the
// event loop.
class BoardClient : public QObject {
    Q_OBJECT
public:
    explicit BoardClient(QObject* parent = nullptr);
    ~BoardClient() override;

    // Sends `run` to the board at `board` under `name`, then reads the day's
    // boards for how many stand on the run's board.
    void Submit(const std::string& board, const std::string& name, const RunFile& run, std::time_t now,
                std::function<void(const BoardNews&)> told);
    // Downloads a run and checks it as every run is checked. `done` gets the
    // run, or nothing and why not, in words that follow the address.
    void Fetch(const std::string& address, std::function<void(std::optional<RunFile>, const std::string& problem)> done);

    bool Busy() const { return !underWay_.empty(); }
    // Lets the answers under way come, for at most `milliseconds`; those
    // still missing then are given up.
    void Finish(int milliseconds);

signals:
    // The last answer under way came.
    void Idle();

private:
    struct Answer {
        int status = 0;       // the HTTP status; 0 when none came
        QByteArray body;
        bool tooLong = false;  // more than the limit came
        std::string problem;  // why nothing came
    };
    // Reads the reply's answer, no more than `limit` bytes of it, and hands it on.
    void Await(QNetworkReply* reply, qint64 limit, std::function<void(const Answer&)> then);
    void CountBoard(const std::string& board, const QByteArray& entry, const RunFile& run, std::time_t now,
                    std::function<void(const BoardNews&)> told);

    QNetworkAccessManager network_;
    std::set<QNetworkReply*> underWay_;
    bool givingUp_ = false;  // Finish's time is up
};
