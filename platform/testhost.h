#ifndef TESTHOST_H
#define TESTHOST_H

// The front-end that runs a test: the window switches its test button, a command line does
// nothing. A test says when it starts and when it has finished.
class TestHost
{
public:
    virtual ~TestHost() = default;
    virtual void setTestRunning(bool running) = 0;
};

#endif // TESTHOST_H
