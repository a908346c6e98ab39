#pragma once

#include <windows.h>

#include "platform/Types.h"

namespace fw {

class Dialog;

// A row's reaction. True: the message is handled. False: the window system's
// default processing runs, and no other row sees the message.
typedef bool (*Handler)(Dialog& dialog, WPARAM wParam, LPARAM lParam);

// One row of a static message table. For WM_COMMAND and WM_NOTIFY, `code` is
// the notification code and `id` the control id; both are 0 for any other
// message.
struct MessageRow {
  UINT message;
  int code;
  int id;
  Handler handler;
};

// A class's rows, then its base class's table. Tables are constant data:
// {rows, HW_COUNT_OF(rows), &Base::kMessageTable}.
struct MessageTable {
  const MessageRow* rows;
  size_t count;
  const MessageTable* base;
};

// The first row for the message, searching a table before its bases.
const MessageRow* FindRow(const MessageTable& table, UINT message, int code, int id);

// The handler that calls member function F of the dialog class Owner.
template <class Owner, bool (Owner::*F)(WPARAM, LPARAM)>
bool Call(Dialog& dialog, WPARAM wParam, LPARAM lParam) {
  return (static_cast<Owner&>(dialog).*F)(wParam, lParam);
}

}  // namespace fw
