#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

namespace fw {

class Dialog;

// A row's reaction. True: the message is handled. False: the window system's
// default processing runs, and no other row sees the message.
using Handler = bool (*)(Dialog& dialog, WPARAM wParam, LPARAM lParam);

// One row of a static message table. For WM_COMMAND and WM_NOTIFY, `code` is
// the notification code and `id` the control id; both are 0 for any other
// message.
struct MessageRow {
  UINT message = 0;
  int code = 0;
  int id = 0;
  Handler handler = nullptr;
};

// A class's rows, then its base class's table.
struct MessageTable {
  const MessageRow* rows;
  std::size_t count;
  const MessageTable* base;
};

template <std::size_t N>
constexpr MessageTable MakeTable(const MessageRow (&rows)[N], const MessageTable& base) {
  return {rows, N, &base};
}
template <std::size_t N>
constexpr MessageTable MakeTable(const std::array<MessageRow, N>& rows, const MessageTable& base) {
  return {rows.data(), N, &base};
}

// The first row for the message, searching a table before its bases.
const MessageRow* FindRow(const MessageTable& table, UINT message, int code, int id);

namespace detail {
template <class T>
struct MemberOf;
template <class C>
struct MemberOf<bool (C::*)(WPARAM, LPARAM)> {
  using Class = C;
};
}  // namespace detail

// The handler that calls member function F of the dialog that owns the table.
template <auto F>
bool Call(Dialog& dialog, WPARAM wParam, LPARAM lParam) {
  using Owner = typename detail::MemberOf<decltype(F)>::Class;
  return (static_cast<Owner&>(dialog).*F)(wParam, lParam);
}

}  // namespace fw
