#include "discovery/VersionPolicy.h"

#include "discovery/VersionFile.h"

#include <cfloat>
#include <cstdlib>
#include <string>

// The refusal boundary depends on every float operation rounding to single precision.
static_assert(FLT_EVAL_METHOD == 0, "float arithmetic must be evaluated in single precision");

namespace {

constexpr float kVersionTolerance = 0.01f;

void Refuse(UpdaterContext& ctx, const std::string& why) {
    // A run that already ended keeps its outcome.
    RunOutcome unended = RunOutcome::Closed;
    ctx.runOutcome.compare_exchange_strong(unended, RunOutcome::Refused);
    ctx.window->RefuseRun(why);
}

} // namespace

float VersionNumber(std::string_view text) {
    const auto at = [&](std::size_t i) { return i < text.size() ? text[i] : '\0'; };
    const char digits[] = {at(0), '.', at(2), at(4), text.size() == 6 ? at(5) : '\0', '\0'};
    // Like sprintf("%c"), a missing character ends the text; strtod then reads as atof does.
    return static_cast<float>(std::strtod(digits, nullptr));
}

VersionVerdict EvaluateVersionPolicy(std::string_view device, std::string_view target) {
    const float installed = VersionNumber(device);
    const float offered = VersionNumber(target);
    const float lowest = installed - kVersionTolerance;
    if (lowest > offered) {
        return VersionVerdict::Downgrade;
    }
    const auto last = [](std::string_view text) {
        return text.empty() ? -1 : static_cast<unsigned char>(text.back());
    };
    return last(device) == last(target) ? VersionVerdict::Accept : VersionVerdict::LanguageMismatch;
}

std::optional<ImagePair> ImagePairForLine(const std::array<ImagePair, 3>& pairs, std::string_view device) {
    if (device.empty() || device[0] < '1' || device[0] > '3') {
        return std::nullopt;
    }
    return pairs[static_cast<std::size_t>(device[0] - '1')];
}

void ReadDeviceVersion(UpdaterContext& ctx) {
    // Narrower than TransferUnderWay: while the upgrade is only starting, a poll run by one of its
    // boxes still reads the player, as no worker speaks for it yet.
    if (ctx.transferPhase == TransferPhase::Walking) {
        return;
    }
    // On a copy of the text, so no file is read under the shared lock.
    const std::string path = ctx.deviceInfoPath.Get();
    DeviceText text = ctx.deviceText.Get();
    const std::optional<std::string> version = ReadInstalledVersion(path, text);
    ctx.deviceText.Set(std::move(text));
    if (!version) {
        return;
    }
    ctx.deviceVersionText.Set(*version);
    ApplyVersionPolicy(ctx);
}

void ApplyVersionPolicy(UpdaterContext& ctx) {
    std::string device;
    std::string target;
    {
        // The worker must never see the image of one line with the target of another.
        std::lock_guard hold(ctx.sharedLock);
        device = ctx.deviceVersionText.Get();
        if (const auto pair = ImagePairForLine(ctx.imagePairs, device)) {
            ctx.firmwareImagePath.Set(pair->imagePath);
            ctx.targetVersionText.Set(pair->version);
        }
        target = ctx.targetVersionText.Get();
    }
    ctx.window->ShowVersionLines(device, target);
    switch (EvaluateVersionPolicy(device, target)) {
    case VersionVerdict::Downgrade:
        Refuse(ctx, "Set firmware version is " + device + ". You must not downgrade!!");
        break;
    case VersionVerdict::LanguageMismatch:
        Refuse(ctx, "Firmware language is not equal");
        break;
    case VersionVerdict::Accept:
        break;
    }
}
