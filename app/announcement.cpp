#include "announcement.h"

#include <QAccessibleWidget>

namespace {

QAccessibleInterface *announcementFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("Announcement") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

Announcement::Announcement(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("announcement"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    hide();
}

void Announcement::install()
{
    QAccessible::installFactory(announcementFactory);
}

void Announcement::tell(const QString &text)
{
    hide();
    setAccessibleName(text);
    show();
}
