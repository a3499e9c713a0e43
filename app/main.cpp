#include "ui/RealPlatform.h"
#include "game/frmMain.h"
#include "rules/Seams.h"
#include "ui/Fonts.h"
#include "ui/Release.h"
#include "ui/Translations.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Read before the locale is made UTF-8: that may set LC_ALL to C.UTF-8.
    const Language language = desktopLanguage();
    useUtf8Locale();
    QApplication app(argc, argv);
    useLanguage(language);
    QApplication::setApplicationName(QStringLiteral("suiranjuku"));
    QApplication::setApplicationVersion(QStringLiteral(SUIRANJUKU_VERSION));
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(SUIRANJUKU_APP_ID));
    installFontSubstitutions();

    RealPlatform machine;
    const auto main = frmMain::start(machine.platform());
    return QApplication::exec();
}
