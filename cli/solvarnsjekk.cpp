#include "solvarnsjekk.h"

#include "checkprogram.h"
#include "findprogram.h"

#include <QLatin1String>

int runSolvarnSjekk(const QStringList &arguments, std::FILE *out, std::FILE *err,
                    const ProgramEnd &endProgram)
{
    if (arguments.size() > 1 && arguments.at(1) == QLatin1String("find"))
        return runFindProgram(arguments, out, err);
    return runCheckProgram(arguments, out, err, endProgram);
}
