// Drives the updater's real window from another process under the same Wine server, for the
// Windows-tier scripts and the README's walk-through. Every wait is bounded.
#include <windows.h>

#include <commctrl.h>
#include <dbt.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

constexpr int kMessageBoxTextId = 0xFFFF;

struct Search {
    std::string title;
    HWND found = nullptr;
};

bool IsDialog(HWND window) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    return std::string(className) == "#32770" && IsWindowVisible(window);
}

HWND FindDialog(const std::string& title) {
    Search search{title};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            char text[256] = {};
            GetWindowTextA(window, text, sizeof text);
            if (IsDialog(window) && s->title == text) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A message box is a dialog whose text sits in the static 0xFFFF.
HWND FindMessageBox() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            if (IsDialog(window) && GetDlgItem(window, kMessageBoxTextId)) {
                *reinterpret_cast<HWND*>(param) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string ItemText(HWND dialog, int id) {
    char text[2048] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

template <typename Ready> bool WaitFor(int timeoutMs, Ready ready) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!ready()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return true;
}

int Fail(const std::string& why) {
    std::fprintf(stderr, "windriver: %s\n", why.c_str());
    return 1;
}

int Usage() {
    std::fputs("usage: windriver wait-window TITLE MS | wait-gone TITLE MS | text TITLE ID\n"
               "       | wait-text TITLE ID TEXT MS | state TITLE ID | click TITLE ID | close TITLE\n"
               "       | wait-box MS | answer-box BUTTON_ID MS | device arrival|removal LETTER\n"
               "       | hold FILE MS\n",
               stderr);
    return 2;
}

int BroadcastVolume(const std::string& event, char letter) {
    DEV_BROADCAST_VOLUME volume{};
    volume.dbcv_size = sizeof volume;
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    volume.dbcv_unitmask = 1u << (std::toupper(letter) - 'A');
    volume.dbcv_flags = 0;
    const WPARAM code = event == "arrival" ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
    DWORD recipients = BSM_APPLICATIONS;
    const long result = BroadcastSystemMessageA(BSF_FORCEIFHUNG | BSF_QUERY, &recipients, WM_DEVICECHANGE,
                                                code, reinterpret_cast<LPARAM>(&volume));
    return result > 0 ? 0 : Fail("broadcast failed");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return Usage();
    }
    const std::string command = argv[1];
    auto arg = [&](int i) { return i < argc ? std::string(argv[i]) : std::string(); };
    auto number = [&](int i) { return std::atoi(arg(i).c_str()); };

    if (command == "wait-window") {
        return WaitFor(number(3), [&] { return FindDialog(arg(2)) != nullptr; })
                   ? 0
                   : Fail("no window " + arg(2));
    }
    if (command == "wait-gone") {
        return WaitFor(number(3), [&] { return FindDialog(arg(2)) == nullptr; })
                   ? 0
                   : Fail("still open: " + arg(2));
    }
    if (command == "hold") {
        // Another program with the file open and no sharing, until it lets go.
        HANDLE file = CreateFileA(arg(2).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return Fail("cannot hold " + arg(2));
        }
        std::printf("holding\n");
        std::fflush(stdout);
        Sleep(static_cast<DWORD>(number(3)));
        CloseHandle(file);
        return 0;
    }
    if (command == "device") {
        return BroadcastVolume(arg(2), arg(3).empty() ? 'E' : arg(3)[0]);
    }
    if (command == "wait-box") {
        HWND box = nullptr;
        if (!WaitFor(number(2), [&] { return (box = FindMessageBox()) != nullptr; })) {
            return Fail("no message box");
        }
        std::printf("%s\n", ItemText(box, kMessageBoxTextId).c_str());
        return 0;
    }
    if (command == "answer-box") {
        HWND box = nullptr;
        if (!WaitFor(number(3), [&] { return (box = FindMessageBox()) != nullptr; })) {
            return Fail("no message box");
        }
        std::printf("%s\n", ItemText(box, kMessageBoxTextId).c_str());
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(number(2), BN_CLICKED), 0);
        return 0;
    }
    HWND dialog = FindDialog(arg(2));
    if (!dialog) {
        return Fail("no window " + arg(2));
    }
    if (command == "text") {
        std::printf("%s\n", ItemText(dialog, number(3)).c_str());
        return 0;
    }
    if (command == "state") {
        HWND item = GetDlgItem(dialog, number(3));
        std::printf("%s %s pos=%d\n", IsWindowVisible(item) ? "visible" : "hidden",
                    IsWindowEnabled(item) ? "enabled" : "disabled",
                    static_cast<int>(SendMessageA(item, PBM_GETPOS, 0, 0)));
        return 0;
    }
    if (command == "wait-text") {
        const std::string wanted = arg(4);
        return WaitFor(number(5),
                       [&] { return ItemText(dialog, number(3)).find(wanted) != std::string::npos; })
                   ? 0
                   : Fail("text of " + arg(3) + " is [" + ItemText(dialog, number(3)) + "], not [" + wanted +
                          "]");
    }
    if (command == "click") {
        if (!IsWindowEnabled(GetDlgItem(dialog, number(3)))) {
            return Fail("control " + arg(3) + " is disabled");
        }
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(number(3), BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, number(3))));
        return 0;
    }
    if (command == "close") {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return 0;
    }
    return Usage();
}
