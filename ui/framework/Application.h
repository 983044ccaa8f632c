#pragma once
// The process's one application object. The process entry calls Run with the command line after
// the program name, which InitInstance finds in m_lpCmdLine, and ends with the code ExitInstance gives.
#include <string>
#include <utility>

class Application {
public:
    virtual ~Application() = default;
    // Whatever it returns, the process ends afterwards: there is no loop of the application's own.
    virtual bool InitInstance() = 0;
    // The process's exit code.
    virtual int ExitInstance() = 0;

    int Run(std::string commandLine) {
        m_lpCmdLine = std::move(commandLine);
        InitInstance();
        return ExitInstance();
    }

protected:
    std::string m_lpCmdLine;
};
