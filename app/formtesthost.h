#ifndef FORMTESTHOST_H
#define FORMTESTHOST_H

#include "serialsweephost.h"
#include "serialverdict.h"

#include <QString>

#include <functional>

class LogPane;
class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

// The window's fields and test button as both tests see them: the fields are read when a test
// starts, corrections are written back into them, the test button is off while a test runs and
// the window is repainted after each serial port. What a screen reader user is told of a test
// starts here too.
struct FormFields
{
    QLineEdit *txtComFra = nullptr;
    QLineEdit *txtComTil = nullptr;
    QComboBox *comboHastighet = nullptr;
    QLineEdit *txtPause = nullptr;
    QLineEdit *txtIP = nullptr;
    QPushButton *cmdTest = nullptr;
    QWidget *window = nullptr;
    const LogPane *log = nullptr;
    // Tells a screen reader user.
    std::function<void(const QString &)> announce;
    // Whether the user may not open the device behind a COM number; empty: never.
    std::function<bool(qint16)> portDenied;
};

class FormTestHost : public SerialSweepHost
{
public:
    explicit FormTestHost(const FormFields &fields);

    SerialSweepFields serialFields() const;
    QString address() const;
    // The last sweep's verdict, from what each of its ports did.
    QString serialVerdict() const;
    // Where in the log the last sweep's verdict can be read again: the status line of the first
    // port that answered with a status, else the first status line; -1 where it wrote none.
    qsizetype serialVerdictAt() const { return m_verdictAt; }
    // Told once the next test has taken the focus from the test button.
    void announceAtStart(const QString &text) { m_startText = text; }

    void setTestRunning(bool running) override;
    void setComFraText(const QString &text) override;
    void setComTilText(const QString &text) override;
    void setPauseText(const QString &text) override;
    void sweepStarts(const SerialSweepPlan &plan) override;
    void replyReceived(qint16 port, const QString &reply) override;
    void statusLineFollows(qint16 port) override;
    void portFailed(qint16 port, qint32 errorNumber) override;
    void portDone() override;

private:
    FormFields m_fields;
    SerialVerdict m_verdict;
    QString m_startText;
    qsizetype m_verdictAt = -1;
    bool m_verdictIsStatus = false;
    // Whether the last reply was a printer's status, for the status line that follows it.
    bool m_lastReplyIsStatus = false;
};

#endif // FORMTESTHOST_H
