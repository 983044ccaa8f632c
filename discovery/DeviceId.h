#pragma once
// The device identities of the supported models, and how an enumerated disk's ID is compared with them.
#include <array>
#include <cstddef>
#include <string_view>

// Only this many leading characters of a device-instance ID are compared, ignoring case.
inline constexpr std::size_t kComparedIdLength = 42;

// Device-ID prefixes of the supported models, in the order they are tried.
inline constexpr std::array<std::string_view, 6> hardwareIdPatterns = {
    "USBSTOR\\Disk&Ven_Quorvex&Prod_tolvo_r5xx&R", "USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r520&R",
    "USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r530&R", "USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r540&R",
    "USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r550&R", "USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r560&R",
};

// Whether the first kComparedIdLength characters of `data`, a value's bytes as the registry gave
// them, equal those of `pattern` under ASCII case folding. Bytes past the end of `data` count as
// NUL, as in the zeroed buffer the query fills.
bool MatchesHardwareId(std::string_view data, std::string_view pattern);
