#include "framework/Dialog.h"

#include "framework/App.h"
#include "framework/WindowData.h"

namespace fw {

namespace {

// The template as the Indirect calls take it. Windows CE exports only those:
// its headers build DialogBoxParam and CreateDialogParam from them the same
// way. LoadResource gives the template's address itself, on CE as on the
// desktop, which is why CE has no LockResource to call.
const DLGTEMPLATE* FindTemplate(int templateId) {
  const HINSTANCE module = ResourceInstance();
  const HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(templateId), RT_DIALOG);
  if (found == NULL) return NULL;
  return reinterpret_cast<const DLGTEMPLATE*>(::LoadResource(module, found));
}

bool IsKeyboardMessage(UINT message) {
  return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

}  // namespace

Dialog* Dialog::live_ = NULL;

// Keyboard messages go to the window that holds the focus. The framework's
// dialog around it, a modeless page as much as the modal window, then
// handles the dialog keys (Tab, arrows, Space, Enter, Esc) as the window
// system's own modal loop does for the one dialog it knows. That dialog is
// found among the framework's own, not by window class: CE's dialog class
// is "Dialog", the desktop's "#32770".
bool Dialog::RouteToFocusDialog(MSG& message) {
  for (HWND window = message.hwnd; window != NULL; window = ::GetParent(window)) {
    for (const Dialog* dialog = live_; dialog != NULL; dialog = dialog->nextLive_) {
      if (dialog->hwnd_ == window) return ::IsDialogMessageW(window, &message) != FALSE;
    }
  }
  return false;
}

const MessageRow Dialog::kRows[] = {
    {WM_COMMAND, BN_CLICKED, IDOK, &Call<Dialog, &Dialog::OnOKCommand>},
    {WM_COMMAND, BN_CLICKED, IDCANCEL, &Call<Dialog, &Dialog::OnCancelCommand>},
};
const MessageTable Dialog::kMessageTable = {kRows, HW_COUNT_OF(kRows), NULL};

Dialog::~Dialog() {
  if (IsWindow()) ::DestroyWindow(hwnd_);
  Unlink();
}

INT_PTR Dialog::DoModal() {
  modal_ = true;
  ended_ = false;
  result_ = -1;
  if (CreateWindowFromTemplate(parent_) == NULL) return -1;
  // The owner waits, disabled, as it does under the window system's own
  // modal loop.
  const bool disableOwner = parent_ != NULL && ::IsWindowEnabled(parent_) != FALSE;
  if (disableOwner) ::EnableWindow(parent_, FALSE);
  RunModalLoop();
  if (disableOwner) ::EnableWindow(parent_, TRUE);
  if (hwnd_ != NULL) ::DestroyWindow(hwnd_);
  return result_;
}

bool Dialog::Create(HWND parent) {
  parent_ = parent;
  modal_ = false;
  ended_ = false;
  creating_ = true;
  CreateWindowFromTemplate(parent);
  creating_ = false;
  // A dialog that ended itself in WM_INITDIALOG has destroyed its window by
  // now; the handle the call returns may be stale, ours is not.
  return hwnd_ != NULL;
}

HWND Dialog::CreateWindowFromTemplate(HWND parent) {
  const DLGTEMPLATE* dialogTemplate = FindTemplate(templateId_);
  if (dialogTemplate == NULL) return NULL;
  ::CreateDialogIndirectParamW(ResourceInstance(), dialogTemplate, parent, Procedure,
                               reinterpret_cast<LPARAM>(this));
  return hwnd_;
}

void Dialog::RunModalLoop() {
  MSG message;
  while (!ended_ && hwnd_ != NULL) {
    const BOOL got = ::GetMessageW(&message, NULL, 0, 0);
    if (got == 0) {
      // WM_QUIT ends the run and is left for the loop outside it.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (got == -1) return;
    if (IsKeyboardMessage(message.message) && RouteToFocusDialog(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

// CE documents the window system's EndDialog for the dialog boxes its own
// DialogBox runs, and for nothing else: the framework ends its dialogs
// itself.
void Dialog::EndDialog(INT_PTR result) {
  ended_ = true;
  result_ = result;
  if (hwnd_ == NULL) return;
  if (creating_ && !modal_) {
    ::DestroyWindow(hwnd_);
    return;
  }
  ::ShowWindow(hwnd_, SW_HIDE);
  if (modal_) {
    // The loop sees the flag after this message; the post wakes it should
    // it be waiting in GetMessage (a command sent from another thread ends
    // the dialog inside that wait).
    ::PostMessageW(hwnd_, WM_NULL, 0, 0);
  } else if (parent_ != NULL) {
    // CE's SW_HIDE activates some other window, which one it does not say:
    // the keypad goes back to the window the dialog was made under (a
    // page's tab control), where the technician expects it.
    ::SetFocus(parent_);
  }
}

bool Dialog::OnInitDialog() {
  DoDataExchange();
  return true;
}

void Dialog::OnOK() {
  if (DoDataExchange()) EndDialog(IDOK);
}

void Dialog::OnCancel() {
  EndDialog(IDCANCEL);
}

bool Dialog::Bind(int id, Window& control) {
  control.Attach(::GetDlgItem(hwnd_, id));
  return control.hwnd() != NULL;
}

void Dialog::SetMessageResult(LRESULT result) {
  SetDialogData(hwnd_, kResultSlot, result);
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    Dialog* self = reinterpret_cast<Dialog*>(lParam);
    SetDialogData(hwnd, kUserSlot, lParam);
    self->hwnd_ = hwnd;
    self->nextLive_ = live_;
    live_ = self;
    return self->OnInitDialog() ? TRUE : FALSE;
  }
  // The few messages before WM_INITDIALOG (WM_SETFONT, sizing), and any after
  // WM_DESTROY, find no object.
  Dialog* self = reinterpret_cast<Dialog*>(GetDialogData(hwnd, kUserSlot));
  if (self == NULL) return FALSE;
  const INT_PTR handled = self->Dispatch(message, wParam, lParam);
  // Windows CE sends no WM_NCDESTROY: WM_DESTROY is the window's last word.
  if (message == WM_DESTROY) self->Detach();
  return handled;
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  int code = 0;
  int id = 0;
  if (message == WM_COMMAND) {
    code = HIWORD(wParam);
    id = LOWORD(wParam);
  } else if (message == WM_NOTIFY) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    code = static_cast<int>(header->code);
    id = static_cast<int>(header->idFrom);
  }
  const MessageRow* row = FindRow(GetMessageTable(), message, code, id);
  return row != NULL && row->handler(*this, wParam, lParam) ? TRUE : FALSE;
}

void Dialog::Detach() {
  SetDialogData(hwnd_, kUserSlot, 0);
  App* app = App::Current();
  if (app != NULL && app->MainWindow() == this) app->SetMainWindow(NULL);
  hwnd_ = NULL;
  Unlink();
}

void Dialog::Unlink() {
  for (Dialog** link = &live_; *link != NULL; link = &(*link)->nextLive_) {
    if (*link == this) {
      *link = nextLive_;
      break;
    }
  }
  nextLive_ = NULL;
}

bool Dialog::OnOKCommand(WPARAM, LPARAM) {
  OnOK();
  return true;
}

bool Dialog::OnCancelCommand(WPARAM, LPARAM) {
  OnCancel();
  return true;
}

const MessageRow* FindRow(const MessageTable& table, UINT message, int code, int id) {
  for (const MessageTable* t = &table; t != NULL; t = t->base) {
    for (size_t i = 0; i < t->count; ++i) {
      const MessageRow& row = t->rows[i];
      if (row.message == message && row.code == code && row.id == id) return &row;
    }
  }
  return NULL;
}

}  // namespace fw
