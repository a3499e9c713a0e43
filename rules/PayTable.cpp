#include "rules/PayTable.h"

#include <algorithm>
#include <array>

std::span<const PayLine> payLines()
{
    static const std::array<PayLine, 4> table{{
        {u"a", u"顔", {500, QStringLiteral("５００両 獲得！")}},
        {u"b", u"紋", {300, QStringLiteral("３００両 獲得！")}},
        {u"c", u"赤い棒", {100, QStringLiteral("１００両 獲得！")}},
        {u"d", u"提灯", {100, QStringLiteral("１００両 獲得！")}},
    }};
    return table;
}

const Payout &payoutFor(const QString &symbol)
{
    const auto table = payLines();
    const auto row = std::find_if(table.begin(), table.end(),
                                  [&](const PayLine &line) { return line.symbol == symbol; });
    return row != table.end() ? row->payout : table.back().payout;
}

QStringView symbolName(QStringView symbol)
{
    for (const PayLine &line : payLines()) {
        if (line.symbol == symbol)
            return line.name;
    }
    return {};
}
