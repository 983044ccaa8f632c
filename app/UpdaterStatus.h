#pragma once
#include <array>
#include <cstdint>
#include <string_view>

// The state of the run, shown on the status line.
enum UpdaterStatus : std::int32_t {
    NotReady = 0,
    Ready = 1,
    ShowingVersion = 2, // its text is followed by the player's version
    Downloading = 3,
    Finished = 4,
    CommError = 5,
    Reconnect = 6,
};

// Status-line text of each code, indexed by the code.
inline constexpr std::array<std::string_view, 7> statusMessages = {
    "Not Ready",
    "Ready",
    "Tolvo r5xx Firmware version : ",
    "Downloading",
    "Finished Press Exit button",
    "Comunication Error!",
    "Reconnect!",
};
