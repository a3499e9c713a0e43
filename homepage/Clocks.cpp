#include "homepage/Clocks.h"

#include <QDateTime>

qint64 SystemWallClock::msecsSinceEpoch() const
{
    return QDateTime::currentMSecsSinceEpoch();
}
