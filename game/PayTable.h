#pragma once

#include <QString>

#include <cstdint>

// What a line of three equal symbols pays, and the message the main window
// shows for it.
struct Payout {
    std::int32_t ryo;
    QString message;
};

const Payout &payoutFor(const QString &symbol);
