#include "discovery/PathProbe.h"

#include "platform/File.h"

bool PathProbe::Exists() const {
    const platform::FindHandle search = platform::FindFirstFileA(path_.c_str());
    if (search == nullptr) {
        return false;
    }
    platform::FindClose(search);
    return true;
}
