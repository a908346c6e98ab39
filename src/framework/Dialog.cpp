#include "framework/Dialog.h"

#include "framework/App.h"
#include "framework/WindowData.h"

namespace fw {

const MessageTable Dialog::kMessageTable = {kRows, sizeof kRows / sizeof kRows[0], nullptr};

Dialog::~Dialog() {
  if (IsWindow()) ::DestroyWindow(hwnd_);
}

INT_PTR Dialog::DoModal() {
  modal_ = true;
  ended_ = false;
  return ::DialogBoxParamW(ResourceInstance(), MAKEINTRESOURCEW(templateId_), parent_, Procedure,
                           reinterpret_cast<LPARAM>(this));
}

bool Dialog::Create(HWND parent) {
  modal_ = false;
  ended_ = false;
  ::CreateDialogParamW(ResourceInstance(), MAKEINTRESOURCEW(templateId_), parent, Procedure,
                       reinterpret_cast<LPARAM>(this));
  // A dialog that ended itself in WM_INITDIALOG has destroyed its window by
  // now; the handle the call returns may be stale, ours is not.
  return hwnd_ != nullptr;
}

void Dialog::EndDialog(INT_PTR result) {
  ended_ = true;
  result_ = result;
  if (modal_) {
    ::EndDialog(hwnd_, result);
  } else if (hwnd_ != nullptr) {
    ::DestroyWindow(hwnd_);
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
  return control.hwnd() != nullptr;
}

void Dialog::SetMessageResult(LRESULT result) {
  SetDialogData(hwnd_, kResultSlot, result);
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    Dialog* self = reinterpret_cast<Dialog*>(lParam);
    SetDialogData(hwnd, kUserSlot, lParam);
    self->hwnd_ = hwnd;
    return self->OnInitDialog() ? TRUE : FALSE;
  }
  // The few messages before WM_INITDIALOG (WM_SETFONT, sizing) find no object.
  Dialog* self = reinterpret_cast<Dialog*>(GetDialogData(hwnd, kUserSlot));
  if (self == nullptr) return FALSE;
  if (message == WM_NCDESTROY) {
    self->Detach();
    return FALSE;
  }
  return self->Dispatch(message, wParam, lParam);
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
  return row != nullptr && row->handler(*this, wParam, lParam) ? TRUE : FALSE;
}

void Dialog::Detach() {
  SetDialogData(hwnd_, kUserSlot, 0);
  App* app = App::Current();
  if (app != nullptr && app->MainWindow() == this) app->SetMainWindow(nullptr);
  hwnd_ = nullptr;
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
  for (const MessageTable* t = &table; t != nullptr; t = t->base) {
    for (std::size_t i = 0; i < t->count; ++i) {
      const MessageRow& row = t->rows[i];
      if (row.message == message && row.code == code && row.id == id) return &row;
    }
  }
  return nullptr;
}

}  // namespace fw
