#include "entry/UpdaterApp.h"
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(StoreImagePairs, FillsPairsByFirmwareLine) {
    UpdaterContext context;
    StoreImagePairs(context, SplitCommandLine("imgA verA imgB verB imgC verC"));
    EXPECT_EQ(context.imagePairs[0].imagePath, "imgA");
    EXPECT_EQ(context.imagePairs[0].version, "verA");
    EXPECT_EQ(context.imagePairs[1].imagePath, "imgB");
    EXPECT_EQ(context.imagePairs[1].version, "verB");
    EXPECT_EQ(context.imagePairs[2].imagePath, "imgC");
    EXPECT_EQ(context.imagePairs[2].version, "verC");
}

TEST(UpdaterApp, EndsWithTheRunsOutcomeAsItsExitCode) {
    UpdaterContext context;
    UpdaterApp app(context);
    EXPECT_EQ(app.ExitInstance(), 3) << "a window closed before any run ended";
    context.runOutcome = RunOutcome::Refused;
    EXPECT_EQ(app.ExitInstance(), 2);
}

} // namespace
