#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

// The eleven visitors who come instead of a spin. Visitor r (0 to 10) is
// drawn when a press of Start draws r, and is shown with portrait r.
inline constexpr int visitorCount = 11;

enum class EventKind { Loss, Gain };

struct VisitorEvent {
    EventKind kind;
    std::int32_t amount;     // ryo taken (loss) or given (gain)
    QString speaker;
    QStringList lines;
};

const std::array<VisitorEvent, visitorCount> &eventTable();

// How the event window closes: back to play, or into an ending.
enum class EventClosing {
    Next,          // cmdNext
    MoneyGone,     // cmdEnd(0)
    GoalReached,   // cmdEnd(1)
};

// What an event's kind decides: the window's colour, and the ending that its
// close button leads to when the event ends the game.
struct EventKindStyle {
    QColor background;
    EventClosing ending;
};
const EventKindStyle &styleOf(EventKind kind);

// The message as the text box shows it: lines joined by CR LF.
QString messageOf(const VisitorEvent &event);

struct EventOutcome {
    std::int32_t ryo;
    EventClosing closing;
};
EventOutcome applyEvent(const VisitorEvent &event, std::int32_t ryo, std::int32_t goalRyo);
