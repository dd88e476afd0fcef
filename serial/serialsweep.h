#ifndef SERIALSWEEP_H
#define SERIALSWEEP_H

class CommControl;
class LogSink;
class Sleeper;
class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

// The window's fields that the sweep reads and corrects.
struct SerialSweepControls
{
    QLineEdit *txtComFra = nullptr;
    QLineEdit *txtComTil = nullptr;
    QComboBox *comboHastighet = nullptr;
    QLineEdit *txtPause = nullptr;
    QPushButton *cmdTest = nullptr;
    QWidget *window = nullptr; // repainted after each port
};

class SerialSweep
{
public:
    SerialSweep(const SerialSweepControls &controls, CommControl &comPort, Sleeper &sleeper,
                LogSink &log);

    void TestSerialPrinter();

private:
    SerialSweepControls m_controls;
    CommControl &m_comPort;
    Sleeper &m_sleeper;
    LogSink &m_log;
};

#endif // SERIALSWEEP_H
