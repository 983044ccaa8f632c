#include "WineTransferFixture.h"

namespace {

using Strings = std::vector<std::string>;

constexpr char kCompletion[] = "The QuorVex Tolvo r5xx new firmware has been successfully downloaded\n"
                               "   to the device. Please disconnect the device from the USB port and \n"
                               "   reboot the Tolvo to complete the upgrade process.";

class WorkerOnWineTest : public WineTransferTest {};

TEST_F(WorkerOnWineTest, TwoPlayersReceiveTheImageAndTheRunEnds) {
    MapDrive('E');
    MapDrive('F');
    WriteFile("E:\\sys_conf.qtx", "1.1.5E");
    WriteFile("F:\\sys_conf.qtx", "1.1.6E");
    WriteFile("F:\\tolvr500.rom", "old firmware");
    const std::string image = ChooseImage(250000);
    OpenDialog();
    ::SendDlgItemMessageA(dialog_, IDC_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, 1000));
    ::SendDlgItemMessageA(dialog_, IDC_PROGRESS, PBM_SETPOS, 700, 0);
    RunTransfer();

    EXPECT_EQ(ReadFile("E:\\tolvr500.rom"), image);
    EXPECT_EQ(ReadFile("F:\\tolvr500.rom"), image);
    EXPECT_EQ(boxes_, (Strings{kCompletion}));
    EXPECT_EQ(captions_, (Strings{"Tolvo r5xx Firmware Updater"}));
    EXPECT_EQ(events_, (Strings{"timer stop", "box", "IDCANCEL"}));
    EXPECT_EQ(::SendDlgItemMessageA(dialog_, IDC_PROGRESS, PBM_GETPOS, 0, 0), 0);
    EXPECT_TRUE(ctx.finished.load());
    EXPECT_EQ(ctx.status.load(), Finished);
}

TEST_F(WorkerOnWineTest, APlayerOfAnotherLineIsSkippedAndTheProgressTimerStopsForItsMessage) {
    MapDrive('E');
    MapDrive('F');
    WriteFile("E:\\sys_conf.qtx", "2.0.1E");
    WriteFile("F:\\sys_conf.qtx", "1.1.5E");
    ctx.imagePairs[1] = {"Z:\\nowhere\\image2.rom", "2.0.2E"};
    const std::string image = ChooseImage(60000);
    OpenDialog();
    RunTransfer();

    EXPECT_FALSE(Exists("E:\\tolvr500.rom"));
    EXPECT_EQ(ReadFile("F:\\tolvr500.rom"), image);
    EXPECT_EQ(boxes_, (Strings{"E:\\ This device runs firmware 2.0.1E, of another line than the new firmware "
                               "1.1.6E. Nothing was written to it.",
                               kCompletion}));
    EXPECT_EQ(events_, (Strings{"timer stop", "box", "timer start", "timer stop", "box", "IDCANCEL"}));
}

} // namespace
