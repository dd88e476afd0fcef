#include "announcer.h"

#include "announcement.h"

#include <QWidget>

Announcer::Announcer(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    setObjectName(QStringLiteral("announcer"));
}

void Announcer::announce(const QString &text)
{
    const QString told = text.simplified();
    if (told.isEmpty())
        return;
    if (m_objects.size() < kept) {
        m_objects.append(new Announcement(m_window));
        m_objects.constLast()->tell(told);
        return;
    }
    Announcement *oldest = m_objects.at(m_next);
    m_next = (m_next + 1) % kept;
    oldest->tell(told);
}

QStringList Announcer::announced() const
{
    QStringList texts;
    for (qsizetype i = 0; i < m_objects.size(); ++i)
        texts << m_objects.at((m_next + i) % m_objects.size())->accessibleName();
    return texts;
}

QWidget *Announcer::latest() const
{
    if (m_objects.isEmpty())
        return nullptr;
    return m_objects.at((m_next + m_objects.size() - 1) % m_objects.size());
}
