#include "entry/UpdaterApp.h"

#include "ui/UpdaterDialog.h"

void StoreImagePairs(UpdaterContext& context, const CommandLineTokens& tokens) {
    for (std::size_t pair = 0; pair < context.imagePairs.size(); ++pair) {
        context.imagePairs[pair] = {tokens[2 * pair], tokens[2 * pair + 1]};
    }
}

bool UpdaterApp::InitInstance() {
    StoreImagePairs(context_, SplitCommandLine(m_lpCmdLine));
    RunUpdaterWindow(context_);
    return false;
}

int UpdaterApp::ExitInstance() {
    return static_cast<int>(context_.runOutcome.load());
}
