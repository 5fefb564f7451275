#include "board/rate_limit.h"

#include <vector>

namespace {

// Past this many addresses, those whose allowance is whole again are
// forgotten: they would be given a whole one anyway.
constexpr std::size_t AddressesKept = 100'000;

}  // namespace

RateLimit::Clock::duration RateLimit::Ahead(const std::string& address, Clock::time_point now)
{
    if (whole_.size() >= AddressesKept && !whole_.count(address)) Forget(now);
    Clock::time_point& whole = whole_.try_emplace(address, now).first->second;
    if (whole < now) whole = now;
    return whole - now;
}

void RateLimit::Forget(Clock::time_point now)
{
    std::vector<std::string> full;
    for (const auto& [address, whole] : whole_)
        if (whole <= now) full.push_back(address);
    for (const std::string& address : full) whole_.erase(address);
    // Should every address still be waiting, some go all the same: memory stays bounded.
    while (whole_.size() >= AddressesKept) whole_.erase(whole_.begin());
}

bool RateLimit::Take(const std::string& address, Clock::time_point now)
{
    if (perMinute_ == 0) return true;
    const Clock::duration each = Clock::duration(std::chrono::minutes(1)) / perMinute_;
    std::lock_guard lock(mutex_);
    if (Ahead(address, now) > each * (burst_ - 1)) return false;
    whole_[address] += each;
    return true;
}

int RateLimit::WaitSeconds(const std::string& address, Clock::time_point now)
{
    if (perMinute_ == 0) return 0;
    const Clock::duration each = Clock::duration(std::chrono::minutes(1)) / perMinute_;
    std::lock_guard lock(mutex_);
    const Clock::duration wait = Ahead(address, now) - each * (burst_ - 1);
    return wait <= Clock::duration::zero() ? 0 : int(std::chrono::ceil<std::chrono::seconds>(wait).count());
}
