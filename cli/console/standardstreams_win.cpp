#include "standardstreams.h"

#include <cstdio>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

StandardStreams::StandardStreams()
{
    // The same bytes as on other systems in files and pipes: --raw's CR LF must not become
    // CR CR LF. A console gets the text itself (writeWhole); its UTF-8 code page is for what
    // others write on it, Qt's own warnings. It gets its own code page back at the end.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    m_consoleCodePage = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
}

void StandardStreams::restore()
{
    if (m_consoleCodePage != 0)
        SetConsoleOutputCP(m_consoleCodePage);
}
