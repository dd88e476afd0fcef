#ifndef TWIPSPLACER_H
#define TWIPSPLACER_H

#include "twips.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// Makes the window's controls and places them in twips at the window's scale, each named by
// its object name.
class TwipsPlacer
{
public:
    explicit TwipsPlacer(const Twips::Scale &scale)
        : m_scale(scale)
    {
    }

    template <typename Widget>
    Widget *place(Widget *widget, const char *name, const Twips::Rect &rect) const
    {
        widget->setObjectName(QLatin1String(name));
        widget->setGeometry(m_scale.toPixels(rect));
        return widget;
    }

    QLabel *label(QWidget *parent, const char *name, const QString &text,
                  const Twips::Rect &rect) const;
    // A button that Enter does not press unless it has the focus (no default button).
    QPushButton *button(QWidget *parent, const char *name, const QString &text,
                        const Twips::Rect &rect) const;
    QLineEdit *textBox(QWidget *parent, const char *name, const Twips::Rect &rect) const;

private:
    const Twips::Scale &m_scale;
};

#endif // TWIPSPLACER_H
