#include "ui/Announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

using namespace std::chrono_literals;

namespace {

// Time for a screen reader to fetch one text before the next replaces it: it
// asks for the name when it gets round to the event, which may be a while
// when a window has just opened with all its labels. Speech takes longer.
constexpr auto readingTime = 500ms;

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
QAccessibleInterface *notificationFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("Announcer") && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    return nullptr;
}
#endif

} // namespace

Announcer::Announcer(QWidget *parent, std::function<QWidget *()> home)
    : QWidget(parent)
    , home_(std::move(home))
    , readingTime_(readingTime)
{
    setObjectName(QStringLiteral("announcer"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(0, 0);
    hide();
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    static const bool installed = [] {
        QAccessible::installFactory(notificationFactory);
        return true;
    }();
    Q_UNUSED(installed);
#endif
    turn_.setSingleShot(true);
    connect(&turn_, &QTimer::timeout, this, &Announcer::next);
}

void Announcer::say(const QString &text)
{
    queue_.push_back(text);
    if (!turn_.isActive())
        turn_.start(0);
}

void Announcer::next()
{
    hide();
    QWidget *window = home_();
    if (queue_.empty() || window == nullptr)
        return;
    const QString text = queue_.front();
    queue_.pop_front();
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(window, text);
    QAccessible::updateAccessibility(&event);
#else
    if (parentWidget() != window)
        setParent(window);
    setAccessibleName(text);
    show();
#endif
    emit said(text);
    turn_.start(readingTime_);
}
