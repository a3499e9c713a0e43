#pragma once

#include "rules/EventTable.h"
#include "ui/WindowSetup.h"

#include "ui_frmIvn01.h"

#include <array>

// The window in which a visitor shows up: portrait, name, words and a single
// "閉じる". Which of the three buttons behind that caption is showing decides
// whether closing goes back to play or into an ending. Its close box always
// goes back to play, and the next visitor gets a new window.
class frmIvn01 : public DiscardableWindow {
    Q_OBJECT

public:
    explicit frmIvn01(QWidget *parent = nullptr);

    // The state every event starts from: cmdNext offered, no ending button.
    void prepare();
    void offer(EventClosing closing);
    // Shows the window in the colour of the visitor's kind.
    void showFor(EventKind kind);
    void setMessage(const QString &text);
    void setName(const QString &name);
    void showPortrait(int visitor);

    // Hides every portrait and the window.
    void putAway();

signals:
    // The window has been put away: play goes on, or ends through cmdEnd(i).
    void closedForNext();
    void closedForEnding(int index);

protected:
    void closeAsItsButtonDoes() override { cmdNext_Click(); }

private:
    void cmdNext_Click();
    void cmdEnd_Click(int index);
    // Escape presses whichever "閉じる" is showing.
    void closeByVisibleButton();
    void describe();

    Ui::frmIvn01 ui;
    std::array<QLabel *, visitorCount> imgIcon{};
    std::array<QPushButton *, 2> cmdEnd{};
};
