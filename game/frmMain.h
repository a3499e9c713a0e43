#pragma once

#include "game/GameState.h"
#include "game/Platform.h"

#include "ui_frmMain.h"

#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

#include <array>
#include <memory>

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
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMain(const Platform &platform, QWidget *parent = nullptr);
    ~frmMain() override;

    // Shows the title window for a little over two seconds, then the slot
    // machine at its starting values: at start-up and for every new game.
    void Form_Load();

    void GameOver1();   // the goal is reached
    void GameOver2();   // the money is gone
    void GameOver3();   // the year is over

    // A visitor comes instead of a spin.
    void DrawEvent(int r);

    GameState &state() { return gameState_; }
    const GameState &state() const { return gameState_; }

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
    void ShowReelFrame(int reel, int k);
    void LandReel(int reel, int k);
    void CheckAllStopped();
    void JudgeSpin();
    void PayWin();
    void MakeResultCode();
    void flashTitleBar();

    frmIvn01 &eventWindow();
    void putEventWindowAway();
    void eventClosedForNext();
    void eventClosedForEnding(int index);
    void sideWindowClosed();

    // Each ending window is made on first use and kept for later games.
    template <class Window>
    Window &ending(std::unique_ptr<Window> &slot);

    Ui::frmMain ui;
    Platform platform_;
    GameState gameState_;
    QTimer Timer1{this};
    std::array<QPixmap, 48> picData;
    std::array<QLabel *, 3> picSlot{};
    std::array<QPushButton *, 3> cmdStop{};
    std::array<bool, 3> turnedThisSpin_{};
    FlashHighlight *flashHighlight_ = nullptr;

    // Let go of when their close box discards them.
    QPointer<frmIvn01> ivn_;
    QPointer<frmReadme> readme_;
    std::unique_ptr<frmVer> ver_;
    std::unique_ptr<frmGover1> gover1_;
    std::unique_ptr<frmGover2> gover2_;
    std::unique_ptr<frmGover3> gover3_;
};
