#ifndef ANNOUNCER_H
#define ANNOUNCER_H

#include <QWidget>

// Tells a screen reader user, once and right away, what just happened where the focus is not:
// a test's verdict, a copied or cleared log. It is a notification that takes no room and
// draws nothing, so the window looks and works as before for everyone else. Screen readers
// speak a notification when it appears, whatever the focus and whatever key was pressed;
// Orca 43 speaks neither text added to the log nor a changed description.
class Announcer : public QWidget
{
    Q_OBJECT

public:
    explicit Announcer(QWidget *parent = nullptr);

    // Makes every announcer answer screen readers as a notification.
    static void install();

    void announce(const QString &text);
    const QString &lastAnnounced() const { return m_lastAnnounced; }

private:
    QString m_lastAnnounced;
};

#endif // ANNOUNCER_H
