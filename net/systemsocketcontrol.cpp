#include "systemsocketcontrol.h"

namespace {
class PlaceholderSocketControl : public SocketControl
{
public:
    using SocketControl::SocketControl;
    void setRemoteHost(const QString &) override {}
    void setRemotePort(qint32) override {}
    void Connect() override {}
    void Close() override {}
    qint16 State() const override { return sckClosed; }
    void GetData(QString &data) override { data.clear(); }
};
} // namespace

std::unique_ptr<SocketControl> createSystemSocketControl(QObject *parent)
{
    return std::make_unique<PlaceholderSocketControl>(parent);
}
