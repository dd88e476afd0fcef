#ifndef FORMTESTHOST_H
#define FORMTESTHOST_H

#include "serialsweephost.h"

#include <QStringList>

class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

// The window's fields and test button as both tests see them: the fields are read when a test
// starts, corrections are written back into them, the test button is off while a test runs and
// the window is repainted after each serial port.
struct FormFields
{
    QLineEdit *txtComFra = nullptr;
    QLineEdit *txtComTil = nullptr;
    QComboBox *comboHastighet = nullptr;
    QLineEdit *txtPause = nullptr;
    QLineEdit *txtIP = nullptr;
    QPushButton *cmdTest = nullptr;
    QWidget *window = nullptr;
};

class FormTestHost : public SerialSweepHost
{
public:
    explicit FormTestHost(const FormFields &fields);

    SerialSweepFields serialFields() const;
    QString address() const;
    // The last sweep's verdict: the status of each port that answered, or that none did.
    QString serialVerdict() const;

    void setTestRunning(bool running) override;
    void setComFraText(const QString &text) override;
    void setComTilText(const QString &text) override;
    void setPauseText(const QString &text) override;
    void replyReceived(qint16 port, const QString &reply) override;
    void portDone() override;

private:
    FormFields m_fields;
    QStringList m_answers;
};

#endif // FORMTESTHOST_H
