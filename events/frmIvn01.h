#pragma once

#include "events/EventTable.h"

#include "ui_frmIvn01.h"

#include <QWidget>

#include <array>

// The window in which a visitor shows up: portrait, name, words and a single
// "閉じる". Which of the three buttons behind that caption is showing decides
// whether closing goes back to play or into an ending.
class frmIvn01 : public QWidget {
    Q_OBJECT

public:
    explicit frmIvn01(QWidget *parent = nullptr);

    // The state every event starts from: cmdNext offered, no ending button.
    void prepare();
    void offer(EventClosing closing);
    void showWith(const QColor &background);
    void setMessage(const QString &text);
    void setName(const QString &name);
    void showPortrait(int visitor);

    // Hides every portrait and the window.
    void putAway();

signals:
    // The window has been put away: play goes on, or ends through cmdEnd(i).
    void closedForNext();
    void closedForEnding(int index);
    // Closed through its frame: the window is gone once control returns to
    // the event loop, and the next event must make a new one.
    void discarded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void cmdNext_Click();
    void cmdEnd_Click(int index);

    Ui::frmIvn01 ui;
    std::array<QLabel *, visitorCount> imgIcon{};
    std::array<QPushButton *, 2> cmdEnd{};
};
