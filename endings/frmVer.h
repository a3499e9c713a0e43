#pragma once

#include "ui_frmVer.h"

#include <QWidget>

// The version window, opened from the Help menu.
class frmVer final : public QWidget {
    Q_OBJECT

public:
    explicit frmVer(QWidget *parent = nullptr);

signals:
    void closed();

protected:
    // It has no close box, but a desktop may still close it (Alt+F4): that
    // must put it away like "閉じる", or the slot machine would stay disabled.
    void closeEvent(QCloseEvent *event) override;

private:
    void cmdClose_Click();

    Ui::frmVer ui;
};
