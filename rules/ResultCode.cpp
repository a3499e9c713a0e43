#include "rules/ResultCode.h"

#include "rules/Seams.h"

#include <array>

namespace resultcode {
namespace {

// Positions are numbered from 1 as the player reads them. Each code is
// k, u, 9 - t, 12 - k, h, 9 - u, t, 9 - h for the score's digits h, t, u.
struct PairedPositions {
    int first;
    int second;
    int sum;
};
constexpr std::array<PairedPositions, 4> pairs{{{1, 4, 12}, {2, 6, 9}, {3, 7, 9}, {5, 8, 9}}};
constexpr int hundreds = 5;
constexpr int tens = 7;
constexpr int units = 2;

} // namespace

int drawKey(RandomSource &random)
{
    return drawWhole(random, keyCount, lowestKey);
}

QString make(std::int32_t spinCount, int key)
{
    // Hundreds, tens and units of the score: "000" + digits, last three.
    const QString score = (QStringLiteral("000") + QString::number(spinCount)).right(3);
    const int h = score[0].digitValue();
    const int t = score[1].digitValue();
    const int u = score[2].digitValue();
    const std::array<int, length> positions{key, u, 9 - t, 12 - key, h, 9 - u, t, 9 - h};
    QString code;
    for (int digit : positions)
        code += QChar(u'0' + digit);
    return code;
}

std::optional<int> scoreOf(QStringView code)
{
    if (code.size() != length)
        return std::nullopt;
    std::array<int, length + 1> digit{};   // digit[1] to digit[8]
    for (int i = 0; i < length; ++i) {
        const char16_t c = code[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        digit[i + 1] = c - u'0';
    }
    if (digit[1] < lowestKey || digit[1] >= lowestKey + keyCount)
        return std::nullopt;
    for (const PairedPositions &pair : pairs) {
        if (digit[pair.first] + digit[pair.second] != pair.sum)
            return std::nullopt;
    }
    return 100 * digit[hundreds] + 10 * digit[tens] + digit[units];
}

} // namespace resultcode
