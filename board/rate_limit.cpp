#include "board/rate_limit.h"

#include <cmath>
#include <vector>

namespace {

// Past this many addresses, those whose buckets are full again are forgotten:
// they would be given a full one anyway.
constexpr std::size_t AddressesKept = 100'000;

}  // namespace

RateLimit::Bucket& RateLimit::Refilled(const std::string& address, Clock::time_point now)
{
    if (buckets_.size() >= AddressesKept && !buckets_.count(address)) Forget(now);
    const auto [found, fresh] = buckets_.try_emplace(address, Bucket{double(burst_), now});
    Bucket& b = found->second;
    if (!fresh) {
        const double minutes = std::chrono::duration<double>(now - b.at).count() / 60;
        b.tokens = std::min(double(burst_), b.tokens + minutes * perMinute_);
        b.at = now;
    }
    return b;
}

void RateLimit::Forget(Clock::time_point now)
{
    std::vector<std::string> full;
    for (const auto& [address, b] : buckets_)
        if (b.tokens + std::chrono::duration<double>(now - b.at).count() / 60 * perMinute_ >= burst_) full.push_back(address);
    for (const std::string& address : full) buckets_.erase(address);
    // Should every address still be waiting, some go all the same: memory stays bounded.
    while (buckets_.size() >= AddressesKept) buckets_.erase(buckets_.begin());
}

bool RateLimit::Take(const std::string& address, Clock::time_point now)
{
    if (perMinute_ == 0) return true;
    std::lock_guard lock(mutex_);
    Bucket& b = Refilled(address, now);
    if (b.tokens < 1) return false;
    b.tokens -= 1;
    return true;
}

int RateLimit::WaitSeconds(const std::string& address, Clock::time_point now)
{
    if (perMinute_ == 0) return 0;
    std::lock_guard lock(mutex_);
    const Bucket& b = Refilled(address, now);
    return b.tokens >= 1 ? 0 : int(std::ceil((1 - b.tokens) * 60 / perMinute_));
}
