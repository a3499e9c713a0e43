#pragma once

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
    // The texts as written, for QCoreApplication::translate in context
    // "EventTable": the windows show them through speakerOf() and messageOf().
    const char *speaker;
    const char *message;   // lines apart by \n
};

const std::array<VisitorEvent, visitorCount> &eventTable();

// How the event window closes: back to play, or into an ending.
enum class EventClosing {
    Next,          // cmdNext
    MoneyGone,     // cmdEnd(0)
    GoalReached,   // cmdEnd(1)
};

// The ending that the close button leads to when an event of this kind ends
// the game: a loss can only empty the purse, a gain only reach the goal.
EventClosing endingOf(EventKind kind);

// The visitor's name and message in the language of the translators
// installed when asked, the message as the text box shows it: lines joined
// by CR LF.
QString speakerOf(const VisitorEvent &event);
QString messageOf(const VisitorEvent &event);

struct EventOutcome {
    std::int32_t ryo;
    EventClosing closing;
};
EventOutcome applyEvent(const VisitorEvent &event, std::int32_t ryo, std::int32_t goalRyo);
