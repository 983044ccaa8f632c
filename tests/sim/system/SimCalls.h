#pragma once
// Watching and breaking the simulated machine one call at a time: every file, volume and registry
// call of the simulated system services first asks the installed hooks, which see the call and may
// make it fail. A hook may change the machine (unplug a drive, fill a disk) before the call goes on.
#include <functional>
#include <string>

namespace platform::sim {

enum class CallKind {
    Open,
    GetLength,
    Read,
    Write,
    SetLength,
    Seek,
    Flush,
    Move,
    Delete,
    Find,
    DriveStrings,
    DriveType,
    FreeSpace,
    RegistryOpen,
    RegistryQuery,
};

struct Call {
    CallKind kind;
    std::string path;        // the file, root or key ("key\value" for a query); empty for the drive list
    bool writes = false;     // an open for writing
    std::string target = {}; // a rename's new name
    char drive = 0;          // the letter `path` starts with, upper case; 0 for any other path
};

// Returns 0 to let the call go on, or the system error it fails with.
using CallHook = std::function<long(const Call&)>;

// Installs `hook` for the lifetime of this object. Hooks run on the calling thread, in the order
// they were installed, with no lock of the machine held; the first error wins.
class ScopedCallHook {
public:
    explicit ScopedCallHook(CallHook hook);
    ~ScopedCallHook();
    ScopedCallHook(const ScopedCallHook&) = delete;
    ScopedCallHook& operator=(const ScopedCallHook&) = delete;

private:
    int id_;
};

// Asked by the simulated services before each call: 0, or the error the call must fail with.
long BeforeCall(Call call);

} // namespace platform::sim
