#pragma once

#include "rules/SlotGame.h"
#include "ui/Platform.h"

#include "ui_frmMain.h"

#include <QMainWindow>
#include <QPixmap>
#include <QTimer>

#include <array>
#include <memory>

class Announcer;
class EndingWindow;
class FlashHighlight;
class QPushButton;
class frmGover1;
class frmGover2;
class frmGover3;
class frmIvn01;
class frmReadme;
class frmVer;

// The slot machine: the first window of the program and the owner of the
// game. Every other window is opened from here and hands control back here.
// The rules are the game's (SlotGame); this window shows what they report,
// flashes, pauses and opens the other windows.
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMain(const Platform &platform, QWidget *parent = nullptr);
    ~frmMain() override;

    // Shows the title window for a little over two seconds, then the slot
    // machine at its starting values: for every new game.
    void Form_Load();

    // The program's start, as Form_Load but with the slot machine built while
    // the title is held: the title comes up without waiting for the slot
    // machine's controls, fonts and pictures.
    static std::unique_ptr<frmMain> start(const Platform &platform);

    void GameOver1();   // the goal is reached
    void GameOver2();   // the money is gone
    void GameOver3();   // the year is over

    // A visitor comes instead of a spin.
    void DrawEvent(int r);

    GameState &state() { return game_.state(); }
    const GameState &state() const { return game_.state(); }

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void cmdStart_Click();
    void cmdStop_Click(int reel);
    void Timer1_Timer();
    void mnuExit_Click();
    void mnuReadme_Click();
    void mnuVer_Click();

private:
    void resetGame();
    void showReelFrame(int reel, int frame);
    void showDay();
    void showMoney();
    void offerStart();

    // What a screen reader is told: the reels' and Stops' states, and news
    // said without moving the focus.
    void describeReel(int reel);
    void announce(const QString &text);
    QWidget *windowOnScreen();
    // Keys that stop a reel: 1, 2, 3 anywhere in the window, Enter or Space
    // on the reel itself.
    void stopByKey(int reel);
    void moveFocusFromReel(QWidget &to);
    void CheckAllStopped();
    void JudgeSpin();
    void PayWin();
    void MakeResultCode();
    void flashTitleBar();

    void openSideWindow(QWidget &window);
    void sideWindowClosed();
    void putEventWindowAway();
    void eventClosedForNext();
    void eventClosedForEnding(int index);
    template <class Window>
    void endGame(std::unique_ptr<Window> &ending);

    // Each window is made on first use, wired to the slot machine and kept
    // for later; one whose close box gives it up is made afresh next time.
    template <class Window>
    Window &window(std::unique_ptr<Window> &slot);
    void wire(frmIvn01 &window);
    void wire(frmReadme &window);
    void wire(frmVer &window);
    void wire(EndingWindow &window);

    Ui::frmMain ui;
    Platform platform_;
    SlotGame game_;
    QTimer Timer1{this};
    std::array<QPixmap, reels::pictureCount> picData;
    std::array<QLabel *, reels::count> picSlot{};
    std::array<QPushButton *, reels::count> cmdStop{};
    FlashHighlight *flashHighlight_ = nullptr;
    Announcer *announcer_ = nullptr;

    std::unique_ptr<frmIvn01> ivn_;
    std::unique_ptr<frmReadme> readme_;
    std::unique_ptr<frmVer> ver_;
    std::unique_ptr<frmGover1> gover1_;
    std::unique_ptr<frmGover2> gover2_;
    std::unique_ptr<frmGover3> gover3_;
};
