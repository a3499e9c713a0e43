#include "game/PayTable.h"

#include <algorithm>
#include <array>

namespace {

struct Row {
    QStringView symbol;
    Payout payout;
};

const std::array<Row, 4> &payTable()
{
    static const std::array<Row, 4> table{{
        {u"a", {500, QStringLiteral("５００両 獲得！")}},
        {u"b", {300, QStringLiteral("３００両 獲得！")}},
        {u"c", {100, QStringLiteral("１００両 獲得！")}},
        {u"d", {100, QStringLiteral("１００両 獲得！")}},
    }};
    return table;
}

} // namespace

const Payout &payoutFor(const QString &symbol)
{
    const auto &table = payTable();
    const auto row = std::find_if(table.begin(), table.end(),
                                  [&](const Row &r) { return r.symbol == symbol; });
    // Anything but the face and the crest pays like the lantern.
    return row != table.end() ? row->payout : table.back().payout;
}
