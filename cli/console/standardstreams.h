#ifndef STANDARDSTREAMS_H
#define STANDARDSTREAMS_H

// The standard output and error as solvarn-sjekk needs them, set up for as long as this object
// is held and given back by restore(): the same bytes on every system, and a check that ends
// with its status whoever reads it. One file for each system (standardstreams_unix.cpp,
// standardstreams_win.cpp), chosen by the build.
class StandardStreams
{
public:
    StandardStreams();
    StandardStreams(const StandardStreams &) = delete;
    StandardStreams &operator=(const StandardStreams &) = delete;

    // Gives back what the console had before; the program ends without destructors.
    void restore();

private:
    // The console's own output code page (Windows), 0 where there is none to give back.
    unsigned m_consoleCodePage = 0;
};

#endif // STANDARDSTREAMS_H
