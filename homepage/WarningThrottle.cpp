#include "homepage/WarningThrottle.h"

using namespace Qt::StringLiterals;

namespace {

constexpr std::chrono::minutes every{1};
// Past this many different warnings, those not written within the minute
// are forgotten, so that texts that differ every time cannot fill memory.
constexpr qsizetype mostRemembered = 256;

} // namespace

WarningThrottle::WarningThrottle(const Clock &clock) : clock_(clock) {}

std::optional<QString> WarningThrottle::pass(const QString &text)
{
    const QMutexLocker lock(&mutex_);
    const Clock::time_point now = clock_.now();
    if (seen_.size() >= mostRemembered)
        seen_.removeIf([now](const auto &seen) { return now - seen.value().written >= every; });
    const auto found = seen_.find(text);
    if (found == seen_.end()) {
        seen_.insert(text, {now, 0});
        return text;
    }
    if (now - found->written < every) {
        ++found->repeats;
        return std::nullopt;
    }
    const int repeats = std::exchange(found->repeats, 0);
    found->written = now;
    if (repeats == 0)
        return text;
    return u"%1 (and %2 more times in the last minute)"_s.arg(text).arg(repeats);
}
