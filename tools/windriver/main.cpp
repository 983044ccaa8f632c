// Drives the updater's real window from another process under the same Wine server, for the
// Windows-tier scripts and the README's walk-through. Every wait is bounded.
#include <windows.h>

#include <commctrl.h>
#include <dbt.h>

#include "tests/win32/support/MessageBoxes.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using std::chrono::milliseconds;

// The visible top-level dialog titled `title`, or null.
HWND FindTitled(const std::string& title) {
    return FindDialog([&](HWND window) { return IsWindowVisible(window) && TextOf(window) == title; });
}

HWND WaitForAnyBox(int timeoutMs) {
    return WaitForMessageBox([](HWND) { return true; }, milliseconds(timeoutMs));
}

int Fail(const std::string& why) {
    std::fprintf(stderr, "windriver: %s\n", why.c_str());
    return 1;
}

// Says `word` and keeps `handle` until the script makes the file `gate`, or `timeoutMs` pass.
int HoldUntilGate(HANDLE handle, const char* word, const std::string& gate, int timeoutMs) {
    std::printf("%s\n", word);
    std::fflush(stdout);
    const bool released = WaitFor([&] { return GetFileAttributesA(gate.c_str()) != INVALID_FILE_ATTRIBUTES; },
                                  milliseconds(timeoutMs));
    CloseHandle(handle);
    return released ? 0 : Fail("no gate " + gate);
}

// Types each named key (TAB, SPACE, ENTER, ESC) as a person would, to whatever window is in front.
int TypeKeys(int argc, char** argv) {
    for (int i = 2; i < argc; ++i) {
        const std::string name = argv[i];
        const WORD key = name == "TAB"     ? VK_TAB
                         : name == "SPACE" ? VK_SPACE
                         : name == "ENTER" ? VK_RETURN
                         : name == "ESC"   ? VK_ESCAPE
                                           : 0;
        if (key == 0) {
            return Fail("no key " + name);
        }
        INPUT strokes[2] = {};
        strokes[0].type = strokes[1].type = INPUT_KEYBOARD;
        strokes[0].ki.wVk = strokes[1].ki.wVk = key;
        strokes[1].ki.dwFlags = KEYEVENTF_KEYUP;
        if (SendInput(2, strokes, sizeof(INPUT)) != 2) {
            return Fail("the system took no key");
        }
        Sleep(100); // one key at a time, as typed
    }
    return 0;
}

int Usage() {
    std::fputs("usage: windriver wait-window TITLE MS | wait-gone TITLE MS | text TITLE ID\n"
               "       | wait-text TITLE ID TEXT MS | state TITLE ID | click TITLE ID | close TITLE\n"
               "       | wait-box MS | answer-box BUTTON_ID MS | device arrival|removal LETTER\n"
               "       | hold FILE GATE MS | scan FILE MS | mark NAME GATE MS\n"
               "       | wait-foreground TITLE MS | keys KEY... | focus TITLE\n",
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
        return WaitFor([&] { return FindTitled(arg(2)) != nullptr; }, milliseconds(number(3)))
                   ? 0
                   : Fail("no window " + arg(2));
    }
    if (command == "wait-gone") {
        return WaitFor([&] { return FindTitled(arg(2)) == nullptr; }, milliseconds(number(3)))
                   ? 0
                   : Fail("still open: " + arg(2));
    }
    if (command == "hold") {
        // Another program with the file open and no sharing, until the script lets it go by making
        // the gate file.
        HANDLE file = CreateFileA(arg(2).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return Fail("cannot hold " + arg(2));
        }
        return HoldUntilGate(file, "holding", arg(3), number(4));
    }
    if (command == "scan") {
        // A virus scanner: opens the file as soon as it appears, for reading and sharing only
        // reading, and holds it for MS milliseconds.
        HANDLE file = INVALID_HANDLE_VALUE;
        WaitFor(
            [&] {
                file = CreateFileA(arg(2).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                   nullptr);
                return file != INVALID_HANDLE_VALUE;
            },
            milliseconds(60000));
        if (file == INVALID_HANDLE_VALUE) {
            return Fail("never appeared: " + arg(2));
        }
        std::printf("scanning\n");
        std::fflush(stdout);
        Sleep(static_cast<DWORD>(number(3)));
        CloseHandle(file);
        return 0;
    }
    if (command == "mark") {
        // An updater's mark held by a process with no window, as one in another session looks.
        return HoldUntilGate(CreateMutexA(nullptr, FALSE, arg(2).c_str()), "marked", arg(3), number(4));
    }
    if (command == "wait-foreground") {
        return WaitFor([&] { return TextOf(GetForegroundWindow()) == arg(2); }, milliseconds(number(3)))
                   ? 0
                   : Fail("in front: " + TextOf(GetForegroundWindow()));
    }
    if (command == "keys") {
        return TypeKeys(argc, argv);
    }
    if (command == "device") {
        return BroadcastVolume(arg(2), arg(3).empty() ? 'E' : arg(3)[0]);
    }
    if (command == "wait-box" || command == "answer-box") {
        const bool answer = command == "answer-box";
        HWND box = WaitForAnyBox(number(answer ? 3 : 2));
        if (box == nullptr) {
            return Fail("no message box");
        }
        std::printf("%s\n", BoxText(box).c_str());
        if (answer) {
            PostClick(box, number(2));
        }
        return 0;
    }
    HWND dialog = FindTitled(arg(2));
    if (!dialog) {
        return Fail("no window " + arg(2));
    }
    if (command == "focus") {
        // The id of the control with the keyboard focus in the dialog's thread, 0 when none has it.
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread)) {
            return Fail("no thread info");
        }
        std::printf("%d\n", thread.hwndFocus != nullptr ? GetDlgCtrlID(thread.hwndFocus) : 0);
        return 0;
    }
    if (command == "text") {
        std::printf("%s\n", TextOf(GetDlgItem(dialog, number(3))).c_str());
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
        HWND item = GetDlgItem(dialog, number(3));
        return WaitFor([&] { return TextOf(item).find(wanted) != std::string::npos; },
                       milliseconds(number(5)))
                   ? 0
                   : Fail("text of " + arg(3) + " is [" + TextOf(item) + "], not [" + wanted + "]");
    }
    if (command == "click") {
        if (!IsWindowEnabled(GetDlgItem(dialog, number(3)))) {
            return Fail("control " + arg(3) + " is disabled");
        }
        PostClick(dialog, number(3));
        return 0;
    }
    if (command == "close") {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return 0;
    }
    return Usage();
}
