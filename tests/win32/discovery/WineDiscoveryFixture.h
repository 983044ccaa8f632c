#pragma once
// Discovery against the real system under Wine: drive letters mapped to fresh Unix folders through
// Wine's mount manager, the disk enumeration key written for the test and removed after it, and
// every message box answered and recorded by a hook instead of waiting for a person.
#include <windows.h>

#include "app/UpdaterContext.h"
#include "discovery/DeviceScan.h"
#include "support/TestDrives.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

struct AnsweredBox {
    std::string text;
    std::string caption;
};

// Answers each message box of this thread with IDOK as it comes up, and remembers it.
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer() {
        boxes_ = &answered_;
        hook_ = ::SetWindowsHookExA(WH_CBT, &OnEvent, nullptr, ::GetCurrentThreadId());
    }
    ~MessageBoxAnswerer() {
        ::UnhookWindowsHookEx(hook_);
        boxes_ = nullptr;
    }
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    const std::vector<AnsweredBox>& Answered() const { return answered_; }
    bool Hooked() const { return hook_ != nullptr; }

private:
    static LRESULT CALLBACK OnEvent(int code, WPARAM wParam, LPARAM lParam) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        char className[32] = {};
        if (code == HCBT_ACTIVATE && ::GetClassNameA(window, className, sizeof className) > 0 &&
            std::string_view(className) == "#32770" && ::GetDlgItem(window, 0xFFFF) != nullptr &&
            boxes_ != nullptr) {
            char text[1024] = {};
            char caption[256] = {};
            ::GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
            ::GetWindowTextA(window, caption, sizeof caption);
            boxes_->push_back({text, caption});
            ::PostMessageA(window, WM_COMMAND, IDOK, 0);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline std::vector<AnsweredBox>* boxes_ = nullptr;
    std::vector<AnsweredBox> answered_;
    HHOOK hook_ = nullptr;
};

class WineDiscoveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(answerer_.Hooked());
        ASSERT_TRUE(drives_.MakeRoot()) << drives_.Root();
        HKEY key = nullptr;
        keyExisted_ = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDiskEnumKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
        if (keyExisted_) {
            ::RegCloseKey(key);
        }
    }

    void TearDown() override {
        if (!keyExisted_) {
            ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kDiskEnumKey);
        } else {
            HKEY key = nullptr;
            if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDiskEnumKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
                for (const std::string& name : valuesSet_) {
                    ::RegDeleteValueA(key, name.c_str());
                }
                ::RegCloseKey(key);
            }
        }
    }

    // Maps `letter` to a new folder of its own, with the given drive type; removed after the test.
    void MapDrive(char letter, unsigned type = DRIVE_REMOVABLE) { drives_.Map(letter, type); }

    // Writes a file into the root of drive `letter`, through the drive itself.
    static void PutFile(char letter, const std::string& name, std::string_view bytes) {
        std::ofstream out(std::string{letter} + ":\\" + name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(out.good()) << letter << ":\\" << name;
    }

    void Disk(int index, const std::string& id) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kDiskEnumKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                    &key, nullptr),
                  ERROR_SUCCESS);
        const std::string name = std::to_string(index);
        ASSERT_EQ(::RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(id.c_str()),
                                   static_cast<DWORD>(id.size() + 1)),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
        valuesSet_.push_back(name);
    }

    static std::string Utf16(std::string_view text) {
        std::string bytes;
        for (char c : text) {
            bytes += c;
            bytes += '\0';
        }
        return bytes;
    }

    MessageBoxAnswerer answerer_;
    UpdaterContext ctx;

private:
    TestDrives drives_{"discovery"};
    std::vector<std::string> valuesSet_;
    bool keyExisted_ = false;
};
