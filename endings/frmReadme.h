#pragma once

#include "ui_frmReadme.h"

#include <QWidget>

// The rules of the game, opened from the Help menu.
class frmReadme final : public QWidget {
    Q_OBJECT

public:
    explicit frmReadme(QWidget *parent = nullptr);

signals:
    // Put away: by "閉じる" (the window is kept) or by its close box (the
    // window is destroyed and made afresh next time).
    void closed();
    // Closed through its frame: gone once control returns to the event loop.
    void discarded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void cmdClose_Click();

    Ui::frmReadme ui;
};
