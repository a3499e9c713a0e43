#include "game/RealPlatform.h"
#include "game/frmMain.h"
#include "ui/Fonts.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("suiranjuku"));
    QApplication::setApplicationVersion(QStringLiteral(SUIRANJUKU_VERSION));
    installFontSubstitutions();

    RealPlatform machine;
    frmMain main(machine.platform());
    main.Form_Load();
    return QApplication::exec();
}
