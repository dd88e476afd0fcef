#ifndef SPEEDBOXWHEEL_H
#define SPEEDBOXWHEEL_H

#include <QObject>

class QComboBox;

// The speed box shows a speed that is not a selected entry of its list, and the toolkit's
// wheel then jumps to the first entry: one stray notch turns "19200" into "110". Here the
// wheel steps from the speed shown to its neighbour in the list (the list rises, so a speed
// typed by hand has neighbours too), one entry a notch, up towards the top of the list; at
// either end of the list, or over a text that is no speed, it changes nothing.
class SpeedBoxWheel : public QObject
{
    Q_OBJECT

public:
    explicit SpeedBoxWheel(QObject *parent = nullptr);

    void watch(QComboBox *speedBox);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

#endif // SPEEDBOXWHEEL_H
