#include "systemcommcontrol.h"

namespace {
class PlaceholderCommControl : public CommControl
{
public:
    void setSettings(const QString &settings) override { m_settings = settings; }
    QString Settings() const override { return m_settings; }
    void setCommPort(qint16 port) override { m_port = port; }
    qint16 CommPort() const override { return m_port; }
    void setPortOpen(bool) override {}
    bool PortOpen() const override { return false; }
    void setOutput(const QString &) override {}
    int InBufferCount() override { return 0; }
    QString Input() override { return {}; }

private:
    QString m_settings = QStringLiteral("9600,n,8,1");
    qint16 m_port = 1;
};
} // namespace

std::unique_ptr<CommControl> createSystemCommControl()
{
    return std::make_unique<PlaceholderCommControl>();
}
