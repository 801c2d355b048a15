#pragma once
// Modal dialogs from a dialog template, run by a message loop of their own.
#include "window.h"

namespace winui {

class Dialog : public Window {
public:
    // templateId names a dialog resource of the program's module. With no parent the
    // dialog is owned by the application's main window, unless it is that window itself.
    explicit Dialog(UINT templateId, Window* parent = nullptr);

    // Creates the dialog, disables its owner and runs the loop until EndDialog is called
    // or the window is destroyed. Returns EndDialog's result; -1 when the dialog could
    // not be created or its window was destroyed without EndDialog.
    INT_PTR DoModal();
    // Ends the loop after the message in hand; DoModal then destroys the window. A WM_NULL
    // posted to the dialog wakes its loop, so that an end asked from a sent message, or inside
    // a nested loop, is carried out as soon as control is back in this dialog's loop.
    void EndDialog(INT_PTR result);

    // The dialog resource it was made from.
    UINT TemplateId() const { return templateId_; }

    // WM_INITDIALOG goes to OnInitDialog, the commands IDOK and IDCANCEL to OnOK and
    // OnCancel; any other command of a menu, an accelerator or a button that the dialog
    // leaves to its base goes to the application (Application::OnCommand). WM_HELP (F1 on the
    // dialog or its controls) becomes the command ID_HELP to the application's main window.
    // WM_CREATE reaches OnMessage too: the window is bound while it is created.
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // TRUE: the system sets the focus to the first tab stop.
    virtual BOOL OnInitDialog();
    virtual void OnOK();      // EndDialog(IDOK)
    virtual void OnCancel();  // EndDialog(IDCANCEL)

private:
    // F1: the help command goes to the main window, which passes it to the application.
    void OnHelpRequest();
    HWND OwnerWindow() const;
    bool Create(HWND owner);
    // The loop's test of a message: the windows from its target up to the dialog may take
    // it, then (a key) the browser controls hosted on those windows, then the dialog's
    // keyboard handling.
    bool PreTranslate(MSG& msg);

    UINT templateId_;
    Window* parent_;
    bool ended_ = false;
    INT_PTR result_ = -1;
};

// A dialog's WM_PAINT while it is iconic: erases the icon's background and draws icon centred
// with the system icon metrics. False, and nothing painted, when the window is not iconic.
bool PaintIconicDialog(HWND hwnd, HICON icon);

}  // namespace winui
