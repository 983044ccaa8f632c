#pragma once
// Version texts such as 1.1.5E (line digit, dot, digit, dot, digit, language letter), their
// numeric form, whether an offered firmware may replace an installed one, and the attached
// player's version as every poll that sees a player reads, shows and checks it.
#include "app/UpdaterContext.h"

#include <array>
#include <optional>
#include <string_view>

// c0 "." c2 c4 (and c5 for a text of exactly six characters) read as a decimal number. A character
// the text is too short to have ends the number there: "0.0" gives 0, "1.2" 1.2, "" 0.
float VersionNumber(std::string_view text);

enum class VersionVerdict {
    Accept,
    Downgrade,        // the offer is older than the installed firmware
    LanguageMismatch, // the last characters differ
};

// Installed `device` against offered `target`, with a tolerance of the float nearest 0.01 taken
// off the installed number in single precision. An empty text has no last character, which
// differs from every character but agrees with another empty text.
VersionVerdict EvaluateVersionPolicy(std::string_view device, std::string_view target);

// The pair of the firmware line that `device` starts with ('1', '2' or '3'), or none.
std::optional<ImagePair> ImagePairForLine(const std::array<ImagePair, 3>& pairs, std::string_view device);

// Reads ctx.deviceInfoPath (located by the previous poll) in whichever form it has, sets
// ctx.deviceVersionText and applies the policy. Silent when no file is located or it cannot be
// read, and at once while the transfer worker walks the players: its own check speaks for them.
void ReadDeviceVersion(UpdaterContext& ctx);

// Chooses the image of the installed firmware line, fills the window's two version lines, and on a
// downgrade or a language mismatch refuses the run, saying why.
void ApplyVersionPolicy(UpdaterContext& ctx);
