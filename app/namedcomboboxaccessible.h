#ifndef NAMEDCOMBOBOXACCESSIBLE_H
#define NAMEDCOMBOBOXACCESSIBLE_H

#include <QAccessibleWidget>

class QComboBox;

// What screen readers learn of a combo box. On Linux the toolkit gives a combo box the text it
// shows as its name, whatever name it was given, so the speed box is read as "19200, 19200"
// and never as "Hastighet". This interface names a combo box as the toolkit does elsewhere,
// by its accessible name or its label, keeps the text as its value, and offers the rest as
// the toolkit's own does: the list and the text field as children, and opening the list.
class NamedComboBoxAccessible : public QAccessibleWidget
{
public:
    explicit NamedComboBoxAccessible(QComboBox *box);

    // Makes every combo box created from now on answer through this interface.
    static void install();

    QString text(QAccessible::Text type) const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

private:
    QComboBox *comboBox() const;
    QList<QObject *> children() const;
};

#endif // NAMEDCOMBOBOXACCESSIBLE_H
