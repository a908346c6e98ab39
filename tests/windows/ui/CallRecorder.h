#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace uitest {

// Records, in order, the window calls this program makes (sent messages,
// show, focus, move, position, timers, dialog creation) and passes each on to the
// window system: its import table's entries are pointed at recorders while
// the object lives. Windows are named by what they hold: "main", "tab",
// "page1", "page2"; dialog templates by their id; the application icon as
// "icon". The test's own calls go through Send, which is not recorded.
class CallRecorder {
 public:
  CallRecorder();
  ~CallRecorder();
  CallRecorder(const CallRecorder&) = delete;
  CallRecorder& operator=(const CallRecorder&) = delete;

  // The calls so far, then forgets them.
  std::vector<std::string> Take();
  static LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  std::vector<std::string> calls_;
};

}  // namespace uitest
