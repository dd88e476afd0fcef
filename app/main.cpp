#include "desktopidentity.h"
#include "form1.h"
#include "toolkittranslator.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("SjekkSolvarnprinter"));
    DesktopIdentity::apply();

    ToolkitTranslator toolkitTexts;
    QApplication::installTranslator(&toolkitTexts);
    Form1 window;
    window.show();
    return QApplication::exec();
}
