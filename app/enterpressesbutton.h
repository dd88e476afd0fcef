#ifndef ENTERPRESSESBUTTON_H
#define ENTERPRESSESBUTTON_H

#include <QObject>

class QAbstractButton;

// Users of such tools press Enter on the focused button, as they press Space. The toolkit
// gives Enter to a button only where it is a dialog's default button; in a plain window the
// key goes unused, so this filter presses the button it reaches. Text fields are not watched:
// Enter there does nothing, as before.
class EnterPressesButton : public QObject
{
    Q_OBJECT

public:
    explicit EnterPressesButton(QObject *parent = nullptr);

    void watch(QAbstractButton *button);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

#endif // ENTERPRESSESBUTTON_H
