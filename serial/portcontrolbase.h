#ifndef PORTCONTROLBASE_H
#define PORTCONTROLBASE_H

#include "commcontrol.h"
#include "comportnumbering.h"
#include "serialsettings.h"

// What the serial controls over real ports keep alike, whatever carries their bytes: the
// settings text and its line settings, the COM number and the numbering that finds its device.
// A settings text that is malformed, or that the open port refuses, raises
// invalidPropertyValue and leaves the port as it was; a COM number below 1 raises
// comPortInvalid, and a change while the port is open comPortAlreadyOpen.
class PortControlBase : public CommControl
{
public:
    void refreshPortList() override;
    void setSettings(const QString &settings) override;
    QString Settings() const override;
    void setCommPort(qint16 port) override;
    qint16 CommPort() const override;

protected:
    explicit PortControlBase(ComPortNumbering numbering);

    // The device behind the COM number now set; empty when the numbering has none.
    QString device() const;
    const SerialSettings &lineSettings() const { return m_lineSettings; }
    // Puts the settings on the open port at once; false if the port refuses them.
    virtual bool applyToOpenPort(const SerialSettings &settings) = 0;

private:
    ComPortNumbering m_numbering;
    QString m_settings = QStringLiteral("9600,n,8,1");
    SerialSettings m_lineSettings;
    qint16 m_commPort = 1;
};

#endif // PORTCONTROLBASE_H
