#include "checkprogram.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("solvarn-sjekk"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SOLVARN_VERSION));
    return runCheckProgram(QCoreApplication::arguments(), stdout, stderr);
}
