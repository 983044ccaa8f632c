// winedrive: defines or removes a drive letter in the running Wine prefix.
#include "WineDrive.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int Usage() {
    std::fputs("usage: winedrive define LETTER /absolute/unix/path removable|fixed\n"
               "       winedrive remove LETTER\n",
               stderr);
    return 1;
}

// Unix paths are UTF-8; the ANSI argv would lose characters outside the code page.
std::vector<std::string> Utf8Arguments() {
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr)
        return args;
    for (int i = 0; i < count; ++i) {
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string text(bytes > 0 ? bytes - 1 : 0, '\0');
        if (bytes > 1)
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, text.data(), bytes, nullptr, nullptr);
        args.push_back(text);
    }
    LocalFree(wide);
    return args;
}

std::string ErrorText(DWORD error) {
    char text[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                   sizeof text, nullptr);
    std::string result(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    constexpr DWORD kNoSuchDevice = 433; // what Wine returns for a letter that is not defined
    if (error == kNoSuchDevice && result.empty())
        result = "no such drive";
    return result + " (error " + std::to_string(error) + ")";
}

bool IsLetter(const std::string& s) {
    return s.size() == 1 && ((s[0] >= 'a' && s[0] <= 'z') || (s[0] >= 'A' && s[0] <= 'Z'));
}

} // namespace

int main() {
    const std::vector<std::string> args = Utf8Arguments();
    if (args.size() == 5 && args[1] == "define" && IsLetter(args[2])) {
        unsigned type = 0;
        if (args[4] == "removable")
            type = DRIVE_REMOVABLE;
        else if (args[4] == "fixed")
            type = DRIVE_FIXED;
        else
            return Usage();
        if (args[3].empty() || args[3][0] != '/') {
            std::fprintf(stderr, "winedrive: the Unix path must be absolute: %s\n", args[3].c_str());
            return 1;
        }
        if (!DefineWineDrive(args[2][0], args[3], type)) {
            std::fprintf(stderr, "winedrive: cannot define %s: as %s: %s\n", args[2].c_str(), args[3].c_str(),
                         ErrorText(GetLastError()).c_str());
            return 1;
        }
        return 0;
    }
    if (args.size() == 3 && args[1] == "remove" && IsLetter(args[2])) {
        if (!RemoveWineDrive(args[2][0])) {
            std::fprintf(stderr, "winedrive: cannot remove %s: %s\n", args[2].c_str(),
                         ErrorText(GetLastError()).c_str());
            return 1;
        }
        return 0;
    }
    return Usage();
}
