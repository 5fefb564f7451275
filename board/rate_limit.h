#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

// Submissions each client address may make: a burst at once, then a steady
// number a minute. Every submission counts, taken or refused.
class RateLimit {
public:
    using Clock = std::chrono::steady_clock;

    // perMinute 0: no limit.
    RateLimit(int perMinute, int burst) : perMinute_(perMinute), burst_(burst) {}

    // True when `address` may submit now, and counts it.
    bool Take(const std::string& address, Clock::time_point now = Clock::now());
    // Seconds until `address` may submit again.
    int WaitSeconds(const std::string& address, Clock::time_point now = Clock::now());

private:
    // When each address's allowance is whole again: one submission moves it
    // a minute / perMinute on, and a burst's worth ahead of now is full.
    Clock::duration Ahead(const std::string& address, Clock::time_point now);
    void Forget(Clock::time_point now);

    const int perMinute_;
    const int burst_;
    std::mutex mutex_;
    std::unordered_map<std::string, Clock::time_point> whole_;
};
