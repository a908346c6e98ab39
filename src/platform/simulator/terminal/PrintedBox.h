#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hw::sim {

// The simulator flavour's message boxes when the environment says
// HWSETUP_BOX=print: a script that runs the tool where nobody can press OK
// (no display) reads the box on standard output instead, and the box is
// answered OK at once. The device flavour never asks.
bool BoxesArePrinted();

// The caption, the icon ("information", "warning", "error", "question" or
// "none") and each line of the text, as the lines to print:
//   message box "HWProvision" (icon: warning)
//     terminal: HT-CE6 0123456789ABCDEF
//     ...
//     [OK]
std::vector<std::u16string> BoxLines(std::u16string_view text, std::u16string_view caption,
                                     std::string_view icon);
// The same lines on standard output, as UTF-8.
void PrintBox(std::u16string_view text, std::u16string_view caption, std::string_view icon);

}  // namespace hw::sim
