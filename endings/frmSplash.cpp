#include "endings/frmSplash.h"

#include "ui/Pause.h"
#include "ui/Credits.h"
#include "ui/Pictures.h"
#include "ui/WindowSetup.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QThread>
#include <QWindow>

using namespace std::chrono_literals;

namespace {
constexpr auto splashHold = 2000ms;
// How long to wait at most for the desktop to map the window before painting.
constexpr int mapTimeoutMs = 1000;
} // namespace

frmSplash::frmSplash(QWidget *parent)
    : QWidget(parent)
{
    ui.setupUi(this);
    setUpWindow(*this, TitleBar::None);
    placeInsideBorder(*ui.Frame1);
    credits::fillTitleFrame({ui.lblCompanyProduct, ui.lblPlatform, ui.lblProductName, ui.lblVersion, ui.lblCopyright, ui.lblHttp});
    ui.imgLogo->setPixmap(pictures::logo(devicePixelRatioF()));
}

void frmSplash::showPainted()
{
    if (holding_)
        return;
    show();
    // While the desktop maps the window, the labels' faces are looked up:
    // otherwise the first painting would, after the mapping.
    for (const QLabel *label : findChildren<QLabel *>())
        (void)label->sizeHint();
    // A window is drawn only once the desktop has mapped it; until then wait
    // for that, but handle no input meanwhile.
    const QDeadlineTimer deadline(mapTimeoutMs);
    const auto mapped = [this] { return windowHandle() != nullptr && windowHandle()->isExposed(); };
    while (!mapped() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (!mapped())
            QThread::msleep(2);
    }
    repaint();
}

void frmSplash::hold(Clock &clock, const std::function<void()> &meanwhile)
{
    if (holding_)
        return;
    holding_ = true;
    holdFor(clock, splashHold, meanwhile);
}

void frmSplash::closeEvent(QCloseEvent *event)
{
    event->ignore();
}
