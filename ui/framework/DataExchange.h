#pragma once
// Moves values between a dialog's members and its controls: binds control wrappers to their ids
// and exchanges texts, in the direction UpdateData chose.
#include "platform/Window.h"
#include "ui/framework/Controls.h"

#include <string>

class DataExchange {
public:
    DataExchange(platform::WindowHandle dialog, bool saveAndValidate)
        : dialog_(dialog), saving_(saveAndValidate) {}

    // Binds `control` to the dialog's control `id`; throws std::runtime_error when there is none.
    void Control(int id, ::Control& control) const;
    // Saving: reads the control's text into `value`; otherwise writes `value` to the control.
    void Text(int id, std::string& value) const;

private:
    platform::WindowHandle dialog_;
    bool saving_;
};
