#include "endings/frmGover.h"

#include "ui/Credits.h"
#include "ui/Pictures.h"
#include "ui/WindowSetup.h"

#include <QCloseEvent>

namespace {
constexpr int speakerPortrait = 0;   // ホウゲン speaks at every ending
}

void EndingWindow::setUpEnding(QPushButton *end, QPushButton *replay, QLabel *portrait)
{
    end_ = end;
    setUpWindow(*this, TitleBar::WithCloseBox);
    setWindowIcon(pictures::windowIcon());
    portrait->setPixmap(pictures::portrait(speakerPortrait, devicePixelRatioF()));
    connect(end, &QPushButton::clicked, this, &EndingWindow::endRequested);
    connect(replay, &QPushButton::clicked, this, [this] {
        hide();
        emit replayRequested();
    });
}

void EndingWindow::present()
{
    show();
    giveFocus(*this);
    end_->setFocus();
}

void EndingWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    emit endRequested();
}

frmGover1::frmGover1()
{
    ui.setupUi(this);
    ui.Label9->setText(credits::homePage());
    setUpEnding(ui.cmdEnd, ui.cmdReplay, ui.imgIcon_0);
}

void frmGover1::setScore(std::int32_t days)
{
    ui.lblScore->setText(QString::number(days));
}

void frmGover1::setPassWord(const QString &code)
{
    ui.lblPassWord->setText(code);
}

frmGover2::frmGover2()
{
    ui.setupUi(this);
    setUpEnding(ui.cmdEnd, ui.cmdReplay, ui.imgIcon_0);
}

frmGover3::frmGover3()
{
    ui.setupUi(this);
    setUpEnding(ui.cmdEnd, ui.cmdReplay, ui.imgIcon_0);
}
