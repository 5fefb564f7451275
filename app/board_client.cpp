#include "app/board_client.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>

#include "cave/replay.h"
#include "runs/run_check.h"
#include "screens/daily_seed.h"

namespace {

constexpr int SecondsPerDay = 24 * 60 * 60;
// A request that has moved no byte for this long is given up.
constexpr int QuietMilliseconds = 30'000;
// The board's answers are a line of JSON; its day's boards with one entry
// each are a few kilobytes.
constexpr qint64 AnswerLimit = 1 << 20;
// The longest reason of a refusal that is shown.
constexpr std::size_t ReasonCharacters = 300;

bool StartsWithFolded(std::string_view text, std::string_view start)
{
    return text.size() >= start.size() && std::equal(start.begin(), start.end(), text.begin(), [](char a, char b) {
               return a == std::tolower(static_cast<unsigned char>(b));
           });
}

// The address of a path of the board's, the board's own address being
// allowed a folder of its own and a closing slash.
QUrl BoardUrl(const std::string& board, const QString& path)
{
    QUrl url(QString::fromStdString(board));
    QString folder = url.path();
    while (folder.endsWith('/')) folder.chop(1);
    url.setPath(folder + path);
    return url;
}

QNetworkRequest Request(const QUrl& url)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArray("burrowkin/" BURROWKIN_VERSION));
    request.setTransferTimeout(QuietMilliseconds);
    return request;
}

// A line a board wrote, as one line of printable text.
std::string OneLine(const QString& text)
{
    const QList<uint> characters = text.toUcs4();
    QString line;
    for (qsizetype i = 0; i < std::min(characters.size(), qsizetype(ReasonCharacters)); ++i) {
        const char32_t c = characters[i];
        line += QChar::isPrint(c) ? QString::fromUcs4(&c, 1) : QStringLiteral(" ");
    }
    return line.toStdString();
}

// "2026-03-16" for the seed of that day.
std::string DayOfSeed(std::uint32_t seed)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", seed / 10000 % 10000, seed / 100 % 100, seed % 100);
    return text;
}

bool SameSettings(const QJsonObject& board, const GameSettings& s)
{
    return board["width"].toInt() == s.width && board["height"].toInt() == s.height && board["variant"].toInt() == s.variant &&
           board["beginner"].toBool() == s.beginner && board["speed_to_death"].toInt() == s.speedToDeath;
}

}  // namespace

bool IsWebAddress(std::string_view text) { return StartsWithFolded(text, "http://") || StartsWithFolded(text, "https://"); }

std::optional<std::string> WebAddressProblem(const std::string& address)
{
    if (!IsWebAddress(address)) return "it does not start with http:// or https://";
    const QUrl url(QString::fromStdString(address), QUrl::StrictMode);
    if (!url.isValid()) return url.errorString().toStdString();
    if (url.host().isEmpty()) return "it names no host";
    return std::nullopt;
}

std::optional<std::string> WhyNotSent(const RunFile& run, std::time_t now)
{
    if (run.header.ending != RunEnding::Goal) return "the game did not reach the goal";
    const std::uint32_t seed = run.header.settings.seed, today = DailySeed(now), yesterday = DailySeed(now - SecondsPerDay);
    if (seed == today || seed == yesterday) return std::nullopt;
    return "its cave, of seed " + std::to_string(seed) + ", is not the daily cave of today (" + std::to_string(today) +
           ") or yesterday (" + std::to_string(yesterday) + "): --daily plays today's";
}

std::string Ordinal(long long n)
{
    const long long tens = n % 100, units = n % 10;
    const char* suffix = tens >= 11 && tens <= 13 ? "th" : units == 1 ? "st" : units == 2 ? "nd" : units == 3 ? "rd" : "th";
    return std::to_string(n) + suffix;
}

std::string BoardOfRun(const GameSettings& s, std::time_t now)
{
    const std::string size = std::to_string(s.width) + "x" + std::to_string(s.height);
    std::string board = s.seed == DailySeed(now)                   ? "today's " + size + " board"
                        : s.seed == DailySeed(now - SecondsPerDay) ? "yesterday's " + size + " board"
                                                                   : "the " + size + " board of " + DayOfSeed(s.seed);
    const GameSettings first;
    if (s.variant != first.variant) board += ", character " + std::to_string(s.variant);
    if (s.beginner) board += ", beginner";
    if (s.speedToDeath != first.speedToDeath) board += ", fatal speed " + std::to_string(s.speedToDeath);
    return board;
}

BoardClient::BoardClient(QObject* parent) : QObject(parent) {}

BoardClient::~BoardClient()
{
    // Nobody is left to tell.
    for (QNetworkReply* reply : underWay_) {
        disconnect(reply, nullptr, this, nullptr);
        reply->abort();
    }
}

void BoardClient::Submit(const std::string& board, const std::string& name, const RunFile& run, std::time_t now,
                         std::function<void(const BoardNews&)> told)
{
    QUrl url = BoardUrl(board, "/api/runs");
    // Every byte but letters, digits and "-._~" escaped: a "+" or "&" stays part of the name.
    url.setQuery("name=" + QString::fromLatin1(QByteArray(name.data(), qsizetype(name.size())).toPercentEncoding()));
    QNetworkRequest request = Request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/octet-stream"));
    const std::vector<std::uint8_t> bytes = RunFileBytes(run);
    QNetworkReply* reply =
        network_.post(request, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    Await(reply, AnswerLimit, [=, this](const Answer& answer) {
        if (answer.status == 0) return told({"cannot reach " + board + ": " + answer.problem});
        const QJsonObject json = QJsonDocument::fromJson(answer.body).object();
        if ((answer.status == 200 || answer.status == 201) && json["place"].isDouble())
            return CountBoard(board, answer.body, run, now, told);
        if (json["error"].isString()) return told({"refused: " + OneLine(json["error"].toString())});
        told({"cannot reach " + board + ": what answers there is no board (HTTP " + std::to_string(answer.status) + ")"});
    });
}

// The place alone is known from the board's answer; how many stand on the
// board, from the day's boards.
void BoardClient::CountBoard(const std::string& board, const QByteArray& entry, const RunFile& run, std::time_t now,
                             std::function<void(const BoardNews&)> told)
{
    const QJsonObject json = QJsonDocument::fromJson(entry).object();
    const bool onBoard = json["on_board"].toBool();
    const long long place = json["place"].toInteger();
    const GameSettings& settings = run.header.settings;
    QUrl url = BoardUrl(board, QString::fromStdString("/api/boards/" + DayOfSeed(settings.seed)));
    url.setQuery("limit=1");
    Await(network_.get(Request(url)), AnswerLimit, [=](const Answer& answer) {
        std::string standing = Ordinal(place);
        for (const QJsonValue b : QJsonDocument::fromJson(answer.body).object()["boards"].toArray())
            if (SameSettings(b.toObject()["settings"].toObject(), settings) && b.toObject()["entries_total"].isDouble())
                standing += " of " + std::to_string(b.toObject()["entries_total"].toInteger());
        const std::string where = standing + " on " + BoardOfRun(settings, now);
        told({onBoard ? where : "your earlier run stays " + where + ": this one is no better", true});
    });
}

void BoardClient::Fetch(const std::string& address, std::function<void(std::optional<RunFile>, const std::string&)> done)
{
    // One byte more than a run file has, to tell a longer answer.
    Await(network_.get(Request(QUrl(QString::fromStdString(address)))), ReplayFileBytes + 1, [=](const Answer& answer) {
        if (answer.status == 0) return done(std::nullopt, "cannot download it: " + answer.problem);
        if (answer.status != 200) {
            const QJsonValue error = QJsonDocument::fromJson(answer.body).object()["error"];
            return done(std::nullopt, "the server answered HTTP " + std::to_string(answer.status) +
                                          (error.isString() ? ": " + OneLine(error.toString()) : std::string()));
        }
        try {
            RunFile run = ParseRunFile(std::vector<std::uint8_t>(answer.body.begin(), answer.body.end()));
            ReplayRun(run);
            done(std::move(run), "");
        } catch (const RunFileError& e) {
            done(std::nullopt, e.what());
        }
    });
}

void BoardClient::Await(QNetworkReply* reply, qint64 limit, std::function<void(const Answer&)> then)
{
    underWay_.insert(reply);
    const auto answer = std::make_shared<Answer>();
    const auto take = [reply, answer, limit] {
        if (answer->tooLong) return;
        const QByteArray more = reply->readAll();
        const qint64 room = limit - answer->body.size();
        answer->body += more.left(room);
        if (more.size() > room) {
            answer->tooLong = true;
            reply->abort();
        }
    };
    connect(reply, &QNetworkReply::readyRead, this, take);
    connect(reply, &QNetworkReply::finished, this, [this, reply, answer, take, then = std::move(then)] {
        take();
        underWay_.erase(reply);
        reply->deleteLater();
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (status.isValid()) answer->status = status.toInt();
        else if (reply->error() == QNetworkReply::OperationCanceledError)
            answer->problem = givingUp_ ? "the window closed before the answer came"
                                        : "no answer within " + std::to_string(QuietMilliseconds / 1000) + " seconds";
        else answer->problem = reply->errorString().toStdString();
        then(*answer);
        if (underWay_.empty()) emit Idle();
    });
}

void BoardClient::Finish(int milliseconds)
{
    if (underWay_.empty()) return;
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    connect(this, &BoardClient::Idle, &loop, &QEventLoop::quit);
    loop.exec();
    givingUp_ = true;
    for (QNetworkReply* reply : std::set<QNetworkReply*>(underWay_)) reply->abort();
}
