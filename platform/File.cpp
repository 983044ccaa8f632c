#include "platform/File.h"

namespace platform {

FileError::FileError(const std::string& path, long code)
    : std::runtime_error(path + ": system error " + std::to_string(code)), path_(path), code_(code) {}

File::~File() {
    Close();
}

void File::OpenOrThrow(const std::string& path, Mode mode) {
    long error = 0;
    if (!Open(path, mode, &error)) {
        throw FileError(path, error);
    }
}

} // namespace platform
