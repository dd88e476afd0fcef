#ifndef FORM1_H
#define FORM1_H

#include "form1platform.h"
#include "form1ui.h"
#include "twips.h"

#include <QWidget>

#include <memory>

class Form1Accessibility;
class Form1Focus;
class FormTestHost;
class LogPane;
class NetworkPrinter;
class RealPlatformParts;
class SerialSweep;

// The program's one window: the mode switch, the test dispatch, the log box's resize rule and
// the handlers of the window's events. Its controls (form1ui.h), what a screen reader meets
// (form1accessibility.h), where the focus goes (form1focus.h) and the real platform parts
// (realplatformparts.h) have classes of their own. Controls carry their names as object names.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    static constexpr qint16 serialMode = 1;
    static constexpr qint16 networkMode = 2;

    explicit Form1(Form1Platform platform = {}, QWidget *parent = nullptr);
    ~Form1() override;

    // Moves the shown window down and to the right by a title bar's height, staying on its
    // screen: a second window then opens beside the first instead of hiding it.
    void stepAsideFromAnother();

    qint16 PrinterMode() const { return m_PrinterMode; }
    const QString &logText() const;

    // Window events, public so that a driver can call them as the toolkit would.
    void cmdCom_Click();
    void cmdTCP_Click();
    void cmdTest_Click();
    void cmdHelp_Click();
    void cmdAvslutt_Click();
    void Form_Resize();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createTests();
    void connectEvents();
    void Form_Load();
    void ShowPrinterMode();
    // Whether the window was asked to close while the sweep held it.
    bool TestSerialPrinter();
    void TestNetworkPrinter();
    void cmdOpenTCP_Click();
    void cmdCloseTCP_Click();
    void endProgramNow();

    qint16 m_PrinterMode = serialMode;
    bool m_firstShow = true;
    Twips::Scale m_twips;

    Form1Ui m_ui;
    std::unique_ptr<Form1Accessibility> m_accessibility;
    std::unique_ptr<Form1Focus> m_focus;

    // Declared before the tests that use them, so that they outlive them.
    std::unique_ptr<RealPlatformParts> m_realParts;
    Form1Platform m_platform;

    std::unique_ptr<FormTestHost> m_testHost;
    std::unique_ptr<LogPane> m_log;
    std::unique_ptr<SerialSweep> m_serial;
    std::unique_ptr<NetworkPrinter> m_network;
};

#endif // FORM1_H
