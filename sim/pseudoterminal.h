#ifndef PSEUDOTERMINAL_H
#define PSEUDOTERMINAL_H

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class QSocketNotifier;

// A raw pseudo-terminal whose far end (the device path) a serial program opens as its port;
// this end plays the printer. The simulator holds the device open itself, so the line stays
// up between the far end's opens and closes, and follows those opens and closes (on Linux,
// through inotify on the device) to behave like a real port: bytes written while nobody has
// the port open are lost, and what the far end left unread when it closed the port is gone
// when it opens it again. Writes never block: bytes the line cannot take yet wait here.
class PseudoTerminal : public QObject
{
    Q_OBJECT

public:
    explicit PseudoTerminal(QObject *parent = nullptr);
    ~PseudoTerminal() override;

    bool open(QString *error);
    void close();
    bool isOpen() const { return m_master >= 0; }
    QString devicePath() const { return m_devicePath; }

    // How the program at the far end has set the line up, as the terminal's settings hold it:
    // a pseudo-terminal carries no baud rate, but keeps the one that was set.
    struct LineSettings
    {
        qint32 speed = 0; // baud; 0 where the system cannot tell
        bool eightNoneOne = false;
    };
    std::optional<LineSettings> lineSettings() const;

    // Whether some program has the device open; true where that cannot be told.
    bool isFarEndOpen();

    // Returns false, writing nothing, when nobody has the device open.
    bool write(const QByteArray &bytes);
    qint64 pendingBytes() const { return m_pending.size(); }

signals:
    void received(const QByteArray &bytes);
    void failed(const QString &error);
    void farEndOpened();
    void farEndClosed();

private:
    // openpty, watching the far end and reading what the watch saw: one file for each system
    // (pseudoterminal_linux.cpp with inotify, pseudoterminal_other.cpp without), chosen by the
    // build.
    static bool openPair(int *master, int *slave);
    void watchFarEnd();
    // Called before every decision that depends on the far end, not only when the notifier
    // fires: a program opens the port before it writes its ENQ, so the open is always queued
    // here by the time the ENQ is read.
    void readFarEndEvents();
    void readAvailable();
    void writePending();
    void fail(const QString &what);

    int m_master = -1;
    int m_slave = -1;
    int m_watch = -1;
    int m_farEndOpens = 0;
    bool m_farEndKnown = false;
    QString m_devicePath;
    QByteArray m_pending;
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    std::unique_ptr<QSocketNotifier> m_writeNotifier;
    std::unique_ptr<QSocketNotifier> m_watchNotifier;
};

#endif // PSEUDOTERMINAL_H
