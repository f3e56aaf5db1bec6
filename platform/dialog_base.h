// A small dialog window class: modal or modeless from a template in ResourceModule(),
// message dispatch to virtual handlers, and helpers to read and set control contents.
#pragma once

#include <windows.h>

#include <string>

#include "platform/stack_hold.h"

// The text of entry `index` of a combo box; empty when there is no such entry.
std::string ComboItemText(HWND combo, int index);

class DialogBase {
public:
    DialogBase(UINT templateId, HWND parent);
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;
    // A window still present is destroyed without reaching the handlers of a derived class
    // (those are gone by then): owners of resources destroy their window in their own destructor.
    virtual ~DialogBase();

    // Runs the dialog modally, owned as Windows owns a dialog: by the top-level ancestor of
    // `owner` (else of the constructor's parent), else by the thread's active window, else by
    // none; only a window of this thread can own it. The owner is disabled meanwhile. Returns
    // the value given to EndDialog, or -1 when the window could not be created (or one exists).
    INT_PTR DoModal(HWND owner = nullptr);
    // Creates the modeless window, which then takes Tab, Enter, Escape and the arrow keys
    // without the host's help; TRUE on success and when the window exists already.
    BOOL Create(HWND parent);

    // Ends a dialog made with new: its window goes now (a running modal loop is ended), the
    // object once none of its handlers or callers is on the stack any more. Hosts destroy the
    // dialog from inside its own notifications; its code must not run on in a deleted object.
    static void Retire(DialogBase* dialog);

    // Marks a stack frame that uses the dialog, so that Retire waits for its end.
    using CallScope = StackHold<DialogBase>;
    bool IsRetired() const { return m_holds.Doomed(); }

    HWND GetSafeHwnd() const { return m_hWnd; }
    UINT TemplateId() const { return m_templateId; }
    BOOL DestroyWindow();
    BOOL ShowWindow(int command);
    void EndDialog(INT_PTR result);

protected:
    // Lets a subclass change the template's window style before the window is created.
    virtual DWORD AdjustWindowStyle(DWORD style) { return style; }

    virtual BOOL OnInitDialog() { return TRUE; }
    // WM_COMMAND other than IDOK / IDCANCEL; TRUE when handled.
    virtual BOOL OnCommand(WORD id, WORD code, HWND control) { return FALSE; }
    // WM_NOTIFY; true when handled, with `result` as the message result.
    virtual bool OnNotify(const NMHDR& header, LRESULT& result) { return false; }
    virtual void OnDestroy() {}
    // Every other message; true when handled with `result`, false for the default processing.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) { return false; }
    // IDOK / IDCANCEL (Enter, Escape, close box): end the dialog.
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    // Control helpers (no-ops returning failure values while there is no window).
    HWND GetItem(int id) const;
    std::string GetItemText(int id) const;
    BOOL SetItemText(int id, const char* text);
    BOOL EnableItem(int id, BOOL enable);
    BOOL ShowItem(int id, int command);
    BOOL IsItemChecked(int id) const;
    void SetItemCheck(int id, BOOL checked);
    void ComboReset(int id);
    int ComboAdd(int id, const char* text);  // index or CB_ERR
    int ComboCount(int id) const;
    int ComboGetSel(int id) const;            // CB_ERR when none
    BOOL ComboSetSel(int id, int index);
    LPARAM ComboGetData(int id, int index) const;  // CB_ERR when there is no such item
    BOOL ComboSetData(int id, int index, LPARAM data);
    std::string ComboGetItemText(int id, int index) const;
    // The control's window rectangle in this dialog's client coordinates.
    RECT ItemClientRect(int id) const;

    // Every message after WM_INITDIALOG passes here; a subclass may set up what all its
    // handlers share around it.
    virtual INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Detach();

    UINT m_templateId;
    HWND m_hParent;
    HWND m_hWnd = nullptr;
    friend class StackHold<DialogBase>;
    StackHolds m_holds;
    bool m_bModalLoop = false;
};
