#include "app/UpdaterApp.h"

namespace {
// Built before the application object, which holds on to it.
UpdaterContext context;
UpdaterApp theApp(context);
} // namespace

int main() {
    return theApp.Run();
}
