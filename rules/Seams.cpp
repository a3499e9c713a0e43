#include "rules/Seams.h"

#include <QByteArray>
#include <QtGlobal>

#include <clocale>
#include <cmath>
#include <cstring>
#include <thread>

#include <langinfo.h>

int drawWhole(RandomSource &random, int n, int offset)
{
    return static_cast<int>(std::floor(random.draw() * n)) + offset;
}

Clock::time_point SteadyClock::now() const
{
    return std::chrono::steady_clock::now();
}

void SteadyClock::sleepFor(std::chrono::nanoseconds span)
{
    std::this_thread::sleep_for(span);
}

void useUtf8Locale()
{
    std::setlocale(LC_ALL, "");
    const char *codeset = nl_langinfo(CODESET);
    if (codeset != nullptr && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0))
        return;
    // LC_ALL, where set, overrides every other variable.
    qputenv(qEnvironmentVariableIsSet("LC_ALL") ? "LC_ALL" : "LC_CTYPE", QByteArrayLiteral("C.UTF-8"));
    std::setlocale(LC_ALL, "");
}
