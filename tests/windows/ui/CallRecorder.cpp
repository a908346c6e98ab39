#include "CallRecorder.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "ui/HWSetupDlgRes.h"

namespace uitest {

namespace {

std::vector<std::string>* record = nullptr;

// The real functions, as the import slots held them before the recorders.
decltype(&::SendMessageW) realSendMessage = nullptr;
decltype(&::ShowWindow) realShowWindow = nullptr;
decltype(&::SetFocus) realSetFocus = nullptr;
decltype(&::MoveWindow) realMoveWindow = nullptr;
decltype(&::SetWindowPos) realSetWindowPos = nullptr;
decltype(&::SetTimer) realSetTimer = nullptr;
decltype(&::KillTimer) realKillTimer = nullptr;
decltype(&::CreateDialogIndirectParamW) realCreateDialog = nullptr;

std::string Hex(unsigned long long value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", value);
  return text;
}

std::string Name(HWND window) {
  if (window == nullptr) return "null";
  if (window == HWND_TOPMOST) return "HWND_TOPMOST";
  auto isTab = [](HWND candidate) {
    wchar_t className[32] = {};
    ::GetClassNameW(candidate, className, 32);
    return std::wcscmp(className, WC_TABCONTROLW) == 0;
  };
  if (isTab(window)) return "tab";
  // Page one has a control 1008 too, a button: the main window's is the tab.
  if (isTab(::GetDlgItem(window, IDC_TAB))) return "main";
  if (::GetDlgItem(window, 1000) != nullptr) return "page1";
  if (::GetDlgItem(window, 1026) != nullptr) return "page2";
  return "window " + Hex(reinterpret_cast<ULONG_PTR>(window));
}

std::string Narrow(const wchar_t* text) {
  std::string out;
  for (; text != nullptr && *text != 0; ++text) out += static_cast<char>(*text);
  return out;
}

std::string TemplateName(const DLGTEMPLATE* dialogTemplate) {
  for (int id : {102, 103, 104}) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG);
    if (found != nullptr && ::LoadResource(module, found) == dialogTemplate) return std::to_string(id);
  }
  return "unknown template";
}

std::string ShowName(int command) {
  switch (command) {
    case SW_HIDE: return "SW_HIDE";
    case SW_SHOWNORMAL: return "SW_SHOWNORMAL";
    default: return std::to_string(command);
  }
}

std::string MessageCall(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const std::string to = Name(window);
  if (message == WM_SETICON) {
    HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    const std::string which = wParam == ICON_BIG ? "ICON_BIG" : wParam == ICON_SMALL ? "ICON_SMALL" : Hex(wParam);
    const std::string what = lParam == 0 ? "null" : reinterpret_cast<HICON>(lParam) == icon ? "icon" : Hex(lParam);
    return "WM_SETICON(" + to + ", " + which + ", " + what + ")";
  }
  if (message == TCM_INSERTITEMW) {
    const auto* item = reinterpret_cast<const TCITEMW*>(lParam);
    return "TCM_INSERTITEMW(" + to + ", " + std::to_string(wParam) + ", mask " + Hex(item->mask) +
           ", \"" + Narrow(item->pszText) + "\", image " + std::to_string(item->iImage) +
           ", param " + std::to_string(item->lParam) + ")";
  }
  if (message == TCM_GETCURSEL) return "TCM_GETCURSEL(" + to + ")";
  return "SendMessage(" + to + ", " + Hex(message) + ", " + Hex(wParam) + ", " + Hex(lParam) + ")";
}

void Add(const std::string& call) {
  if (record != nullptr) record->push_back(call);
}

LRESULT WINAPI RecordSendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Add(MessageCall(window, message, wParam, lParam));
  return realSendMessage(window, message, wParam, lParam);
}

BOOL WINAPI RecordShowWindow(HWND window, int command) {
  Add("ShowWindow(" + Name(window) + ", " + ShowName(command) + ")");
  return realShowWindow(window, command);
}

BOOL WINAPI RecordMoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
  Add("MoveWindow(" + Name(window) + ", " + std::to_string(x) + ", " + std::to_string(y) + ", " +
      std::to_string(width) + ", " + std::to_string(height) + (repaint ? ", repaint)" : ")"));
  return realMoveWindow(window, x, y, width, height, repaint);
}

BOOL WINAPI RecordSetWindowPos(HWND window, HWND after, int x, int y, int cx, int cy, UINT flags) {
  Add("SetWindowPos(" + Name(window) + ", " + Name(after) + ", " + std::to_string(x) + ", " +
      std::to_string(y) + ", " + std::to_string(cx) + ", " + std::to_string(cy) + ", " +
      Hex(flags) + ")");
  return realSetWindowPos(window, after, x, y, cx, cy, flags);
}

UINT_PTR WINAPI RecordSetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC proc) {
  Add("SetTimer(" + Name(window) + ", " + std::to_string(id) + ", " + std::to_string(period) +
      (proc == nullptr ? ", null)" : ", callback)"));
  return realSetTimer(window, id, period, proc);
}

BOOL WINAPI RecordKillTimer(HWND window, UINT_PTR id) {
  Add("KillTimer(" + Name(window) + ", " + std::to_string(id) + ")");
  return realKillTimer(window, id);
}

HWND WINAPI RecordSetFocus(HWND window) {
  Add("SetFocus(" + Name(window) + ")");
  return realSetFocus(window);
}

HWND WINAPI RecordCreateDialog(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND parent,
                               DLGPROC procedure, LPARAM param) {
  Add("CreateDialog(" + TemplateName(dialogTemplate) + ", " + Name(parent) + ")");
  return realCreateDialog(instance, dialogTemplate, parent, procedure, param);
}

struct Patch {
  const char* name;
  void* recorder;
  void* real;  // where the real function's address is kept
};

template <class F>
Patch PatchOf(const char* name, F recorder, F* real) {
  return {name, reinterpret_cast<void*>(recorder), reinterpret_cast<void*>(real)};
}

const Patch kPatches[] = {
    PatchOf("SendMessageW", &RecordSendMessage, &realSendMessage),
    PatchOf("ShowWindow", &RecordShowWindow, &realShowWindow),
    PatchOf("SetFocus", &RecordSetFocus, &realSetFocus),
    PatchOf("MoveWindow", &RecordMoveWindow, &realMoveWindow),
    PatchOf("SetWindowPos", &RecordSetWindowPos, &realSetWindowPos),
    PatchOf("SetTimer", &RecordSetTimer, &realSetTimer),
    PatchOf("KillTimer", &RecordKillTimer, &realKillTimer),
    PatchOf("CreateDialogIndirectParamW", &RecordCreateDialog, &realCreateDialog),
};

// Points each of user32's import slots named in kPatches at `recorders`
// (true) or back at the real function (false).
void Redirect(bool recorders) {
  auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* module = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       module->Name != 0; ++module) {
    if (_stricmp(reinterpret_cast<const char*>(base + module->Name), "user32.dll") != 0) continue;
    auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      for (const Patch& patch : kPatches) {
        if (std::strcmp(reinterpret_cast<const char*>(byName->Name), patch.name) != 0) continue;
        ULONG_PTR& real = *static_cast<ULONG_PTR*>(patch.real);
        if (recorders) real = slots->u1.Function;
        const ULONG_PTR target = recorders ? reinterpret_cast<ULONG_PTR>(patch.recorder) : real;
        DWORD old = 0;
        ::VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &old);
        slots->u1.Function = target;
        ::VirtualProtect(&slots->u1.Function, sizeof(void*), old, &old);
      }
    }
  }
}

}  // namespace

CallRecorder::CallRecorder() {
  record = &calls_;
  Redirect(true);
}

CallRecorder::~CallRecorder() {
  Redirect(false);
  record = nullptr;
}

std::vector<std::string> CallRecorder::Take() {
  std::vector<std::string> taken;
  taken.swap(calls_);
  return taken;
}

LRESULT CallRecorder::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return (realSendMessage != nullptr ? realSendMessage : &::SendMessageW)(window, message, wParam,
                                                                           lParam);
}

}  // namespace uitest
