#include "rules/PayTable.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>

std::span<const PayLine> payLines()
{
    static const std::array<PayLine, 4> table{{
        {u"a", QT_TRANSLATE_NOOP("PayTable", "顔"), {500, QT_TRANSLATE_NOOP("PayTable", "５００両 獲得！")}},
        {u"b", QT_TRANSLATE_NOOP("PayTable", "紋"), {300, QT_TRANSLATE_NOOP("PayTable", "３００両 獲得！")}},
        {u"c", QT_TRANSLATE_NOOP("PayTable", "赤い棒"), {100, QT_TRANSLATE_NOOP("PayTable", "１００両 獲得！")}},
        {u"d", QT_TRANSLATE_NOOP("PayTable", "提灯"), {100, QT_TRANSLATE_NOOP("PayTable", "１００両 獲得！")}},
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

QString messageOf(const Payout &payout)
{
    return QCoreApplication::translate("PayTable", payout.message);
}

QString symbolName(QStringView symbol)
{
    for (const PayLine &line : payLines()) {
        if (line.symbol == symbol)
            return QCoreApplication::translate("PayTable", line.name);
    }
    return {};
}
