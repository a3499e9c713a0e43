#include "endings/frmReadme.h"

#include "ui/Credits.h"
#include "ui/WindowSetup.h"

#include <QCloseEvent>

frmReadme::frmReadme(QWidget *parent)
    : QWidget(parent)
{
    ui.setupUi(this);
    setUpWindow(*this, TitleBar::WithCloseBox);
    setAttribute(Qt::WA_DeleteOnClose);
    ui.Label6->setText(credits::homePage());
    connect(ui.cmdClose, &QPushButton::clicked, this, &frmReadme::cmdClose_Click);
}

void frmReadme::cmdClose_Click()
{
    hide();
    emit closed();
}

void frmReadme::closeEvent(QCloseEvent *event)
{
    cmdClose_Click();
    event->accept();
}
