#include "form1focus.h"

#include "form1ui.h"
#include "logbox.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

Form1Focus::Form1Focus(QWidget &window, const Form1Ui &ui)
    : m_window(window)
    , m_ui(ui)
{
}

void Form1Focus::setTabOrder() const
{
    // Ascending tab index; labels and frames never take the focus.
    const QList<QWidget *> order = {
        m_ui.cmdAvslutt,     m_ui.cmdTest,     m_ui.txtResultat, m_ui.cmdBlankut,
        m_ui.comKopiperTekst, m_ui.cmdHelp,     m_ui.txtPause,    m_ui.comboHastighet,
        m_ui.txtComTil,      m_ui.txtComFra,   m_ui.txtIP,       m_ui.cmdCom,
        m_ui.cmdTCP,         m_ui.cmdCloseTCP, m_ui.cmdOpenTCP,  m_ui.cmdSendTest,
    };
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

void Form1Focus::focusAtFirstShow() const
{
    m_ui.cmdAvslutt->setFocus(Qt::OtherFocusReason);
    // The focus is drawn from the first moment, not only once Tab has been pressed.
    m_window.setAttribute(Qt::WA_KeyboardFocusChange);
}

void Form1Focus::focusFirstFieldOf(const QGroupBox *shown) const
{
    for (QWidget *next = m_window.nextInFocusChain(); next != &m_window;
         next = next->nextInFocusChain()) {
        if (shown->isAncestorOf(next) && next->isEnabled() && next->isVisibleTo(&m_window) &&
            (next->focusPolicy() & Qt::TabFocus)) {
            next->setFocus(Qt::OtherFocusReason);
            // Typing then replaces the whole value, as after Tab, instead of adding to it.
            if (auto *field = qobject_cast<QLineEdit *>(next))
                field->selectAll();
            return;
        }
    }
    m_ui.cmdTest->setFocus(Qt::OtherFocusReason);
}
