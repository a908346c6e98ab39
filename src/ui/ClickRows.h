#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

#include "framework/MessageTable.h"
#include "setup/SelectionTable.h"

// One WM_COMMAND row per button of `page`, in selection-table order, all
// running `handler`: the page's command table comes from the selection table
// and cannot drift from it.
template <hw::Page page>
constexpr std::array<fw::MessageRow, hw::SelectionCount(page)> ClickRows(fw::Handler handler) {
  std::array<fw::MessageRow, hw::SelectionCount(page)> rows{};
  std::size_t n = 0;
  for (const hw::SelectionAction& action : hw::kSelectionTable) {
    if (action.page == page) rows[n++] = {WM_COMMAND, BN_CLICKED, action.control, handler};
  }
  return rows;
}
