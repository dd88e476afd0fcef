#include "namedcomboboxaccessible.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

namespace {

QAccessibleInterface *comboBoxFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("QComboBox") && object && object->isWidgetType())
        return new NamedComboBoxAccessible(static_cast<QComboBox *>(object));
    return nullptr;
}

} // namespace

NamedComboBoxAccessible::NamedComboBoxAccessible(QComboBox *box)
    : QAccessibleWidget(box, QAccessible::ComboBox)
{
}

void NamedComboBoxAccessible::install()
{
    // The factories installed last are asked first; the toolkit's own comes with the
    // application. Installing twice changes nothing.
    QAccessible::installFactory(comboBoxFactory);
}

QComboBox *NamedComboBoxAccessible::comboBox() const
{
    return static_cast<QComboBox *>(object());
}

QString NamedComboBoxAccessible::text(QAccessible::Text type) const
{
    if (type == QAccessible::Value)
        return comboBox()->currentText();
    return QAccessibleWidget::text(type);
}

QAccessible::State NamedComboBoxAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.expandable = true;
    state.expanded = comboBox()->view() && comboBox()->view()->isVisible();
    state.editable = comboBox()->isEditable();
    return state;
}

QList<QObject *> NamedComboBoxAccessible::children() const
{
    QList<QObject *> result;
    if (QAbstractItemView *list = comboBox()->view())
        result << list;
    if (QLineEdit *field = comboBox()->lineEdit())
        result << field;
    return result;
}

int NamedComboBoxAccessible::childCount() const
{
    return static_cast<int>(children().size());
}

QAccessibleInterface *NamedComboBoxAccessible::child(int index) const
{
    const QList<QObject *> all = children();
    if (index < 0 || index >= all.size())
        return nullptr;
    return QAccessible::queryAccessibleInterface(all.at(index));
}

int NamedComboBoxAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    return static_cast<int>(children().indexOf(child->object()));
}

QStringList NamedComboBoxAccessible::actionNames() const
{
    return {QAccessibleActionInterface::showMenuAction(),
            QAccessibleActionInterface::pressAction()};
}

void NamedComboBoxAccessible::doAction(const QString &actionName)
{
    if (actionName != QAccessibleActionInterface::showMenuAction() &&
        actionName != QAccessibleActionInterface::pressAction())
        return;
    if (comboBox()->view() && comboBox()->view()->isVisible())
        comboBox()->hidePopup();
    else
        comboBox()->showPopup();
}
