#ifndef ANNOUNCEMENT_H
#define ANNOUNCEMENT_H

#include <QWidget>

// One thing told to a screen reader user: a notification that takes no room and draws
// nothing. Screen readers speak a notification when it appears, whatever the focus and
// whatever key was pressed, and read its text when they get to it, which may be seconds later:
// its text stays as it was told until it is told anew.
class Announcement : public QWidget
{
    Q_OBJECT

public:
    explicit Announcement(QWidget *parent = nullptr);

    // Makes every announcement answer screen readers as a notification.
    static void install();

    // Hidden first, so that it appears again with the text.
    void tell(const QString &text);
};

#endif // ANNOUNCEMENT_H
