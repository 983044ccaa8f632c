#pragma once
#include "app/CommandLine.h"
#include "app/UpdaterContext.h"
#include "ui/framework/Application.h"

// Pair k (leading digit k + 1 of the player's version) takes tokens 2k + 1 and 2k + 2.
void StoreImagePairs(UpdaterContext& context, const CommandLineTokens& tokens);

// The application: splits the command line into the context's image pairs, runs the updater
// window until it closes, and then lets the process end.
class UpdaterApp : public Application {
public:
    explicit UpdaterApp(UpdaterContext& context) : context_(context) {}
    // Always false: there is nothing to run once the window has closed.
    bool InitInstance() override;
    // How the run ended (RunOutcome).
    int ExitInstance() override;

private:
    UpdaterContext& context_;
};
