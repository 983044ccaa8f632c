#pragma once
// A modal dialog run from the program's template. The object travels as the creation parameter, is
// kept in the window's DWLP_USER from WM_INITDIALOG on (earlier messages get the default answer),
// and the one dialog procedure routes each message: the derived class's message map first, then
// IDOK/IDCANCEL to OnOK/OnCancel. A handler's answer goes back in DWLP_MSGRESULT. An exception from a handler
// stops at the procedure and is shown in a message box with the application's caption; the dialog then
// carries on.
#include "platform/Window.h"
#include "ui/framework/DataExchange.h"
#include "ui/framework/MessageMap.h"

#include <span>
#include <type_traits>

class ModalDialog {
public:
    explicit ModalDialog(int templateId, platform::WindowHandle owner = nullptr)
        : templateId_(templateId), owner_(owner) {}
    virtual ~ModalDialog() = default;
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

    // Runs the dialog until it ends; returns its result, or -1 when it could not be created.
    platform::LResult DoModal();

    // The dialog's window while it exists, otherwise null.
    platform::WindowHandle Handle() const { return window_; }

    // The dialog procedure of every ModalDialog; lParam of WM_INITDIALOG is the object.
    static platform::LResult Procedure(platform::WindowHandle window, unsigned message,
                                       platform::WParam wParam, platform::LParam lParam);

protected:
    struct Outcome {
        bool handled;
        platform::LResult value;
    };

    // Pushes the members to the controls; true lets the dialog manager choose the focus.
    virtual bool OnInitDialog();
    virtual void DoDataExchange(DataExchange&) {}
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // A dialog with a message map returns Dispatch(*this, map, …) here.
    virtual Outcome HandleMessage(unsigned, platform::WParam, platform::LParam) { return {false, 0}; }

    template <typename Dialog>
    static Outcome Dispatch(Dialog& dialog, std::span<const MessageEntry<std::type_identity_t<Dialog>>> map,
                            unsigned message, platform::WParam wParam, platform::LParam lParam) {
        for (const MessageEntry<Dialog>& entry : map) {
            if (entry.Matches(message, wParam)) {
                return {true, entry.invoke(dialog, wParam, lParam)};
            }
        }
        return {false, 0};
    }

    // Inside a handler: the platform's default processing answers the message after all.
    platform::LResult Default();
    // Pushes the members to the controls (DoDataExchange).
    void UpdateData();
    void EndDialog(platform::LResult result) const;
    // Gives the focus to control `id` as Tab would, the default-button frame following it.
    void GotoDlgCtrl(int id) const;

private:
    platform::LResult Route(unsigned message, platform::WParam wParam, platform::LParam lParam);
    void ReportException(const char* what) const noexcept;

    int templateId_;
    platform::WindowHandle owner_;
    platform::WindowHandle window_ = nullptr;
    bool leftToDefault_ = false; // set by Default() during the message being routed
};
