#pragma once

#include "ui_frmSplash.h"

#include <QWidget>

#include <functional>

class Clock;

// The title window shown at start-up and before every new game.
class frmSplash final : public QWidget {
    Q_OBJECT

public:
    explicit frmSplash(QWidget *parent = nullptr);

    // Shows the window and paints it at once: nothing will repaint it while
    // it is held.
    void showPainted();

    // Holds it on screen for a little over two seconds, with nothing else
    // running. Keys and clicks that come meanwhile change nothing.
    // `meanwhile` runs within the hold (see holdFor).
    void hold(Clock &clock, const std::function<void()> &meanwhile = {});

protected:
    // The title goes when the game is ready, not on a request to close it.
    void closeEvent(QCloseEvent *event) override;

private:
    Ui::frmSplash ui;
    bool holding_ = false;
};
