#pragma once
// The process's one application object. The process entry calls Run with the command line after
// the program name, which InitInstance finds in m_lpCmdLine.
#include <string>
#include <utility>

class Application {
public:
    virtual ~Application() = default;
    // Whatever it returns, the process ends afterwards: there is no loop of the application's own.
    virtual bool InitInstance() = 0;

    int Run(std::string commandLine) {
        m_lpCmdLine = std::move(commandLine);
        InitInstance();
        return 0;
    }

protected:
    std::string m_lpCmdLine;
};
