#include "game/frmMain.h"

#include "endings/ResultCode.h"
#include "endings/frmGover.h"
#include "endings/frmReadme.h"
#include "endings/frmSplash.h"
#include "endings/frmVer.h"
#include "events/EventTable.h"
#include "events/frmIvn01.h"
#include "game/Judge.h"
#include "game/PayTable.h"
#include "game/Pause.h"
#include "game/Reels.h"
#include "ui/FlashHighlight.h"
#include "ui/Pictures.h"
#include "ui/WindowSetup.h"

#include <QCloseEvent>
#include <QWindow>

using namespace std::chrono_literals;

namespace {
constexpr QSize clientArea{253, 216};
constexpr auto flashStep = 200ms;
constexpr int flashToggles = 6;
constexpr auto pauseBeforeGoal = 2000ms;
const QString stopCaption = QStringLiteral("止");
} // namespace

frmMain::frmMain(const Platform &platform, QWidget *parent)
    : QMainWindow(parent)
    , platform_(platform)
{
    ui.setupUi(this);
    picSlot = {ui.picSlot1, ui.picSlot2, ui.picSlot3};
    cmdStop = {ui.cmdStop1, ui.cmdStop2, ui.cmdStop3};
    setUpWindow(*this, clientArea);
    setWindowIcon(pictures::windowIcon());
    keepLookWhenDisabled(*this);
    flashHighlight_ = new FlashHighlight(ui.client);

    // The reel strips are loaded once; a frame change only swaps pictures.
    const qreal dpr = devicePixelRatioF();
    for (int i = 0; i < reels::pictureCount; ++i)
        picData[i] = pictures::reelFrame(i, dpr);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setTimerType(Qt::PreciseTimer);

    connect(ui.cmdStart, &QPushButton::clicked, this, &frmMain::cmdStart_Click);
    for (int reel = 0; reel < reels::count; ++reel)
        connect(cmdStop[reel], &QPushButton::clicked, this, [this, reel] { cmdStop_Click(reel); });
    connect(&Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);
    connect(ui.mnuExit, &QAction::triggered, this, &frmMain::mnuExit_Click);
    connect(ui.mnuReadme, &QAction::triggered, this, &frmMain::mnuReadme_Click);
    connect(ui.mnuVer, &QAction::triggered, this, &frmMain::mnuVer_Click);
}

frmMain::~frmMain()
{
    delete ivn_;
    delete readme_;
}

void frmMain::Form_Load()
{
    // The title window: a fresh one every time, held on screen while nothing
    // else runs, and gone once the slot machine is back.
    frmSplash splash;
    splash.showPainted();
    splash.hold(platform_.clock);
    show();
    resetGame();
}

void frmMain::resetGame()
{
    gameState_.tick = 0;
    ui.cmdStart->show();
    ui.cmdDamy->hide();
    eventWindow().prepare();
    gameState_.goalRyo = rules::goalRyo;
    gameState_.dayLimit = rules::dayLimit;
    gameState_.spinCount = 0;
    ui.lblCount->setText(decimal(gameState_.spinCount));
    gameState_.ryo = rules::startingRyo;
    ui.lblTensuu->setText(decimal(gameState_.ryo));
    ui.lblMsg->hide();
    Timer1.start(rules::tickMilliseconds);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // While an event or a side window is open the slot machine takes nothing,
    // not even a request to close it.
    event->ignore();
    if (isEnabled())
        platform_.exit.exitNow();
}

void frmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    windowHandle()->installEventFilter(this);
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    // Clicks and keys made during the pause before the winning ending are
    // handled only after the slot machine has been hidden, and its buttons
    // still sit where they were clicked: while hidden it takes nothing, or a
    // click on Start would begin a day of a game that has ended.
    if (watched == windowHandle() && event->isInputEvent() && !isVisible())
        return true;
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::mnuExit_Click()
{
    platform_.exit.exitNow();
}

void frmMain::mnuReadme_Click()
{
    if (!readme_) {
        readme_ = new frmReadme;
        keepAbove(*readme_, *this);
        connect(readme_, &frmReadme::closed, this, &frmMain::sideWindowClosed);
        connect(readme_, &frmReadme::discarded, this, [this] { readme_ = nullptr; });
    }
    readme_->show();
    setEnabled(false);
}

void frmMain::mnuVer_Click()
{
    if (!ver_) {
        ver_ = std::make_unique<frmVer>();
        keepAbove(*ver_, *this);
        connect(ver_.get(), &frmVer::closed, this, &frmMain::sideWindowClosed);
    }
    ver_->show();
    setEnabled(false);
}

void frmMain::sideWindowClosed()
{
    setEnabled(true);
    giveFocus(*this);
}

// ---- The reels ---------------------------------------------------------

void frmMain::Timer1_Timer()
{
    if (gameState_.tick == 0)
        return;
    const int k = reels::nextFrame(gameState_.tick);
    for (int reel = 0; reel < reels::count; ++reel) {
        if (gameState_.reelRunning[reel])
            ShowReelFrame(reel, k);
    }
    ++gameState_.tick;
}

void frmMain::ShowReelFrame(int reel, int k)
{
    if (k < 0 || k >= reels::framesPerStrip)
        return;
    picSlot[reel]->setPixmap(picData[reels::pictureIndex(reel, k)]);
    if (reels::isSymbolFrame(k))
        gameState_.reelSymbol[reel] = reels::symbolAt(reel, k);
}

void frmMain::LandReel(int reel, int k)
{
    gameState_.reelSymbol[reel] = reels::symbolAt(reel, k);
    picSlot[reel]->setPixmap(picData[reels::pictureIndex(reel, k)]);
}

// ---- A day: Start, the Stops and the judging ---------------------------

void frmMain::cmdStart_Click()
{
    ui.cmdStart->hide();
    ui.cmdDamy->show();
    ui.lblMsg->hide();
    ++gameState_.spinCount;
    ui.lblCount->setText(decimal(gameState_.spinCount));

    const int r = drawWhole(platform_.random, rules::drawRange);
    if (r <= rules::lastEventDraw) {
        ui.cmdStart->hide();
        DrawEvent(r);
        return;
    }

    gameState_.ryo -= rules::spinFee;
    ui.lblTensuu->setText(decimal(gameState_.ryo));
    for (QPushButton *stop : cmdStop)
        stop->setText(stopCaption);
    gameState_.tick = 1;
    gameState_.reelRunning = {true, true, true};
}

void frmMain::cmdStop_Click(int reel)
{
    const int k = reels::nextFrame(gameState_.tick);
    if (gameState_.reelRunning[reel]) {
        if (reels::isSymbolFrame(k))
            LandReel(reel, k);
        turnedThisSpin_[reel] = reels::hasTurnedThisSpin(gameState_.tick);
        gameState_.reelRunning[reel] = false;
        CheckAllStopped();
    }
    // Only now, after any judging, flash and ending.
    cmdStop[reel]->setText(QString());
}

void frmMain::CheckAllStopped()
{
    for (bool running : gameState_.reelRunning) {
        if (running)
            return;
    }
    gameState_.tick = 0;
    JudgeSpin();
    ui.cmdStart->show();
    ui.cmdDamy->hide();
}

void frmMain::JudgeSpin()
{
    if (!isWinningLine(gameState_.reelSymbol, turnedThisSpin_)) {
        switch (endingAfterMiss(gameState_.ryo, gameState_.spinCount, gameState_.dayLimit)) {
        case Ending::MoneyGone:
            GameOver2();
            break;
        case Ending::TimeUp:
            GameOver3();
            break;
        case Ending::GoalReached:
        case Ending::None:
            break;
        }
        return;
    }
    for (int i = 0; i < flashToggles; ++i) {
        holdFor(platform_.clock, flashStep);
        flashTitleBar();
    }
    PayWin();
    ui.lblMsg->show();
    ui.lblTensuu->setText(decimal(gameState_.ryo));
}

void frmMain::flashTitleBar()
{
    flashHighlight_->toggle();
    platform_.flash.toggle(*this);
}

void frmMain::PayWin()
{
    const Payout &payout = payoutFor(gameState_.reelSymbol[0]);
    gameState_.ryo += payout.ryo;
    ui.lblMsg->setText(payout.message);
    if (gameState_.ryo >= gameState_.goalRyo) {
        holdFor(platform_.clock, pauseBeforeGoal);
        GameOver1();
    }
}

// ---- Visitors ----------------------------------------------------------

frmIvn01 &frmMain::eventWindow()
{
    if (!ivn_) {
        ivn_ = new frmIvn01;
        keepAbove(*ivn_, *this);
        connect(ivn_, &frmIvn01::closedForNext, this, &frmMain::eventClosedForNext);
        connect(ivn_, &frmIvn01::closedForEnding, this, &frmMain::eventClosedForEnding);
        connect(ivn_, &frmIvn01::discarded, this, [this] { ivn_ = nullptr; });
    }
    return *ivn_;
}

void frmMain::DrawEvent(int r)
{
    setEnabled(false);
    const VisitorEvent &event = eventTable().at(r);
    const EventOutcome outcome = applyEvent(event, gameState_.ryo, gameState_.goalRyo);
    gameState_.ryo = outcome.ryo;
    frmIvn01 &window = eventWindow();
    window.offer(outcome.closing);
    window.showWith(styleOf(event.kind).background);
    window.setMessage(messageOf(event));
    window.setName(event.speaker);
    window.showPortrait(r);
    ui.lblTensuu->setText(decimal(gameState_.ryo));
    if (gameState_.spinCount >= gameState_.dayLimit)
        GameOver3();
}

void frmMain::eventClosedForNext()
{
    setEnabled(true);
    giveFocus(*this);
    ui.cmdStart->show();
    ui.cmdDamy->hide();
}

void frmMain::eventClosedForEnding(int index)
{
    setEnabled(true);
    giveFocus(*this);
    if (index != 0)
        GameOver1();
    else
        GameOver2();
}

void frmMain::putEventWindowAway()
{
    // As the event window's own buttons do, but the main window is about to
    // be hidden and gets no focus.
    if (ivn_)
        ivn_->putAway();
    setEnabled(true);
}

// ---- Endings -----------------------------------------------------------

template <class Window>
Window &frmMain::ending(std::unique_ptr<Window> &slot)
{
    if (!slot) {
        slot = std::make_unique<Window>();
        connect(slot.get(), &EndingWindow::replayRequested, this, &frmMain::Form_Load);
        connect(slot.get(), &EndingWindow::endRequested, this, [this] { platform_.exit.exitNow(); });
    }
    return *slot;
}

void frmMain::GameOver1()
{
    ending(gover1_).setScore(gameState_.spinCount);
    hide();
    putEventWindowAway();
    MakeResultCode();
    ending(gover1_).present();
}

void frmMain::MakeResultCode()
{
    gameState_.resultCode = resultcode::make(gameState_.spinCount, resultcode::drawKey(platform_.random));
    ending(gover1_).present();
    ending(gover1_).setPassWord(gameState_.resultCode);
}

void frmMain::GameOver2()
{
    hide();
    putEventWindowAway();
    ending(gover2_).present();
}

void frmMain::GameOver3()
{
    hide();
    putEventWindowAway();
    ending(gover3_).present();
}
