#include "events/frmIvn01.h"

#include "ui/Pictures.h"
#include "ui/WindowSetup.h"

#include <QShortcut>
#include <QTextBlockFormat>
#include <QTextCursor>

using namespace Qt::StringLiterals;

namespace {
constexpr int messageLineHeight = 20;   // pixels, for the 19-pixel face
}

frmIvn01::frmIvn01(QWidget *parent)
    : DiscardableWindow(parent)
{
    ui.setupUi(this);
    setUpWindow(*this, TitleBar::WithCloseBox);
    readAsDialog(*this);
    // The text may be selected with the mouse or the keyboard, not edited;
    // it starts two pixels inside the box, as in a plain edit box.
    ui.txtMsg->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    ui.txtMsg->document()->setDocumentMargin(2);
    setWindowIcon(pictures::windowIcon());

    imgIcon = {ui.imgIcon_0, ui.imgIcon_1, ui.imgIcon_2, ui.imgIcon_3, ui.imgIcon_4, ui.imgIcon_5,
               ui.imgIcon_6, ui.imgIcon_7, ui.imgIcon_8, ui.imgIcon_9, ui.imgIcon_10};
    cmdEnd = {ui.cmdEnd_0, ui.cmdEnd_1};
    const qreal dpr = devicePixelRatioF();
    for (int i = 0; i < visitorCount; ++i)
        imgIcon[i]->setPixmap(pictures::portrait(i, dpr));

    connect(ui.cmdNext, &QPushButton::clicked, this, &frmIvn01::cmdNext_Click);
    for (int i = 0; i < 2; ++i)
        connect(cmdEnd[i], &QPushButton::clicked, this, [this, i] { cmdEnd_Click(i); });
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &frmIvn01::closeByVisibleButton);
}

void frmIvn01::prepare()
{
    ui.cmdNext->show();
    for (QPushButton *end : cmdEnd)
        end->hide();
}

void frmIvn01::offer(EventClosing closing)
{
    if (closing == EventClosing::Next)
        return;
    ui.cmdNext->hide();
    cmdEnd[closing == EventClosing::MoneyGone ? 0 : 1]->show();
}

void frmIvn01::showFor(EventKind kind)
{
    // Visitors who take money come on a dull red, those who give on the
    // teal the window was made with.
    const QColor background = kind == EventKind::Loss ? QColor(0x99, 0x66, 0x66) : QColor(0x33, 0x66, 0x66);
    QPalette colours = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        colours.setColor(group, QPalette::Window, background);
    setPalette(colours);
    show();
    giveFocus(*this);
}

void frmIvn01::setMessage(const QString &text)
{
    ui.txtMsg->setPlainText(text);
    // Every message shows whole, five lines with one wrapped included, and
    // leaves nothing to scroll: the lines stand a little closer than the
    // stand-in face sets them, as the face the box was laid out in did.
    QTextBlockFormat lines;
    lines.setLineHeight(messageLineHeight, QTextBlockFormat::FixedHeight);
    QTextCursor all(ui.txtMsg->document());
    all.select(QTextCursor::Document);
    all.mergeBlockFormat(lines);
    describe();
}

void frmIvn01::setName(const QString &name)
{
    ui.lblName->setText(name);
    describe();
}

void frmIvn01::describe()
{
    // Read as the window opens, the whole message at once rather than one
    // line of the text box per key.
    QString words = ui.txtMsg->toPlainText();
    words.replace(u'\r', u' ').replace(u'\n', u' ');
    setAccessibleDescription(tr("%1「%2」 閉じるボタンか Escape で閉じます").arg(ui.lblName->text(), words.simplified()));
}

void frmIvn01::closeByVisibleButton()
{
    if (ui.cmdNext->isVisibleTo(this))
        cmdNext_Click();
    for (int i = 0; i < 2; ++i) {
        if (cmdEnd[i]->isVisibleTo(this))
            cmdEnd_Click(i);
    }
}

void frmIvn01::showPortrait(int visitor)
{
    imgIcon.at(visitor)->show();
}

void frmIvn01::putAway()
{
    for (QLabel *portrait : imgIcon)
        portrait->hide();
    hide();
}

void frmIvn01::cmdNext_Click()
{
    putAway();
    emit closedForNext();
}

void frmIvn01::cmdEnd_Click(int index)
{
    putAway();
    emit closedForEnding(index);
}
