#ifndef SPEEDBOXSTEPPER_H
#define SPEEDBOXSTEPPER_H

#include <QObject>

class QComboBox;

// The speed box shows a speed that is not a selected entry of its list, and the toolkit's
// wheel and arrow keys then jump to the first entry: one stray notch or one press of Down
// turns "19200" into "110". Here the wheel, the Up and Down keys and Page Up and Page Down
// step from the speed shown to its neighbour in the list (the list rises, so a speed typed by
// hand has neighbours too), one entry at a time; a notch away from the user, Up and Page Up go
// towards the top of the list. At either end of the list, or over a text that is no speed, they
// change nothing.
class SpeedBoxStepper : public QObject
{
    Q_OBJECT

public:
    explicit SpeedBoxStepper(QObject *parent = nullptr);

    void watch(QComboBox *speedBox);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

#endif // SPEEDBOXSTEPPER_H
