// A volume notice while the worker walks the players never ends the run: the worker's own check
// speaks for each player, and the run ends with its final message.
#include "PlayerWindowFixture.h"

#include "tests/common/ProgramTexts.h"
#include "transfer/SafeCopy.h"

namespace sim = platform::sim;

namespace {

class NoticeDuringTransferTest : public PlayerWindowTest {
protected:
    // Players E: 1.1.5E, F: 1.1.8E and G: 1.1.5E, the image for 1.1.6E, and a volume notice while
    // the worker's box about F: is up and while its final box is up.
    void RunWithNotices() {
        MakeImage(1, 3 * kCopyBufferBytes + 5);
        PlugPlayer('E', "1.1.5E");
        PlugPlayer('F', "1.1.8E");
        PlugPlayer('G', "1.1.5E");
        Open();
        Poll(); // reads E:'s version: line 1, 1.1.6E offered
        ASSERT_EQ(Text(IDC_CURRENT_VERSION), "Current version:    1.1.5E");

        int notices = 0;
        const auto notice = [&] {
            // A stick plugged in meanwhile; and E:, already served, now holds a newer player.
            WriteBytes(Folder('E') / kConfigFileName, "1.1.8E");
            VolumeNotice(DBT_DEVICEARRIVAL);
            ++notices;
        };
        sim::ScriptMessageBoxes({{IDOK}}); // the warning
        sim::ScriptMessageBoxes({{IDOK, 0, notice}, {IDOK, 0, notice}},
                                sim::BoxThread::Worker); // F:, the end
        sim::Click(window_, IDC_UPGRADE);
        ASSERT_TRUE(sim::PumpUntil([this] { return sim::Inspect(window_).result.has_value(); }));
        ASSERT_TRUE(sim::WaitForThreads());

        std::vector<std::string> texts;
        for (const auto& box : sim::ShownMessageBoxes()) {
            texts.push_back(box.text);
        }
        ASSERT_EQ(texts.size(), 3u);
        EXPECT_EQ(texts[1], "F:\\ This device runs firmware 1.1.8E, newer than the new firmware 1.1.6E. You "
                            "must not downgrade!! Nothing was written to it.");
        EXPECT_EQ(texts[2], kCompletionText) << "the run ends with its final message";
        EXPECT_EQ(notices, 2);
        EXPECT_EQ(ReadBytes(Folder('E') / kTargetFileName), ReadBytes(ImagePath(1)));
        EXPECT_EQ(ReadBytes(Folder('G') / kTargetFileName), ReadBytes(ImagePath(1))) << "G: is served";
        for (const char letter : {'E', 'F', 'G'}) {
            EXPECT_FALSE(std::filesystem::exists(Folder(letter) / kTemporaryFileName)) << letter;
        }
        EXPECT_FALSE(std::filesystem::exists(Folder('F') / kTargetFileName));
        EXPECT_EQ(sim::Inspect(window_).result, IDCANCEL);
        EXPECT_EQ(ctx.transferPhase.load(), TransferPhase::Ended);
        EXPECT_EQ(ctx.status.load(), Finished);
    }
};

TEST_F(NoticeDuringTransferTest, ANoticeWhileTheWorkerServesANewerPlayerNeitherRefusesNorClosesTheWindow) {
    RunWithNotices();
}

} // namespace
