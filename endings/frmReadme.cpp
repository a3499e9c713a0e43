#include "endings/frmReadme.h"

#include "ui/Credits.h"
#include "ui/WindowSetup.h"

#include <QShortcut>

using namespace Qt::StringLiterals;

frmReadme::frmReadme(QWidget *parent)
    : DiscardableWindow(parent)
{
    ui.setupUi(this);
    setUpWindow(*this, TitleBar::WithCloseBox);
    readAsDialog(*this);
    ui.Label6->setText(credits::homePage());
    // A screen reader skips labels of Japanese sentences, which have no
    // spaces between words: the rules are read as the window's description.
    QStringList rules;
    for (const QLabel *paragraph : {ui.Label1, ui.Label2, ui.Label3, ui.Label4, ui.Label5, ui.Label6})
        rules << paragraph->text().trimmed();
    setAccessibleDescription(rules.join(u' ') + tr(" 閉じるボタンか Escape で閉じます"));
    // The stand-in serif face sets its lines farther apart than the face the
    // rules were laid out in; a fixed line height keeps each paragraph inside
    // its box.
    for (QLabel *paragraph : {ui.Label1, ui.Label2, ui.Label3, ui.Label4, ui.Label5}) {
        paragraph->setTextFormat(Qt::RichText);
        paragraph->setText(u"<p style=\"margin: 0; white-space: pre-wrap; line-height: 25px; -qt-line-height-type: fixed\">"_s
                           + paragraph->text().toHtmlEscaped() + u"</p>"_s);
    }
    connect(ui.cmdClose, &QPushButton::clicked, this, &frmReadme::cmdClose_Click);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &frmReadme::cmdClose_Click);
}

void frmReadme::cmdClose_Click()
{
    hide();
    emit closed();
}
