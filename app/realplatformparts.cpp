#include "realplatformparts.h"

#include "answeringsleeper.h"
#include "commcontrol.h"
#include "comportsetting.h"
#include "qteventpump.h"
#include "socketcontrol.h"
#include "systemclipboard.h"
#include "systemcommcontrol.h"
#include "systemsocketcontrol.h"
#include "widgetmessagebox.h"

namespace {

// Makes a real part where the caller left one empty and points the platform at it.
template <typename Part, typename Make>
void fillIn(Part *&part, std::unique_ptr<Part> &owned, Make make)
{
    if (part)
        return;
    owned = make();
    part = owned.get();
}

} // namespace

RealPlatformParts::RealPlatformParts(Form1Platform &platform, QWidget *window)
{
    fillIn(platform.clipboard, m_clipboard, [] { return std::make_unique<SystemClipboard>(); });
    fillIn(platform.messageBox, m_messageBox,
           [window] { return std::make_unique<WidgetMessageBox>(window); });
    fillIn(platform.eventPump, m_eventPump, [] { return std::make_unique<QtEventPump>(); });
    fillIn(platform.sleeper, m_sleeper, [] { return std::make_unique<AnsweringSleeper>(); });
    fillIn(platform.comPort, m_comPort, [&platform] {
        // One numbering for the control and the window, which asks it about a port it
        // could not open.
        const ComPortNumbering numbering = configuredComPortNumbering();
        platform.comPortDevice = numbering.resolve;
        return createSystemCommControl(numbering);
    });
    fillIn(platform.sockInn, m_sockInn, [] { return createSystemSocketControl(); });
    fillIn(platform.sockUt, m_sockUt, [] { return createSystemSocketControl(); });
}

RealPlatformParts::~RealPlatformParts() = default;
