#include "game/frmMain.h"

#include "endings/frmGover.h"
#include "endings/frmReadme.h"
#include "endings/frmSplash.h"
#include "endings/frmVer.h"
#include "events/frmIvn01.h"
#include "ui/Announcer.h"
#include "ui/FlashHighlight.h"
#include "ui/Pause.h"
#include "ui/Pictures.h"
#include "ui/Spoken.h"
#include "ui/WindowSetup.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QShortcut>
#include <QWindow>

#include <algorithm>

#include <type_traits>

using namespace std::chrono_literals;

namespace {
constexpr QSize clientArea{253, 216};
constexpr auto flashStep = 200ms;
constexpr int flashToggles = 6;
constexpr auto pauseBeforeGoal = 2000ms;
} // namespace

frmMain::frmMain(const Platform &platform, QWidget *parent)
    : QMainWindow(parent)
    , platform_(platform)
    , game_(platform.random)
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

    for (int reel = 0; reel < reels::count; ++reel) {
        picSlot[reel]->installEventFilter(this);
        picSlot[reel]->setAccessibleDescription(spoken::reelKeys(reel));
        cmdStop[reel]->setAccessibleName(spoken::stopButton(reel));
        describeReel(reel);
        // The keypad's digits come through the same shortcut.
        new QShortcut(QKeySequence(Qt::Key_1 + reel), this, [this, reel] { stopByKey(reel); });
    }
    announcer_ = new Announcer(this, [this] { return windowOnScreen(); });
}

frmMain::~frmMain() = default;

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

std::unique_ptr<frmMain> frmMain::start(const Platform &platform)
{
    std::unique_ptr<frmMain> main;
    frmSplash splash;
    splash.showPainted();
    splash.hold(platform.clock, [&] { main = std::make_unique<frmMain>(platform); });
    main->show();
    main->resetGame();
    return main;
}

void frmMain::resetGame()
{
    game_.reset();
    ui.cmdStart->show();
    ui.cmdDamy->hide();
    window(ivn_).prepare();
    showDay();
    showMoney();
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
    // Enter or Space on a reel that holds the focus stops it, as its Stop
    // would; a disabled window's reels take no keys.
    const auto reel = std::find(picSlot.begin(), picSlot.end(), watched);
    if (reel != picSlot.end() && event->type() == QEvent::KeyPress && (*reel)->isEnabled()) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            stopByKey(int(reel - picSlot.begin()));
            return true;
        }
    }
    // Clicks and keys made during the pause before the winning ending are
    // handled only after the slot machine has been hidden, and its buttons
    // still sit where they were clicked: while hidden it takes nothing, or a
    // click on Start would begin a day of a game that has ended.
    if (watched == windowHandle() && event->isInputEvent() && !isVisible())
        return true;
    return QMainWindow::eventFilter(watched, event);
}

// ---- The windows around the slot machine -------------------------------

template <class Window>
Window &frmMain::window(std::unique_ptr<Window> &slot)
{
    if (!slot) {
        slot = std::make_unique<Window>();
        // The windows the player must answer stay above the slot machine.
        if constexpr (!std::is_base_of_v<EndingWindow, Window>)
            keepAbove(*slot, *this);
        if constexpr (std::is_base_of_v<DiscardableWindow, Window>) {
            connect(slot.get(), &DiscardableWindow::discarded, this, [&slot] { slot.release()->deleteLater(); });
        }
        wire(*slot);
    }
    return *slot;
}

void frmMain::wire(frmIvn01 &window)
{
    connect(&window, &frmIvn01::closedForNext, this, &frmMain::eventClosedForNext);
    connect(&window, &frmIvn01::closedForEnding, this, &frmMain::eventClosedForEnding);
}

void frmMain::wire(frmReadme &window)
{
    connect(&window, &frmReadme::closed, this, &frmMain::sideWindowClosed);
}

void frmMain::wire(frmVer &window)
{
    connect(&window, &frmVer::closed, this, &frmMain::sideWindowClosed);
}

void frmMain::wire(EndingWindow &window)
{
    connect(&window, &EndingWindow::replayRequested, this, [this] {
        Form_Load();
        offerStart();
    });
    connect(&window, &EndingWindow::resultCodeCopied, this, [this] {
        announce(tr("パスワードをコピーしました"));
    });
    connect(&window, &EndingWindow::endRequested, this, [this] { platform_.exit.exitNow(); });
}

void frmMain::mnuExit_Click()
{
    platform_.exit.exitNow();
}

void frmMain::mnuReadme_Click()
{
    openSideWindow(window(readme_));
}

void frmMain::mnuVer_Click()
{
    openSideWindow(window(ver_));
}

void frmMain::openSideWindow(QWidget &window)
{
    window.show();
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
    const std::optional<int> frame = game_.advanceReels();
    if (!frame)
        return;
    for (int reel = 0; reel < reels::count; ++reel) {
        if (state().reelRunning[reel])
            showReelFrame(reel, *frame);
    }
}

void frmMain::showReelFrame(int reel, int frame)
{
    picSlot[reel]->setPixmap(picData[reels::pictureIndex(reel, frame)]);
}

void frmMain::describeReel(int reel)
{
    // Said when the reel starts or stops, never on a tick.
    const bool running = state().reelRunning[reel];
    picSlot[reel]->setAccessibleName(spoken::reelShows(reel, state()));
    cmdStop[reel]->setAccessibleDescription(spoken::stopState(reel, running));
}

void frmMain::showDay()
{
    ui.lblCount->setText(decimal(state().spinCount));
    ui.lblCount->setAccessibleName(spoken::day(state()));
    // The unit after the count: one word in Japanese, "day" or "days" in English.
    ui.lblNichi->setText(tr("日", "the unit after the days played", state().spinCount));
}

void frmMain::showMoney()
{
    ui.lblTensuu->setText(decimal(state().ryo));
    ui.lblTensuu->setAccessibleName(spoken::money(state().ryo));
}

// ---- What a screen reader is told, and where the focus goes ------------

void frmMain::announce(const QString &text)
{
    // It moves to the window it speaks from, which keeps it until the
    // slot machine goes.
    announcer_->say(text);
}

QWidget *frmMain::windowOnScreen()
{
    // The slot machine, or the ending that replaced it; never the visitor's
    // window, which its close box throws away with whatever it holds.
    if (isVisible())
        return this;
    for (EndingWindow *ending : std::initializer_list<EndingWindow *>{gover1_.get(), gover2_.get(), gover3_.get()}) {
        if (ending != nullptr && ending->isVisible())
            return ending;
    }
    return nullptr;
}

void frmMain::stopByKey(int reel)
{
    if (!isEnabled() || !isVisible())
        return;
    cmdStop_Click(reel);
}

// The game moves the focus only away from a reel, which draws no focus
// frame, or from nowhere (after 始 went for a visitor), and only to a
// control that draws none either: another reel, or 始 drawn without its
// focus frame until the focus leaves it. A keyboard player thus goes from 始
// to the reels and back without a key to find them, and the screen looks as
// it did.
void frmMain::moveFocusFromReel(QWidget &to)
{
    QWidget *now = focusWidget();
    if (now != nullptr && std::find(picSlot.begin(), picSlot.end(), now) == picSlot.end())
        return;
    focusWithoutFrame(to);
}

void frmMain::offerStart()
{
    ui.cmdStart->show();
    ui.cmdDamy->hide();
    moveFocusFromReel(*ui.cmdStart);
}

// ---- A day: Start, the Stops and the judging ---------------------------

void frmMain::cmdStart_Click()
{
    // 始 is about to go: the focus goes to the first reel to stop, not to
    // wherever Qt would take it, and once that reel says it turns.
    const bool startHadFocus = focusWidget() == ui.cmdStart;
    if (startHadFocus)
        ui.cmdStart->clearFocus();
    ui.cmdStart->hide();
    ui.cmdDamy->setAccessibleName(spoken::spinning());
    ui.cmdDamy->show();
    ui.lblMsg->hide();
    game_.countDay();
    showDay();

    const Day day = game_.drawDay();
    if (day.visitor) {
        ui.cmdStart->hide();
        // The visitor's window takes the focus; the slot machine holds none
        // until 始 comes back.
        ui.cmdDamy->setAccessibleName(spoken::visitorHere());
        DrawEvent(day.r);
        return;
    }
    showMoney();
    for (QPushButton *stop : cmdStop)
        stop->setText(tr("止"));
    for (int reel = 0; reel < reels::count; ++reel)
        describeReel(reel);
    if (startHadFocus)
        picSlot[0]->setFocus(Qt::OtherFocusReason);
    announce(spoken::spinStarted(state()));
}

void frmMain::cmdStop_Click(int reel)
{
    const ReelStop stopped = game_.stop(reel);
    if (stopped.wasRunning) {
        if (stopped.landedOn)
            showReelFrame(reel, *stopped.landedOn);
        describeReel(reel);
        announce(spoken::reelStopped(reel, state()));
        // On to the next reel that still turns, if the player stops them
        // from the reels.
        for (int next = 1; next < reels::count; ++next) {
            const int other = (reel + next) % reels::count;
            if (state().reelRunning[other]) {
                moveFocusFromReel(*picSlot[other]);
                break;
            }
        }
        CheckAllStopped();
    }
    // Only now, after any judging, flash and ending.
    cmdStop[reel]->setText(QString());
}

void frmMain::CheckAllStopped()
{
    if (!game_.endSpinIfAllStopped())
        return;
    JudgeSpin();
    offerStart();
}

void frmMain::JudgeSpin()
{
    if (!game_.isLine()) {
        announce(spoken::miss(state()));
        switch (game_.endingAfterMiss()) {
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
    showMoney();
}

void frmMain::flashTitleBar()
{
    flashHighlight_->toggle();
    platform_.flash.toggle(*this);
}

void frmMain::PayWin()
{
    const Payout &payout = game_.payLine();
    ui.lblMsg->setText(messageOf(payout));
    announce(spoken::line(state().reelSymbol[0], payout, state()));
    if (game_.goalReached()) {
        holdFor(platform_.clock, pauseBeforeGoal);
        GameOver1();
    }
}

// ---- Visitors ----------------------------------------------------------

void frmMain::DrawEvent(int r)
{
    setEnabled(false);
    const VisitorEvent &event = eventTable().at(r);
    frmIvn01 &visitor = window(ivn_);
    visitor.offer(game_.visit(r));
    visitor.showFor(event.kind);
    visitor.setMessage(messageOf(event));
    visitor.setName(speakerOf(event));
    visitor.showPortrait(r);
    showMoney();
    announce(spoken::visitor(event, state()));
    if (game_.yearIsOver())
        GameOver3();
}

void frmMain::eventClosedForNext()
{
    setEnabled(true);
    giveFocus(*this);
    offerStart();
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

void frmMain::GameOver1()
{
    window(gover1_).setScore(state().spinCount);
    hide();
    putEventWindowAway();
    MakeResultCode();
    window(gover1_).present();
    announce(window(gover1_).accessibleDescription());
}

void frmMain::MakeResultCode()
{
    const QString &code = game_.makeResultCode();
    window(gover1_).present();
    window(gover1_).setPassWord(code);
}

void frmMain::GameOver2()
{
    endGame(gover2_);
}

void frmMain::GameOver3()
{
    endGame(gover3_);
}

template <class Window>
void frmMain::endGame(std::unique_ptr<Window> &ending)
{
    hide();
    putEventWindowAway();
    window(ending).present();
    announce(window(ending).accessibleDescription());
}
