#include "discovery/DeviceVersion.h"

#include "discovery/VersionFile.h"
#include "discovery/VersionPolicy.h"
#include "platform/Window.h"
#include "ui/TimerIds.h"
#include "ui/resource.h"

#include <string>

namespace {

// Runs `load` on a copy of ctx.deviceText, so no file is read under the shared lock.
template <typename Load> auto WithDeviceText(UpdaterContext& ctx, Load load) {
    const std::string path = ctx.deviceInfoPath.Get();
    DeviceText text = ctx.deviceText.Get();
    auto result = load(path, text);
    ctx.deviceText.Set(std::move(text));
    return result;
}

void Refuse(platform::WindowHandle dialog, const std::string& message) {
    platform::KillTimer(dialog, ID_TIMER_POLL);
    platform::MessageBoxA(dialog, message.c_str(), kUpdaterCaption, MB_OK);
    platform::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

} // namespace

bool LoadDeviceTextWide(UpdaterContext& ctx) {
    return WithDeviceText(
        ctx, [](const std::string& path, DeviceText& text) { return LoadDeviceTextWide(path, text); });
}

bool LoadDeviceTextNarrow(UpdaterContext& ctx) {
    return WithDeviceText(
        ctx, [](const std::string& path, DeviceText& text) { return LoadDeviceTextNarrow(path, text); });
}

void ExtractTaggedVersion(UpdaterContext& ctx) {
    ctx.deviceVersionText.Set(WithDeviceText(
        ctx, [](const std::string& path, DeviceText& text) { return ExtractTaggedVersion(path, text); }));
}

void ReadDeviceVersion(UpdaterContext& ctx) {
    const auto version = WithDeviceText(
        ctx, [](const std::string& path, DeviceText& text) { return ReadInstalledVersion(path, text); });
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
    const platform::WindowHandle dialog = ctx.mainDialog.load();
    platform::SetDlgItemTextA(dialog, IDC_CURRENT_VERSION, ("Current version:    " + device).c_str());
    platform::SetDlgItemTextA(dialog, IDC_TARGET_VERSION, ("Upgrade to version: " + target).c_str());
    switch (EvaluateVersionPolicy(device, target)) {
    case VersionVerdict::Downgrade:
        Refuse(dialog, "Set firmware version is " + device + ". You must not downgrade!!");
        break;
    case VersionVerdict::LanguageMismatch:
        Refuse(dialog, "Firmware language is not equal");
        break;
    case VersionVerdict::Accept:
        break;
    }
}
