#ifndef ANNOUNCER_H
#define ANNOUNCER_H

#include <QList>
#include <QObject>
#include <QStringList>

class Announcement;
class QWidget;

// Tells a screen reader user, once each and in order, what just happened where the focus is
// not: a test's start and verdict, a copied or cleared log. Orca gets to an announcement
// seconds after it appears; one object whose text a later announcement replaced would be read
// with the later text, and the earlier one lost. So each announcement has an object of its
// own, which keeps its text while the screen reader's queue of events catches up: the
// announcements wait there, in the order told. The objects are used again, the oldest first,
// once as many newer announcements have followed as any screen reader could lag behind.
class Announcer : public QObject
{
    Q_OBJECT

public:
    // Announcements told before one is used again: far more than a test and a button's
    // outcome tell within a screen reader's lag.
    static constexpr qsizetype kept = 16;

    explicit Announcer(QWidget *window);

    void announce(const QString &text);

    // The announcements still kept, the oldest first.
    QStringList announced() const;
    // The newest announcement's object, or none before the first.
    QWidget *latest() const;

private:
    QWidget *m_window;
    QList<Announcement *> m_objects;
    // The position of the next announcement in m_objects, once all exist.
    qsizetype m_next = 0;
};

#endif // ANNOUNCER_H
