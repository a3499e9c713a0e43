#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <span>

// The texts of the table are kept as written, for QCoreApplication::translate
// in context "PayTable": the game and the home page translate them where
// they show them, each in the language it speaks then.

// What a line of three equal symbols pays, and the message the main window
// shows for it.
struct Payout {
    std::int32_t ryo;
    const char *message;
};

struct PayLine {
    QStringView symbol;
    const char *name;   // how the home page and the screen reader call the symbol
    Payout payout;
};

// Every line that pays, one row per symbol.
std::span<const PayLine> payLines();

// Anything but the face and the crest pays like the lantern.
const Payout &payoutFor(const QString &symbol);

// The message and the symbol's name ("顔" for "a"; nothing for an empty
// text) in the language of the translators installed when asked.
QString messageOf(const Payout &payout);
QString symbolName(QStringView symbol);
