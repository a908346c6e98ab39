#include "provision/Selections.h"

#include "provision/Text.h"

namespace hw {

namespace {

const Char* const kModuleNames[] = {
    HW_TEXT("keypad"), HW_TEXT("fingerprint"), HW_TEXT("3G"),
    HW_TEXT("LF"),     HW_TEXT("handle key"),  HW_TEXT("Bluetooth"),
    HW_TEXT("WiFi"),   HW_TEXT("serial chip"), HW_TEXT("power chip"),
};
HW_STATIC_ASSERT(HW_COUNT_OF(kModuleNames) == kModuleCellCount, a_name_per_module);

}  // namespace

const Char* ModuleName(Module module) {
  return kModuleNames[module];
}

bool ModuleNamed(const Char* name, size_t length, Module* module) {
  for (size_t i = 0; i < kModuleCellCount; ++i) {
    if (TextEqualsIgnoringCase(name, length, kModuleNames[i])) {
      *module = kModuleCells[i].module;
      return true;
    }
  }
  return false;
}

const SelectionAction* SelectionWriting(Module module, UInt8 code) {
  for (size_t i = 0; i < kSelectionCount; ++i) {
    const SelectionAction& row = kSelectionTable[i];
    if (row.cell == module && row.code == code) return &row;
  }
  return NULL;
}

const SelectionAction* SelectionCaptioned(Module module, const Char* caption, size_t length) {
  for (size_t i = 0; i < kSelectionCount; ++i) {
    const SelectionAction& row = kSelectionTable[i];
    if (row.cell == module && TextEqualsIgnoringCase(caption, length, row.caption)) return &row;
  }
  return NULL;
}

bool ProvisionsTheOs(Module module) {
  for (size_t i = 0; i < kSelectionCount; ++i) {
    if (kSelectionTable[i].cell == module && kSelectionTable[i].step != kNone) return true;
  }
  return false;
}

}  // namespace hw
