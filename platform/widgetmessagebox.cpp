#include "widgetmessagebox.h"

#include <QMessageBox>

WidgetMessageBox::WidgetMessageBox(QWidget *parent)
    : m_parent(parent)
{
}

void WidgetMessageBox::showMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(applicationTitle), text,
                    QMessageBox::Ok, m_parent.data());
    box.exec();
}
