#include "desktopguard.h"
#include "desktopidentity.h"
#include "form1.h"
#include "runningmarker.h"
#include "toolkittranslator.h"

#include <QApplication>

#include <memory>

int main(int argc, char *argv[])
{
    const RunningMarker running(RunningMarker::Program::Window);
    if (!DesktopGuard::desktopNamed(argc, argv))
        return DesktopGuard::noDesktopStatus;
    auto guard = std::make_unique<DesktopGuard>();
    QApplication app(argc, argv);
    guard.reset();
    QApplication::setApplicationName(QStringLiteral("SjekkSolvarnprinter"));
    DesktopIdentity::apply();

    ToolkitTranslator toolkitTexts;
    QApplication::installTranslator(&toolkitTexts);
    Form1 window;
    window.show();
    if (running.anotherCopyRuns())
        window.stepAsideFromAnother();
    return QApplication::exec();
}
