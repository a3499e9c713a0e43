#include "endings/frmVer.h"

#include "ui/Credits.h"
#include "ui/WindowSetup.h"

#include <QCloseEvent>

frmVer::frmVer(QWidget *parent)
    : QWidget(parent)
{
    ui.setupUi(this);
    setUpWindow(*this, TitleBar::None);
    placeInsideBorder(*ui.Frame1);
    credits::fillTitleFrame({ui.lblCompanyProduct, ui.lblPlatform, ui.lblProductName, ui.lblVersion, ui.lblCopyright, ui.lblHttp});
    connect(ui.cmdClose, &QPushButton::clicked, this, &frmVer::cmdClose_Click);
}

void frmVer::cmdClose_Click()
{
    hide();
    emit closed();
}

void frmVer::closeEvent(QCloseEvent *event)
{
    event->ignore();
    cmdClose_Click();
}
