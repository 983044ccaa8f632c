// The real program started the way Explorer or a shortcut starts it, with a wide command line
// whose image paths lie in a folder named in Cyrillic, Greek and Chinese: the image reaches the
// player byte for byte, and the texts of its boxes read as they should.
#include "support/DiskEnumeration.h"
#include "support/MessageBoxes.h"
#include "support/TestDrives.h"
#include "tests/common/Pattern.h"
#include "tests/common/ProgramTexts.h"
#include "ui/resource.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using namespace std::chrono_literals;

constexpr wchar_t kFolderName[] = L"Прошивка-Υλικολογισμικό-固件";
constexpr char kPlayerId[] = "USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r520&Rev_1.00\\0001234567&0";

std::wstring Wide(const std::string& utf8) {
    const int units =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), units);
    return wide;
}

std::wstring WideTextOf(HWND window) {
    wchar_t text[2048] = {};
    ::GetWindowTextW(window, text, static_cast<int>(std::size(text)));
    return text;
}

DWORD ProcessOf(HWND window) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    return process;
}

class AnyScriptPath : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(drives_.MakeRoot()) << drives_.Root();
        wchar_t temp[MAX_PATH] = {};
        ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
        folder_ = std::wstring(temp) + kFolderName + L"-" + std::to_wstring(::GetCurrentProcessId());
        ASSERT_TRUE(::CreateDirectoryW(folder_.c_str(), nullptr)) << ::GetLastError();
    }
    void TearDown() override {
        if (process_.hProcess != nullptr) {
            if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
                ::TerminateProcess(process_.hProcess, 1);
                ::WaitForSingleObject(process_.hProcess, 5000);
            }
            ::CloseHandle(process_.hThread);
            ::CloseHandle(process_.hProcess);
        }
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(folder_), ignored);
    }

    // A player with firmware `version` on drive E:.
    void PlugPlayer(const std::string& version) {
        ASSERT_NO_FATAL_FAILURE(drives_.Map('E'));
        std::ofstream file("E:\\sys_conf.qtx", std::ios::binary);
        file << version;
        ASSERT_TRUE(file.good());
        ASSERT_NO_FATAL_FAILURE(disks_.Disk(0, kPlayerId));
    }

    std::wstring ImagePath(const wchar_t* name) const { return folder_ + L"\\" + name; }

    // Starts the program with a wide command line, as the shell does.
    void StartUpdater(const std::wstring& line1Image) {
        const std::wstring program = Wide(WinePath(UPDATER_EXE));
        std::wstring commandLine = L"\"" + program + L"\" " + line1Image + L" 1.1.6E " +
                                   ImagePath(L"line2.rom") + L" 2.0.1E " + ImagePath(L"line3.rom") +
                                   L" 3.0.1E";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        ASSERT_TRUE(::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                     nullptr, &startup, &process_))
            << ::GetLastError();
        ASSERT_TRUE(WaitFor([&] { return (window_ = Window()) != nullptr; }, 20s)) << "no window";
    }

    HWND Window() const {
        return FindDialog([this](HWND w) {
            return ProcessOf(w) == process_.dwProcessId && ::IsWindowVisible(w) &&
                   WideTextOf(w) == Wide(kProgramName);
        });
    }
    HWND WaitForBox() const {
        return WaitForMessageBox([this](HWND w) { return ProcessOf(w) == process_.dwProcessId; }, 30s);
    }
    static std::wstring WideBoxText(HWND box) { return WideTextOf(::GetDlgItem(box, kBoxTextId)); }

    // Waits until the player's version shows, then clicks Firmware Upgrade and accepts the warning.
    void Upgrade() {
        ASSERT_TRUE(WaitFor(
            [&] {
                return WideTextOf(::GetDlgItem(window_, IDC_STATUS)) ==
                       L"Tolvo r5xx Firmware version : 1.1.5E";
            },
            20s))
            << "status stayed " << TextOf(::GetDlgItem(window_, IDC_STATUS));
        ASSERT_TRUE(::IsWindowEnabled(::GetDlgItem(window_, IDC_UPGRADE)));
        PostClick(window_, IDC_UPGRADE);
        HWND warning = WaitForBox();
        ASSERT_NE(warning, nullptr) << "no warning";
        PostClick(warning, IDOK);
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(warning); }));
    }

    bool Ended() const { return ::WaitForSingleObject(process_.hProcess, 10000) == WAIT_OBJECT_0; }

    TestDrives drives_{"script-path"};
    DiskEnumeration disks_;
    std::wstring folder_;
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

TEST_F(AnyScriptPath, ImageIsCopiedByteForByte) {
    const std::string image = Pattern(150000, 7);
    const std::wstring imagePath = ImagePath(L"line1.rom");
    std::ofstream(std::filesystem::path(imagePath), std::ios::binary).write(image.data(), image.size());
    PlugPlayer("1.1.5E");
    ASSERT_NO_FATAL_FAILURE(StartUpdater(imagePath));
    ASSERT_NO_FATAL_FAILURE(Upgrade());

    HWND last = WaitForBox();
    ASSERT_NE(last, nullptr) << "no last message";
    EXPECT_EQ(WideBoxText(last), Wide(kCompletionText));
    EXPECT_EQ(WideTextOf(last), Wide(kMessageCaption));
    PostClick(last, IDOK);
    ASSERT_TRUE(Ended()) << "the program did not end";
    std::ifstream copied("E:\\tolvr500.rom", std::ios::binary);
    EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(copied), {}) == image)
        << "the player's image differs from the one in the folder";
}

TEST_F(AnyScriptPath, ImageThatCannotBeOpenedIsNamedInTheMessage) {
    const std::wstring missing = ImagePath(L"missing.rom");
    PlugPlayer("1.1.5E");
    ASSERT_NO_FATAL_FAILURE(StartUpdater(missing));
    ASSERT_NO_FATAL_FAILURE(Upgrade());

    HWND box = WaitForBox();
    ASSERT_NE(box, nullptr) << "no message";
    EXPECT_EQ(WideBoxText(box), L"The firmware image \"" + missing +
                                    L"\" cannot be opened (error 2). F/W upgrade is not started.");
    EXPECT_EQ(WideTextOf(box), Wide(kMessageCaption));
    PostClick(box, IDOK);
    ::PostMessageW(window_, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(Ended());
}

TEST_F(AnyScriptPath, RefusalReadsAsWritten) {
    PlugPlayer("1.1.8E");
    ASSERT_NO_FATAL_FAILURE(StartUpdater(ImagePath(L"line1.rom")));

    HWND box = WaitForBox();
    ASSERT_NE(box, nullptr) << "no refusal";
    EXPECT_EQ(WideBoxText(box), Wide(DowngradeText("1.1.8E")));
    EXPECT_EQ(WideTextOf(box), Wide(kMessageCaption));
    EXPECT_EQ(WideTextOf(::GetDlgItem(window_, IDC_CURRENT_VERSION)), L"Current version:    1.1.8E");
    PostClick(box, IDOK);
    EXPECT_TRUE(Ended()) << "a refusal ends the run";
}

} // namespace
