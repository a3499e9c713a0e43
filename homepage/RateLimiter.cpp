#include "homepage/RateLimiter.h"

#include "homepage/ClientAddress.h"

namespace {

constexpr std::chrono::seconds minute{60};

} // namespace

RateLimiter::RateLimiter(int perMinute, const Clock &clock)
    : perMinute_(perMinute), clock_(clock), lastSweep_(clock.now())
{
}

std::optional<int> RateLimiter::admit(const QHostAddress &client)
{
    if (perMinute_ <= 0)
        return std::nullopt;
    const time_point now = clock_.now();
    forgetIdle(now);
    std::deque<time_point> &times = recent_[countedAs(client)];
    while (!times.empty() && now - times.front() >= minute)
        times.pop_front();
    if (static_cast<int>(times.size()) >= perMinute_) {
        const auto wait = std::chrono::ceil<std::chrono::seconds>(times.front() + minute - now);
        return static_cast<int>(std::max<std::chrono::seconds::rep>(wait.count(), 1));
    }
    times.push_back(now);
    return std::nullopt;
}

void RateLimiter::forgetIdle(time_point now)
{
    // Once a minute, the addresses with nothing left in their minute go, so
    // the table holds only the clients of the last two minutes or so.
    if (now - lastSweep_ < minute)
        return;
    lastSweep_ = now;
    for (auto it = recent_.begin(); it != recent_.end();) {
        if (it->empty() || now - it->back() >= minute)
            it = recent_.erase(it);
        else
            ++it;
    }
}
