#include "endings/frmVer.h"

#include "ui/Credits.h"
#include "ui/WindowSetup.h"

#include <QCloseEvent>
#include <QShortcut>

using namespace Qt::StringLiterals;

frmVer::frmVer(QWidget *parent)
    : QWidget(parent)
{
    ui.setupUi(this);
    setUpWindow(*this, TitleBar::None);
    readAsDialog(*this);
    placeInsideBorder(*ui.Frame1);
    credits::fillTitleFrame({ui.lblCompanyProduct, ui.lblPlatform, ui.lblProductName, ui.lblVersion, ui.lblCopyright, ui.lblHttp});
    connect(ui.cmdClose, &QPushButton::clicked, this, &frmVer::cmdClose_Click);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &frmVer::cmdClose_Click);
    // The window has no title: a screen reader gets a name, and what the
    // labels say as its description.
    setAccessibleName(tr("バージョン情報"));
    QStringList words;
    for (const QLabel *label : {ui.lblProductName, ui.lblVersion, ui.lblCompanyProduct, ui.lblCopyright, ui.lblHttp})
        words << label->text();
    setAccessibleDescription(words.join(u' ') + tr(" 閉じるボタンか Escape で閉じます"));
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
