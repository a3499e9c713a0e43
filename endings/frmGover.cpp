#include "endings/frmGover.h"

#include "ui/Credits.h"
#include "ui/Pictures.h"
#include "ui/Spoken.h"
#include "ui/WindowSetup.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QShortcut>

using namespace Qt::StringLiterals;

namespace {
constexpr int speakerPortrait = 0;   // ホウゲン speaks at every ending
}

void EndingWindow::setUpEnding(QPushButton *end, QPushButton *replay, QLabel *portrait)
{
    end_ = end;
    setUpWindow(*this, TitleBar::WithCloseBox);
    readAsDialog(*this);
    setWindowIcon(pictures::windowIcon());
    portrait->setPixmap(pictures::portrait(speakerPortrait, devicePixelRatioF()));
    connect(end, &QPushButton::clicked, this, &EndingWindow::endRequested);
    connect(replay, &QPushButton::clicked, this, [this] {
        hide();
        emit replayRequested();
    });
}

QStringList EndingWindow::textsOf(const QList<const QLabel *> &labels)
{
    QStringList texts;
    for (const QLabel *label : labels)
        texts << label->text();
    return texts;
}

void EndingWindow::describe(const QStringList &words)
{
    setAccessibleDescription(words.join(u' ')
                             + tr(" 「終了」ボタンにフォーカスがあります。Enter でゲームを終了します。"
                                  "もう一度遊ぶには Tab で「もう一度」へ移ります。"));
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
    // The code can be taken to the home page: selected with the mouse, which
    // shows nothing until the player drags, or copied whole with Ctrl+C.
    ui.lblPassWord->setTextInteractionFlags(Qt::TextSelectableByMouse);
    new QShortcut(QKeySequence::Copy, this, [this] {
        QGuiApplication::clipboard()->setText(ui.lblPassWord->text());
        emit resultCodeCopied();
    });
    describe();
}

void frmGover1::setScore(std::int32_t days)
{
    ui.lblScore->setText(QString::number(days));
    describe();
}

void frmGover1::setPassWord(const QString &code)
{
    ui.lblPassWord->setText(code);
    ui.lblPassWord->setAccessibleName(tr("パスワード %1").arg(spoken::oneByOne(code)));
    describe();
}

void frmGover1::describe()
{
    // The code digit by digit, or a screen reader says it as one number.
    EndingWindow::describe(textsOf({ui.Label1, ui.Label2, ui.Label3})
                           << tr("%1%2%3", "the score's words around its days")
                                  .arg(ui.Label5->text(), ui.lblScore->text(), ui.Label7->text())
                           << ui.lblPassWord->accessibleName() + tr("。Ctrl+C でコピーできます。")
                           << textsOf({ui.Label6, ui.Label8, ui.Label9, ui.Label10, ui.Label11}));
}

frmGover2::frmGover2()
{
    ui.setupUi(this);
    setUpEnding(ui.cmdEnd, ui.cmdReplay, ui.imgIcon_0);
    describe(textsOf({ui.Label1, ui.Label2, ui.Label3}));
}

frmGover3::frmGover3()
{
    ui.setupUi(this);
    setUpEnding(ui.cmdEnd, ui.cmdReplay, ui.imgIcon_0);
    describe(textsOf({ui.Label1, ui.Label2, ui.Label3, ui.Label5}));
}
