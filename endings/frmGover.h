#pragma once

#include "ui_frmGover1.h"
#include "ui_frmGover2.h"
#include "ui_frmGover3.h"

#include <QWidget>

#include <cstdint>

// What the three ending windows share: "終了" ends the program, "もう一度"
// puts the window away and starts a new game. Each reads itself to a screen
// reader as it opens: ホウゲン's words, then where the focus is.
class EndingWindow : public QWidget {
    Q_OBJECT

public:
    // Shows the window in front, with "終了" holding the focus.
    void present();

signals:
    void replayRequested();
    void endRequested();
    void resultCodeCopied();

protected:
    EndingWindow() = default;
    void setUpEnding(QPushButton *end, QPushButton *replay, QLabel *portrait);
    // The window's description: what it says, in reading order, then which
    // button holds the focus and what Enter does.
    void describe(const QStringList &words);
    static QStringList textsOf(const QList<const QLabel *> &labels);
    // With the slot machine hidden, a closed ending window would leave the
    // program running with no window at all: the close box quits, like "終了".
    void closeEvent(QCloseEvent *event) override;

private:
    QPushButton *end_ = nullptr;
};

class frmGover1 final : public EndingWindow {
    Q_OBJECT

public:
    frmGover1();
    void setScore(std::int32_t days);
    void setPassWord(const QString &code);

private:
    void describe();

    Ui::frmGover1 ui;
};

class frmGover2 final : public EndingWindow {
    Q_OBJECT

public:
    frmGover2();

private:
    Ui::frmGover2 ui;
};

class frmGover3 final : public EndingWindow {
    Q_OBJECT

public:
    frmGover3();

private:
    Ui::frmGover3 ui;
};
