#pragma once
// The player's version file as bytes: the forms it comes in and the tag search, with no file access,
// so each can be checked on any bytes at all. Form 3, tagged 8-bit text, is the bytes themselves
// with a NUL after them: it needs no conversion.
#include "app/UpdaterContext.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

inline constexpr std::uint64_t kMaxShortVersionBytes = 20;
inline constexpr std::uint64_t kMaxTaggedTextBytes = 16000;

// Form 1, a short version file: its bytes are the version, NUL bytes dropped.
std::string ShortVersionText(std::string_view bytes);

// Form 2, tagged UTF-16LE text: the bytes converted to ANSI (AnsiFromUtf16Bytes).
DeviceText WideDeviceText(std::string_view bytes);

// The text between the '>' after "<firmver>" and the next '<' (searches that find nothing give -1,
// and the range is cut to the text).
std::string TaggedVersionIn(std::string_view text);

// TaggedVersionIn on `text`; when that is shorter than 2 characters, `reloadNarrow` replaces `text`
// with the 8-bit reading and the search is repeated once. That second result stands.
std::string TaggedVersionOf(DeviceText& text, const std::function<void(DeviceText&)>& reloadNarrow);
