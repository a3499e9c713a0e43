#include "endings/ResultCode.h"

#include "game/Platform.h"

#include <array>

namespace resultcode {

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
    const std::array<int, 8> positions{key, u, 9 - t, 12 - key, h, 9 - u, t, 9 - h};
    QString code;
    for (int digit : positions)
        code += QChar(u'0' + digit);
    return code;
}

} // namespace resultcode
