#include "runningmarker.h"

#include <windows.h>

namespace {

// The machine's namespace reaches an installer run by an administrator in another session (a
// terminal server, a second user signed in); the session's own is there when an account may not
// make objects in the machine's. The installer looks for both.
const wchar_t *const machineWideName = L"Global\\" SOLVARN_RUNNING_MARKER;
const wchar_t *const sessionName = L"Local\\" SOLVARN_RUNNING_MARKER;
// One per program, in the session: a window that finds it made already is a second window.
const wchar_t *const windowName = L"Local\\" SOLVARN_RUNNING_MARKER "-vindu";
const wchar_t *const checkName = L"Local\\" SOLVARN_RUNNING_MARKER "-sjekk";

// Never owned or waited for: its existence is the mark. A second copy of a program opens the one
// the first made, and the mark goes with the last handle.
void *marked(const wchar_t *name)
{
    return CreateMutexW(nullptr, FALSE, name);
}

void unmarked(void *handle)
{
    if (handle != nullptr)
        CloseHandle(handle);
}

} // namespace

RunningMarker::RunningMarker(Program program)
    : m_machineWide(marked(machineWideName))
    , m_session(marked(sessionName))
{
    m_sameProgram = marked(program == Program::Window ? windowName : checkName);
    m_anotherCopyRuns = m_sameProgram != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
}

RunningMarker::~RunningMarker()
{
    unmarked(m_sameProgram);
    unmarked(m_session);
    unmarked(m_machineWide);
}
