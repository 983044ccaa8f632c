// The contract tests' machine under Wine: letters through Wine's mount manager, a key of the real
// registry, a dialog of the program's own resources, and message boxes answered by a WH_CBT hook
// on the thread that shows them.
#include <windows.h>

#include <shellapi.h>

#include "ContractMachine.h"
#include "WineDrive.h"
#include "tests/common/SystemValues.h"
#include "tests/win32/support/MessageBoxes.h"
#include "ui/resource.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <set>

namespace {

thread_local std::deque<BoxAnswer> answers; // of the thread that shows the boxes
thread_local HWND lastBox = nullptr;        // a box is activated more than once
thread_local bool openingOwnWindow = false; // activated before its handle is known
std::mutex liveRegionLock;
std::vector<SeenWinEvent> liveRegionEvents; // of the machine that listens

// An out-of-context hook of this process: called on the hooking thread as it delivers messages.
void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD, HWND window, LONG objectId, LONG childId, DWORD, DWORD) {
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof text);
    std::lock_guard hold(liveRegionLock);
    liveRegionEvents.push_back({reinterpret_cast<platform::WindowHandle>(window), objectId, childId, text});
}

std::mutex boxesLock;
std::vector<ShownBox>* boxesShown = nullptr;
std::vector<HWND>* ownWindows = nullptr; // the test's windows, which are dialogs too

// A message box that the test did not open itself: the About template's statics have the box's id.
bool IsShownBox(HWND window) {
    if (openingOwnWindow || !IsMessageBox(window)) {
        return false;
    }
    std::lock_guard hold(boxesLock);
    return ownWindows != nullptr &&
           std::find(ownWindows->begin(), ownWindows->end(), window) == ownWindows->end();
}

// The timer's id is the button that answers the box.
void CALLBACK Answer(HWND box, UINT, UINT_PTR button, DWORD) {
    ::KillTimer(box, button);
    PostClick(box, static_cast<int>(button));
}

LRESULT CALLBACK OnEvent(int code, WPARAM wParam, LPARAM lParam) {
    const HWND box = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && box != lastBox && IsShownBox(box)) {
        lastBox = box;
        const unsigned buttons = ButtonsOf(box);
        {
            std::lock_guard hold(boxesLock);
            if (boxesShown != nullptr) {
                boxesShown->push_back({reinterpret_cast<platform::WindowHandle>(::GetWindow(box, GW_OWNER)),
                                       BoxText(box), TextOf(box), buttons});
            }
        }
        BoxAnswer answer{buttons == MB_OK ? IDOK : buttons == MB_YESNO ? IDNO : IDCANCEL};
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        ::SetTimer(box, static_cast<UINT_PTR>(answer.button), answer.upForMs, Answer);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void DeliverMessages() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

} // namespace

struct ContractMachine::Tier {
    std::string root; // Unix folder holding the drives' folders
    std::map<char, unsigned> types;
    std::set<char> mapped;
    std::vector<HWND> windows;
    std::map<DWORD, HHOOK> hooks; // by thread
    HWINEVENTHOOK liveRegionHook = nullptr;
    std::vector<ShownBox> boxes;

    std::string Path(char letter, const std::string& name) const {
        return WinePath(root + "/" + letter + "/" + name);
    }
};

ContractMachine::ContractMachine() : tier_(std::make_unique<Tier>()) {
    tier_->root = "/tmp/updater-contract-" + std::to_string(::GetCurrentProcessId()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
    EXPECT_TRUE(::CreateDirectoryA(WinePath(tier_->root).c_str(), nullptr)) << tier_->root;
    AnswerBoxesOnThisThread({});
    {
        std::lock_guard hold(liveRegionLock);
        liveRegionEvents.clear();
    }
    tier_->liveRegionHook =
        ::SetWinEventHook(EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr, OnWinEvent,
                          ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    EXPECT_NE(tier_->liveRegionHook, nullptr);
    std::lock_guard hold(boxesLock);
    boxesShown = &tier_->boxes;
    ownWindows = &tier_->windows;
}

ContractMachine::~ContractMachine() {
    for (const HWND window : tier_->windows) {
        ::DestroyWindow(window);
    }
    ::UnhookWinEvent(tier_->liveRegionHook);
    for (const auto& [thread, hook] : tier_->hooks) {
        ::UnhookWindowsHookEx(hook); // threads that have ended took theirs along
    }
    answers.clear();
    for (const char letter : tier_->mapped) {
        EXPECT_TRUE(RemoveWineDrive(letter)) << letter;
    }
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kContractKey);
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(WinePath(tier_->root)), ignored);
    std::lock_guard hold(boxesLock);
    boxesShown = nullptr;
    ownWindows = nullptr;
}

bool ContractMachine::UnderWine() {
    return true;
}

void ContractMachine::MapDrive(char letter, unsigned type) {
    ASSERT_TRUE(::CreateDirectoryA(WinePath(tier_->root + "/" + letter).c_str(), nullptr));
    tier_->types[letter] = type;
    PlugAgain(letter);
}

void ContractMachine::UnplugDrive(char letter) {
    EXPECT_TRUE(RemoveWineDrive(letter)) << letter;
    tier_->mapped.erase(letter);
}

void ContractMachine::PlugAgain(char letter) {
    ASSERT_TRUE(DefineWineDrive(letter, tier_->root + "/" + letter, tier_->types.at(letter))) << letter;
    tier_->mapped.insert(letter);
}

void ContractMachine::RemoveMedium(char letter) {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(WinePath(tier_->root + "/" + letter)), ignored);
}

void ContractMachine::PutFile(char letter, const std::string& name, std::string_view bytes) {
    std::ofstream out(tier_->Path(letter, name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << name;
}

std::string ContractMachine::FileContent(char letter, const std::string& name) {
    std::ifstream in(tier_->Path(letter, name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool ContractMachine::FileExists(char letter, const std::string& name) {
    return ::GetFileAttributesA(tier_->Path(letter, name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> ContractMachine::CommandLineToArgvW(const std::string& arguments) {
    const std::string line = "updater.exe " + arguments;
    const std::wstring wide(line.begin(), line.end()); // the table's lines are ASCII
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(wide.c_str(), &count);
    std::vector<std::string> words;
    for (int i = 1; argv != nullptr && i < count; ++i) {
        const std::wstring word = argv[i];
        words.emplace_back(word.begin(), word.end());
    }
    ::LocalFree(argv);
    return words;
}

void ContractMachine::SetRegistryValue(const std::string& name, const std::string& data) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kContractKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(::RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                               static_cast<DWORD>(data.size() + 1)),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
}

platform::WindowHandle ContractMachine::OpenWindow(platform::DialogProc proc) {
    openingOwnWindow = true;
    const HWND window =
        ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT_DIALOG), nullptr,
                             reinterpret_cast<DLGPROC>(reinterpret_cast<void*>(proc)), 0);
    openingOwnWindow = false;
    EXPECT_NE(window, nullptr);
    std::lock_guard hold(boxesLock);
    tier_->windows.push_back(window);
    return reinterpret_cast<platform::WindowHandle>(window);
}

bool ContractMachine::PumpUntil(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (DeliverMessages(); !done(); DeliverMessages()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

void ContractMachine::LetTimePass(unsigned milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (auto now = std::chrono::steady_clock::now(); now < end; now = std::chrono::steady_clock::now()) {
        DeliverMessages();
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - now).count();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
    }
    DeliverMessages();
}

void ContractMachine::AnswerBoxesOnThisThread(std::vector<BoxAnswer> next) {
    const DWORD thread = ::GetCurrentThreadId();
    std::lock_guard hold(boxesLock);
    if (tier_->hooks.count(thread) == 0) {
        tier_->hooks[thread] = ::SetWindowsHookExA(WH_CBT, OnEvent, nullptr, thread);
    }
    answers.insert(answers.end(), next.begin(), next.end());
}

std::vector<ShownBox> ContractMachine::BoxesShown() {
    std::lock_guard hold(boxesLock);
    return tier_->boxes;
}

std::vector<SeenWinEvent> ContractMachine::LiveRegionEventsSeen() {
    std::lock_guard hold(liveRegionLock);
    return liveRegionEvents;
}
