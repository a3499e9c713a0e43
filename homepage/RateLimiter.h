#pragma once

#include "rules/Seams.h"

#include <QHash>
#include <QHostAddress>

#include <deque>
#include <optional>

// How often one client address may register in a minute: 30, the one place
// that says so.
inline constexpr int registrationsPerMinute = 30;

// Registrations from each client address (an IPv6 one by its /64) over the last minute, so that nobody
// fills the hall of fame or tries codes by the thousand. Kept by this one
// server process.
class RateLimiter {
public:
    // `perMinute` 0 sets no limit. The minute is counted on a steady clock,
    // which does not jump when the time of day is set.
    RateLimiter(int perMinute, const Clock &clock);

    // Counts a registration from `client`: nothing when it may go ahead, or
    // else the whole seconds until it may.
    std::optional<int> admit(const QHostAddress &client);

private:
    using time_point = Clock::time_point;
    void forgetIdle(time_point now);

    int perMinute_;
    const Clock &clock_;
    // The times of each address's admitted registrations within the minute.
    QHash<QHostAddress, std::deque<time_point>> recent_;
    time_point lastSweep_{};
};
