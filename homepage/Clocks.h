#pragma once

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
