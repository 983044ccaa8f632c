#pragma once
// Opens a framework dialog on the simulated window system without running its modal loop.
#include "sim/window/SimWindows.h"
#include "ui/framework/ModalDialog.h"

inline platform::WindowHandle OpenWithoutLoop(ModalDialog& dialog, int templateId) {
    return platform::sim::OpenDialog(templateId, &ModalDialog::Procedure,
                                     reinterpret_cast<platform::LParam>(&dialog));
}
