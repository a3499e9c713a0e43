#include "rules/Seams.h"

#include <cmath>

int drawWhole(RandomSource &random, int n, int offset)
{
    return static_cast<int>(std::floor(random.draw() * n)) + offset;
}
