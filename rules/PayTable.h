#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <span>

// What a line of three equal symbols pays, and the message the main window
// shows for it.
struct Payout {
    std::int32_t ryo;
    QString message;
};

struct PayLine {
    QStringView symbol;
    QStringView name;   // how the home page and the screen reader call the symbol
    Payout payout;
};

// Every line that pays, one row per symbol.
std::span<const PayLine> payLines();

// Anything but the face and the crest pays like the lantern.
const Payout &payoutFor(const QString &symbol);

// The symbol's name ("顔" for "a"), or nothing for an empty text.
QStringView symbolName(QStringView symbol);
