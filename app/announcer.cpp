#include "announcer.h"

#include <QAccessibleWidget>

namespace {

QAccessibleInterface *announcerFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("Announcer") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("announcer"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    hide();
}

void Announcer::install()
{
    QAccessible::installFactory(announcerFactory);
}

void Announcer::announce(const QString &text)
{
    m_lastAnnounced = text.simplified();
    setAccessibleName(m_lastAnnounced);
    // Appearing is what is announced: hidden first, so that the same text twice is told twice.
    hide();
    if (!m_lastAnnounced.isEmpty())
        show();
}
