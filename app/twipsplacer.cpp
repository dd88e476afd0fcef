#include "twipsplacer.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QLabel *TwipsPlacer::label(QWidget *parent, const char *name, const QString &text,
                           const Twips::Rect &rect) const
{
    return place(new QLabel(text, parent), name, rect);
}

QPushButton *TwipsPlacer::button(QWidget *parent, const char *name, const QString &text,
                                 const Twips::Rect &rect) const
{
    auto *result = place(new QPushButton(text, parent), name, rect);
    result->setAutoDefault(false);
    return result;
}

QLineEdit *TwipsPlacer::textBox(QWidget *parent, const char *name, const Twips::Rect &rect) const
{
    return place(new QLineEdit(parent), name, rect);
}
