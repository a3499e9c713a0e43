#pragma once

#include "ui/WindowSetup.h"

#include "ui_frmReadme.h"

// The rules of the game, opened from the Help menu.
class frmReadme final : public DiscardableWindow {
    Q_OBJECT

public:
    explicit frmReadme(QWidget *parent = nullptr);

signals:
    // Put away: by "閉じる" (the window is kept) or by its close box (the
    // window is given up and made afresh next time).
    void closed();

protected:
    void closeAsItsButtonDoes() override { cmdClose_Click(); }

private:
    void cmdClose_Click();

    Ui::frmReadme ui;
};
