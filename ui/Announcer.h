#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <deque>
#include <functional>

// Says news to a screen reader without moving the focus, politely, so that
// the player's own keys are not cut off: each text once, in order. A text
// goes out once the handler that said it has returned, after any focus move
// it made: a screen reader cuts short what it is saying when the focus
// moves, and would cut the news.
//
// Up to Qt 6.7 there is no announcement event: the news is the name of a
// small notification object that is shown for it, which a screen reader
// speaks. It draws nothing and takes no focus. A second change in the same
// pass of the event loop would replace the first before the screen reader
// has read it, so the texts wait their turn.
class Announcer final : public QWidget {
    Q_OBJECT

public:
    // `home` names the window to speak from when a text's turn comes: one
    // on screen, as a notification inside a hidden window never shows.
    Announcer(QWidget *parent, std::function<QWidget *()> home);

    // Queues `text`.
    void say(const QString &text);

    // How long each text stands before the next: a test may take it to 0.
    void setReadingTime(std::chrono::milliseconds time) { readingTime_ = time; }

signals:
    // A text has just gone to the screen reader.
    void said(const QString &text);

private:
    void next();

    std::function<QWidget *()> home_;
    std::deque<QString> queue_;
    QTimer turn_;
    std::chrono::milliseconds readingTime_;
};
