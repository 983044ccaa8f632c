#pragma once
// The process's one application object. The process entry calls Run, which hands the command
// line after the program name to InitInstance.
#include "app/CommandLine.h"
#include "platform/Process.h"

#include <string>

class Application {
public:
    virtual ~Application() = default;
    // Whatever it returns, the process ends afterwards: there is no loop of the application's own.
    virtual bool InitInstance() = 0;

    // Defined here, not in the framework library, so that library needs nothing from app/.
    int Run() {
        m_lpCmdLine = ExtractCommandLine(platform::GetCommandLineA());
        InitInstance();
        return 0;
    }

protected:
    std::string m_lpCmdLine;
};
