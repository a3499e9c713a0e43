#include "rules/PayTable.h"

#include <algorithm>
#include <array>

std::span<const PayLine> payLines()
{
    static const std::array<PayLine, 4> table{{
        {u"a", {500, QStringLiteral("５００両 獲得！")}},
        {u"b", {300, QStringLiteral("３００両 獲得！")}},
        {u"c", {100, QStringLiteral("１００両 獲得！")}},
        {u"d", {100, QStringLiteral("１００両 獲得！")}},
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
