#pragma once
// Moves a dialog's members to its controls: binds control wrappers to their ids and writes texts.
#include "platform/Window.h"
#include "ui/framework/Controls.h"

#include <string>

class DataExchange {
public:
    explicit DataExchange(platform::WindowHandle dialog) : dialog_(dialog) {}

    // Binds `control` to the dialog's control `id`; throws std::runtime_error when there is none.
    void Control(int id, ::Control& control) const;
    // Writes `value` to the control's text.
    void Text(int id, const std::string& value) const;

private:
    platform::WindowHandle dialog_;
};
