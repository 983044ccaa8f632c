#pragma once
// Thin wrappers of a dialog's controls: each method is one platform call or one message and
// answers what that call answers. A wrapper does not own its window; it is bound by DataExchange.
#include "platform/Window.h"

class Control {
public:
    void Attach(platform::WindowHandle window) { window_ = window; }
    platform::WindowHandle Handle() const { return window_; }

    // Whether the control was visible before.
    bool ShowWindow(int command) const { return platform::ShowWindow(window_, command); }
    // Whether the control was disabled before.
    bool EnableWindow(bool enable) const { return platform::EnableWindow(window_, enable); }
    bool IsWindowEnabled() const { return platform::IsWindowEnabled(window_); }
    // The window that had the focus, or null.
    platform::WindowHandle SetFocus() const { return platform::SetFocus(window_); }

protected:
    platform::LResult Send(unsigned message, platform::WParam wParam, platform::LParam lParam) const {
        return platform::SendMessageA(window_, message, wParam, lParam);
    }

private:
    platform::WindowHandle window_ = nullptr;
};

class Static : public Control {
public:
    // STM_SETIMAGE with a bitmap; returns the picture shown before, which the caller does not own.
    platform::LResult SetBitmap(platform::BitmapHandle bitmap) const {
        return Send(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<platform::LParam>(bitmap));
    }
};

class Button : public Control {};

class ProgressBar : public Control {
public:
    void SetRange(unsigned short low, unsigned short high) const {
        Send(PBM_SETRANGE, 0,
             static_cast<platform::LParam>(low) | (static_cast<platform::LParam>(high) << 16));
    }
    void SetPos(int position) const { Send(PBM_SETPOS, static_cast<platform::WParam>(position), 0); }
};
