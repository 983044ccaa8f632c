#include "WineDiscoveryFixture.h"
#include "discovery/DeviceVersion.h"
#include "discovery/DriveLocator.h"
#include "discovery/VersionFile.h"
#include "discovery/VersionPolicy.h"
#include "ui/TimerIds.h"
#include "ui/resource.h"

#include <algorithm>
#include <string>

namespace {

TEST_F(WineDiscoveryTest, IdentityIsFoundInTheRegistryWhateverCaseAndRevision) {
    Disk(0, "IDE\\DiskVBOX_HARDDISK___________________________1.0_____\\5&1&0&0.0.0");
    Disk(1, "usbstor\\disk&ven_quorvex&prod_tolvo_r540&rev_7.77\\XYZ0001&0");
    EXPECT_TRUE(ScanForDevice(ctx));
    EXPECT_TRUE(answerer_.Answered().empty());
}

TEST_F(WineDiscoveryTest, OtherDisksAreNoPlayer) {
    Disk(0, "USBSTOR\\Disk&Ven_QuorVex&Prod_Tolvo_r570&Rev_1.00\\1&0");
    Disk(1, "USBSTOR\\Disk&Ven_Quorvex&Prod_tolvo_r5xx&" + std::string(300, 'x'));
    EXPECT_FALSE(ScanForDevice(ctx)) << "a value too long for the buffer is no match";
    EXPECT_TRUE(answerer_.Answered().empty());
}

TEST_F(WineDiscoveryTest, MissingEnumerationKeyGivesNoPlayerAndNoBox) {
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kDiskEnumKey);
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDiskEnumKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    for (int poll = 0; poll < 3; ++poll) {
        EXPECT_FALSE(ScanForDevice(ctx));
    }
    EXPECT_TRUE(answerer_.Answered().empty());
}

TEST_F(WineDiscoveryTest, FixedDriveCarryingTheConfigurationFileIsIgnored) {
    MapDrive('K', DRIVE_FIXED);
    PutFile('K', "sys_conf.qtx", "1.1.5E");
    const std::int32_t count = CountRemovableDrives(ctx);
    const DriveTable table = ctx.removableDrives.Get();
    EXPECT_EQ(std::count(table.begin(), table.end(), 'K'), 0);
    char letter = 0;
    EXPECT_FALSE(FindConfigDrive(ctx, letter, count));
}

TEST_F(WineDiscoveryTest, TwoPlayersAreFoundInTableOrder) {
    MapDrive('P');
    MapDrive('M');
    MapDrive('N');
    PutFile('P', "sys_conf.qtx", "1.1.5E");
    PutFile('M', "sys_conf.qtx", "2.0.1E");
    const std::int32_t count = CountRemovableDrives(ctx);
    const DriveTable table = ctx.removableDrives.Get();
    const auto m = std::find(table.begin(), table.end(), 'M');
    const auto p = std::find(table.begin(), table.end(), 'P');
    ASSERT_TRUE(m != table.end() && p != table.end() && m < p) << "the system lists drives in letter order";
    char letter = 0;
    ASSERT_TRUE(FindConfigDrive(ctx, letter, count));
    EXPECT_EQ(letter, 'M');
    EXPECT_EQ(ctx.deviceInfoPath.Get(), "M:\\sys_conf.qtx");
    ASSERT_TRUE(FindConfigDrive(ctx, letter, count));
    EXPECT_EQ(letter, 'P');
    EXPECT_FALSE(FindConfigDrive(ctx, letter, count));
}

TEST_F(WineDiscoveryTest, CertificateDriveIsRecognisedByItsUtf16VendorText) {
    MapDrive('Q');
    MapDrive('R');
    PutFile('Q', "DEVCERT.DAT", "Qtx Labs in 8-bit text");
    const std::string marker = Utf16("Qtx Labs");
    PutFile('R', "DEVCERT.DAT", marker + std::string(16000 - marker.size(), ' '));
    const std::int32_t count = CountRemovableDrives(ctx);
    char letter = 0;
    ASSERT_TRUE(FindCertificateDrive(ctx, letter, count));
    EXPECT_EQ(letter, 'R');
    PutFile('R', "DEVCERT.DAT", marker + std::string(16001 - marker.size(), ' '));
    EXPECT_FALSE(HasVendorMarker("R:\\DEVCERT.DAT")) << "over 16000 bytes is not examined";

    // Text that takes three bytes a character in the program's UTF-8 code page, before the marker.
    std::string wide;
    for (int i = 0; i < 5000; ++i) {
        wide += "\x2D\x4E"; // U+4E2D
    }
    PutFile('R', "DEVCERT.DAT", wide + marker);
    EXPECT_TRUE(HasVendorMarker("R:\\DEVCERT.DAT")) << "the whole text is converted";
}

TEST_F(WineDiscoveryTest, EachVersionFileFormIsReadFromARealDrive) {
    MapDrive('S');
    struct Case {
        const char* name;
        std::string bytes;
        std::string expected;
    };
    const Case cases[] = {
        {"short", "1.1.5E", "1.1.5E"},
        {"short with a line break", "1.1.5E\r\n", "1.1.5E\r\n"},
        {"tagged UTF-16", Utf16("<info><firmver>2.0.1E</firmver></info>"), "2.0.1E"},
        {"tagged 8-bit", "<info><firmver>3.0.4K</firmver></info>", "3.0.4K"},
    };
    for (const Case& c : cases) {
        PutFile('S', "sys_conf.qtx", c.bytes);
        EXPECT_EQ(ReadInstalledVersion("S:\\sys_conf.qtx"), c.expected) << c.name;
    }
    EXPECT_EQ(ReadInstalledVersion("S:\\missing.qtx"), std::nullopt);
}

TEST_F(WineDiscoveryTest, SinglePrecisionDecidesTheBoundary) {
    EXPECT_EQ(VersionNumber("1.1.10"), 1.11f);
    EXPECT_EQ(EvaluateVersionPolicy("1.1.7E", "1.1.6E"), VersionVerdict::Accept);
    EXPECT_EQ(EvaluateVersionPolicy("1.1.8E", "1.1.6E"), VersionVerdict::Downgrade);
    EXPECT_EQ(EvaluateVersionPolicy("1.1.9E", "1.1.8E"), VersionVerdict::Downgrade);
    EXPECT_EQ(EvaluateVersionPolicy("2.0.2E", "2.0.1E"), VersionVerdict::Accept);
    EXPECT_EQ(EvaluateVersionPolicy("1.0.7E", "1.0.6E"), VersionVerdict::Downgrade);
}

INT_PTR CALLBACK IgnoreMessages(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

TEST_F(WineDiscoveryTest, DowngradeOnARealDialogStopsThePollSaysWhyAndCloses) {
    const HWND dialog = ::CreateDialogParamA(
        ::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_UPDATER_DIALOG), nullptr, &IgnoreMessages, 0);
    ASSERT_NE(dialog, nullptr);
    ctx.mainDialog = reinterpret_cast<platform::WindowHandle>(dialog);
    ctx.imagePairs[0] = ImagePair{"img1.rom", "1.1.8E"};
    MapDrive('T');
    PutFile('T', "sys_conf.qtx", "1.1.9E");
    ctx.deviceInfoPath.Set("T:\\sys_conf.qtx");
    ASSERT_NE(::SetTimer(dialog, ID_TIMER_POLL, kPollPeriodMs, nullptr), 0u);

    ReadDeviceVersion(ctx);

    char label[128] = {};
    ::GetDlgItemTextA(dialog, IDC_CURRENT_VERSION, label, sizeof label);
    EXPECT_STREQ(label, "Current version:    1.1.9E");
    ::GetDlgItemTextA(dialog, IDC_TARGET_VERSION, label, sizeof label);
    EXPECT_STREQ(label, "Upgrade to version: 1.1.8E");
    ASSERT_EQ(answerer_.Answered().size(), 1u);
    EXPECT_EQ(answerer_.Answered()[0].text, "Set firmware version is 1.1.9E. You must not downgrade!!");
    EXPECT_EQ(answerer_.Answered()[0].caption, "Tolvo r5xx Firmware Updater");
    EXPECT_FALSE(::KillTimer(dialog, ID_TIMER_POLL)) << "the poll timer was stopped already";
    MSG message{};
    ASSERT_TRUE(::PeekMessageA(&message, dialog, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(message.wParam, static_cast<WPARAM>(IDCANCEL));
    EXPECT_EQ(message.lParam, 0);
    ::DestroyWindow(dialog);
}

} // namespace
