#pragma once

#include "rules/Seams.h"

#include <QtGlobal>

// The time of day that stamps each registration. Tests pass in one they set,
// so that two entries can be registered in the same millisecond.
class WallClock {
public:
    virtual ~WallClock() = default;
    virtual qint64 msecsSinceEpoch() const = 0;   // UTC
};

class SystemWallClock final : public WallClock {
public:
    qint64 msecsSinceEpoch() const override;
};

// The limit of registrations a minute counts on the steady clock of the
// rules (SteadyClock), which does not jump when the time of day is set.
