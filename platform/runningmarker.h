#ifndef RUNNINGMARKER_H
#define RUNNINGMARKER_H

// Tells the installer and the uninstaller, for as long as the object lives, that one of the
// programs runs, so that they replace or remove no file it holds. On Windows it is a named
// mutex (runningmarker_win.cpp) that installer.nsi looks for under the same name
// (SOLVARN_RUNNING_MARKER in platform/CMakeLists.txt); other systems' packages replace files in
// use safely, and there it does nothing.
class RunningMarker
{
public:
    // The window and the check are marked alike; the window also learns whether another
    // window runs in the same session, to open beside it rather than on top of it.
    enum class Program { Window, Check };

    explicit RunningMarker(Program program);
    ~RunningMarker();
    RunningMarker(const RunningMarker &) = delete;
    RunningMarker &operator=(const RunningMarker &) = delete;

    // Whether another copy of the same program already ran in this session when this one
    // started (only ever true on Windows).
    bool anotherCopyRuns() const { return m_anotherCopyRuns; }

private:
    // The system's handles, kept opaque so that no shared file sees a system header.
    void *m_machineWide = nullptr;
    void *m_session = nullptr;
    void *m_sameProgram = nullptr;
    bool m_anotherCopyRuns = false;
};

#endif // RUNNINGMARKER_H
