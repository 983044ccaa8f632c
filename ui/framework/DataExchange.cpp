#include "ui/framework/DataExchange.h"

#include <stdexcept>

void DataExchange::Control(int id, ::Control& control) const {
    const platform::WindowHandle window = platform::GetDlgItem(dialog_, id);
    if (window == nullptr) {
        throw std::runtime_error("The dialog has no control " + std::to_string(id) + ".");
    }
    control.Attach(window);
}

void DataExchange::Text(int id, const std::string& value) const {
    platform::SetDlgItemTextA(dialog_, id, value.c_str());
}
