#pragma once
// Values of the system's disk enumeration key, as Windows lists a plugged player there, written for
// one test and removed after it; a key the prefix did not have before goes too.
#include <windows.h>

#include "discovery/DeviceScan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class DiskEnumeration {
public:
    DiskEnumeration() {
        HKEY key = nullptr;
        keyExisted_ = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDiskEnumKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
        if (keyExisted_) {
            ::RegCloseKey(key);
        }
    }
    ~DiskEnumeration() {
        if (!keyExisted_) {
            ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kDiskEnumKey);
            return;
        }
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDiskEnumKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            for (const std::string& name : valuesSet_) {
                ::RegDeleteValueA(key, name.c_str());
            }
            ::RegCloseKey(key);
        }
    }
    DiskEnumeration(const DiskEnumeration&) = delete;
    DiskEnumeration& operator=(const DiskEnumeration&) = delete;

    // Lists the disk `id` as value `index`.
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

private:
    std::vector<std::string> valuesSet_;
    bool keyExisted_ = false;
};
