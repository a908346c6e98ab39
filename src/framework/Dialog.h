#pragma once

#include <windows.h>

#include "framework/MessageTable.h"
#include "framework/Window.h"

namespace fw {

// A dialog from a template in the program's resources. One static dialog
// procedure reaches the object through the window's user slot; messages go to
// the class's message table first, then to the virtual defaults.
class Dialog : public Window {
 public:
  explicit Dialog(int templateId, HWND parent = NULL)
      : templateId_(templateId),
        parent_(parent),
        modal_(false),
        creating_(false),
        ended_(false),
        result_(0),
        nextLive_(NULL) {}
  virtual ~Dialog();

  // Runs the dialog modally in the framework's own loop, which gives each
  // keyboard message to the dialog that holds the focus, modeless ones
  // included. The end result, or -1 when the window could not be made.
  INT_PTR DoModal();
  // Creates the dialog modelessly. False, and no window, when the template is
  // missing or the dialog ended itself while it initialised.
  bool Create(HWND parent);
  // A modal dialog is hidden, leaves its loop and is destroyed. A modeless
  // one that ends while it is being created is destroyed, so its creation
  // fails; later it is hidden, keeps its window and its state, and gives the
  // focus to the window it was created under.
  void EndDialog(INT_PTR result);

  bool Ended() const { return ended_; }
  INT_PTR Result() const { return result_; }

  // IDOK and IDCANCEL clicks; every table chains to it.
  static const MessageTable kMessageTable;

 protected:
  virtual const MessageTable& GetMessageTable() const { return kMessageTable; }
  // Runs DoDataExchange. True lets the system focus the first control.
  virtual bool OnInitDialog();
  // Attaches the control members to their child windows; true when all were there.
  virtual bool DoDataExchange() { return true; }
  virtual void OnOK();
  virtual void OnCancel();

  bool Bind(int id, Window& control);
  // The result of a WM_NOTIFY that a row handles.
  void SetMessageResult(LRESULT result);

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static bool RouteToFocusDialog(MSG& message);
  HWND CreateWindowFromTemplate(HWND parent);
  void RunModalLoop();
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void Detach();
  void Unlink();
  bool OnOKCommand(WPARAM, LPARAM);
  bool OnCancelCommand(WPARAM, LPARAM);

  static const MessageRow kRows[];
  // The framework's dialogs that have a window, newest first: how the modal
  // loop knows a dialog, whatever its window class is called.
  static Dialog* live_;

  int templateId_;
  HWND parent_;
  bool modal_;
  bool creating_;
  bool ended_;
  INT_PTR result_;
  Dialog* nextLive_;
};

}  // namespace fw
