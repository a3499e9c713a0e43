#include "support/GameFixture.h"


GameFixture::GameFixture()
{
    main.Form_Load();
}

QString GameFixture::text(const char *labelName) const
{
    return find<QLabel>(labelName)->text();
}

QString GameFixture::caption(const char *buttonName) const
{
    return find<QPushButton>(buttonName)->text();
}

bool GameFixture::shown(const char *name) const
{
    return find(name)->isVisible();
}

void GameFixture::click(QWidget *widget)
{
    QVERIFY(widget != nullptr);
    if (!widget->isVisible())
        return;
    QTest::mouseClick(widget, Qt::LeftButton);
}

void GameFixture::activate(QWidget *window)
{
    // Qt 6.8 deprecates this for QWidget::activateWindow(), which only asks
    // the platform and activates later; a test needs it done before its key.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(window);
    QT_WARNING_POP
}

void GameFixture::tick(int times)
{
    ::tick(main, times);
}

void GameFixture::pressStartForSpin()
{
    machine.random.queueSpin();
    click("cmdStart");
}

void GameFixture::pressStartForVisitor(int r)
{
    machine.random.queueVisitor(r);
    click("cmdStart");
}

QPushButton *GameFixture::stopButton(int reel) const
{
    static const char *const names[] = {"cmdStop1", "cmdStop2", "cmdStop3"};
    return find<QPushButton>(names[reel]);
}

void GameFixture::stopOn(int reel, int frame)
{
    turnUntilShown(main, frame);
    stop(reel);
}

void GameFixture::spinAndStopOn(int frame1, int frame2, int frame3)
{
    pressStartForSpin();
    stopOn(0, frame1);
    stopOn(1, frame2);
    stopOn(2, frame3);
}

QWidget *GameFixture::window(const QString &objectName)
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == objectName)
            return w;
    }
    return nullptr;
}

QStringList GameFixture::windowsShown()
{
    QStringList shown;
    for (const QWidget *w : visibleWindows())
        shown << w->objectName();
    shown.sort();
    return shown;
}

bool GameFixture::windowShown(const QString &objectName)
{
    const QWidget *w = window(objectName);
    return w != nullptr && w->isVisible();
}
