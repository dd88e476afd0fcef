#ifndef FORM1FOCUS_H
#define FORM1FOCUS_H

class Form1Ui;
class QGroupBox;
class QWidget;

// Where the window's focus goes: the tab order, the first control at the first showing, and
// the first field of the frame a mode switch shows.
class Form1Focus
{
public:
    Form1Focus(QWidget &window, const Form1Ui &ui);

    void setTabOrder() const;
    void focusAtFirstShow() const;
    // The shown frame's first field in the tab order, or "Test skriver" when it has none.
    void focusFirstFieldOf(const QGroupBox *shown) const;

private:
    QWidget &m_window;
    const Form1Ui &m_ui;
};

#endif // FORM1FOCUS_H
