#include "provision/OsState.h"

#include "provision/Selections.h"
#include "setup/PsConfigInstall.h"

namespace hw {

namespace {

size_t WritesOf(const ProvisioningTarget& target, RegistryWrite (&writes)[kMaxRegistryWrites]) {
  if (target.kind == ProvisioningTarget::kUsbHost) return RegistryWritesOf(target.usbHost, writes);
  if (target.kind == ProvisioningTarget::kWifiSet) return RegistryWritesOf(target.wifiSet, writes);
  return 0;
}

bool SameValue(const RegistryReadBack& value, const Char* subKey, const Char* valueName) {
  return TextEquals(value.subKey, subKey) && TextEquals(value.valueName, valueName);
}

const RegistryReadBack* Find(const OsState& state, const RegistryWrite& write) {
  for (size_t i = 0; i < state.valueCount; ++i) {
    if (SameValue(state.values[i], write.subKey, write.valueName)) return &state.values[i];
  }
  return NULL;
}

void AddValues(Platform& os, const ProvisioningTarget& target, OsState* state) {
  RegistryWrite writes[kMaxRegistryWrites];
  const size_t count = WritesOf(target, writes);
  for (size_t i = 0; i < count && state->valueCount < kMaxRegistryWrites; ++i) {
    if (Find(*state, writes[i]) != NULL) continue;
    ReadRegistryValue(os, writes[i].subKey, writes[i].valueName,
                      &state->values[state->valueCount++]);
  }
}

void AddFile(Platform& os, const Char* source, OsState* state) {
  for (size_t i = 0; i < state->fileCount; ++i) {
    if (TextEquals(state->files[i].source, source)) return;
  }
  if (state->fileCount == kMaxPsConfigSources) return;
  OsState::FileCheck& check = state->files[state->fileCount++];
  check.source = source;
  check.match = CompareFiles(os, kPsConfigDestination, source);
}

void AppendKeyProblem(const RegistryReadBack& value, TextLine& line) {
  line.Append(KeyLabel(value.subKey));
  if (value.error == kErrorFileNotFound) {
    line.Append(HW_TEXT(" key is missing"));
  } else if (value.error == kErrorAccessDenied) {
    line.Append(HW_TEXT(" key: access denied"));
  } else {
    line.Append(HW_TEXT(" key cannot be opened (error "))
        .AppendDecimal(value.error)
        .Append(HW_TEXT(")"));
  }
}

void AppendHeld(const RegistryReadBack& value, TextLine& line) {
  switch (value.status) {
    case RegistryReadBack::kText:
      line.AppendQuoted(value.text);
      if (value.bytes != (TextLength(value.text) + 1) * sizeof(Char)) {
        line.Append(HW_TEXT(" (")).AppendDecimal(value.bytes).Append(HW_TEXT(" bytes)"));
      }
      break;
    case RegistryReadBack::kMissing: line.Append(HW_TEXT("missing")); break;
    case RegistryReadBack::kNotText:
      line.Append(HW_TEXT("not a string (type ")).AppendDecimal(value.type).Append(HW_TEXT(")"));
      break;
    case RegistryReadBack::kTooLong: line.Append(HW_TEXT("a longer text")); break;
    case RegistryReadBack::kUnreadable:
      line.Append(HW_TEXT("unreadable (error ")).AppendDecimal(value.error).Append(HW_TEXT(")"));
      break;
    case RegistryReadBack::kKeyUnopened: AppendKeyProblem(value, line); break;
  }
}

void AppendDifference(const Difference& difference, TextLine& line) {
  switch (difference.kind) {
    case Difference::kKey: AppendKeyProblem(*difference.value, line); break;
    case Difference::kSet:
      line.Append(KeyLabel(difference.value->subKey)).Append(HW_TEXT(" holds the "));
      line.Append(difference.heldSet).Append(HW_TEXT(" set, wants ")).Append(difference.wanted);
      break;
    case Difference::kValue:
      line.Append(KeyLabel(difference.value->subKey)).Append(HW_TEXT(" "));
      line.Append(difference.value->valueName).Append(HW_TEXT(" is "));
      AppendHeld(*difference.value, line);
      line.Append(HW_TEXT(", wants ")).AppendQuoted(difference.wanted);
      break;
    case Difference::kFile:
      if (difference.match == kSourceMissing) {
        line.Append(difference.wanted).Append(HW_TEXT(" is missing"));
        break;
      }
      line.Append(kPsConfigDestination);
      if (difference.match == kCopyMissing) line.Append(HW_TEXT(" is missing, wants a copy of "));
      if (difference.match == kCopyInUse) {
        line.Append(HW_TEXT(" is in use by another program, and cannot be compared with "));
      }
      if (difference.match == kDifferentBytes) line.Append(HW_TEXT(" differs from "));
      if (difference.match == kFileUnreadable) line.Append(HW_TEXT(" cannot be read against "));
      line.Append(difference.wanted);
      break;
  }
}

// The caption of the first button whose press runs `step`.
const Char* CaptionOf(Provisioning step) {
  for (size_t i = 0; i < kSelectionCount; ++i) {
    if (kSelectionTable[i].step == step) return kSelectionTable[i].caption;
  }
  return HW_TEXT("?");
}

// The caption of the WiFi button whose set the key holds, or null.
const Char* SetHeldUnder(const OsState& state, const Char* subKey) {
  for (size_t i = 0; i < kSelectionCount; ++i) {
    const SelectionAction& row = kSelectionTable[i];
    if (row.cell != state.module || TargetOf(row.step).kind != ProvisioningTarget::kWifiSet) {
      continue;
    }
    RegistryWrite writes[kMaxRegistryWrites];
    const size_t count = WritesOf(TargetOf(row.step), writes);
    bool all = true;
    for (size_t j = 0; j < count; ++j) {
      const RegistryReadBack* value = Find(state, writes[j]);
      if (TextEquals(writes[j].subKey, subKey) &&
          (value == NULL || !ReadsBackAs(*value, writes[j].text))) {
        all = false;
      }
    }
    if (all) return row.caption;
  }
  return NULL;
}

void DescribeValues(const OsState& state, TextLine& line) {
  const Char* lastKey = NULL;
  for (size_t i = 0; i < state.valueCount; ++i) {
    const RegistryReadBack& value = state.values[i];
    const bool newKey = lastKey == NULL || !TextEquals(lastKey, value.subKey);
    if (!newKey && (state.kind == ProvisioningTarget::kWifiSet ||
                    value.status == RegistryReadBack::kKeyUnopened)) {
      continue;  // the key has been described whole
    }
    if (i > 0) line.Append(newKey ? HW_TEXT("; ") : HW_TEXT(", "));
    lastKey = value.subKey;
    if (value.status == RegistryReadBack::kKeyUnopened) {
      AppendKeyProblem(value, line);
    } else if (state.kind == ProvisioningTarget::kWifiSet) {
      const Char* set = SetHeldUnder(state, value.subKey);
      line.Append(KeyLabel(value.subKey)).Append(HW_TEXT(" "));
      line.Append(set != NULL ? set : HW_TEXT("other values"));
    } else {
      if (newKey) line.Append(KeyLabel(value.subKey)).Append(HW_TEXT(" "));
      line.Append(value.valueName).Append(HW_TEXT(" "));
      AppendHeld(value, line);
    }
  }
}

void DescribeFile(const OsState& state, TextLine& line) {
  line.Append(kPsConfigDestination);
  for (size_t i = 0; i < state.fileCount; ++i) {
    if (state.files[i].match == kSameBytes) {
      line.Append(HW_TEXT(" is a copy of ")).Append(state.files[i].source);
      return;
    }
  }
  for (size_t i = 0; i < state.fileCount; ++i) {
    if (state.files[i].match == kCopyMissing || state.files[i].match == kCopyInUse) {
      line.Append(state.files[i].match == kCopyMissing ? HW_TEXT(" is missing")
                                                       : HW_TEXT(" is in use by another program"));
      return;
    }
  }
  line.Append(HW_TEXT(" is a copy of no source"));
}

}  // namespace

const Char* KeyLabel(const Char* subKey) {
  if (TextEquals(subKey, kWifiCardKey4319)) return HW_TEXT("card 4319");
  if (TextEquals(subKey, kWifiCardKey4329)) return HW_TEXT("card 4329");
  const Char* last = subKey;
  for (const Char* c = subKey; *c != 0; ++c) {
    if (*c == '\\') last = c + 1;
  }
  return last;
}

void ReadOsState(Platform& os, Module module, OsState* state) {
  state->module = module;
  state->kind = ProvisioningTarget::kNothing;
  state->valueCount = 0;
  state->fileCount = 0;
  for (size_t i = 0; i < kSelectionCount; ++i) {
    const SelectionAction& row = kSelectionTable[i];
    if (row.cell != module) continue;
    const ProvisioningTarget target = TargetOf(row.step);
    if (target.kind == ProvisioningTarget::kNothing) continue;
    state->kind = target.kind;
    AddValues(os, target, state);
    if (target.kind == ProvisioningTarget::kPsConfigFile) {
      AddFile(os, target.psConfigSource, state);
    }
  }
}

void DescribeOsState(const OsState& state, TextLine& line) {
  if (state.kind == ProvisioningTarget::kPsConfigFile) {
    DescribeFile(state, line);
  } else {
    DescribeValues(state, line);
  }
}

size_t FindDifferences(const OsState& state, Provisioning step,
                       Difference (&differences)[kMaxDifferences]) {
  const ProvisioningTarget target = TargetOf(step);
  size_t count = 0;
  RegistryWrite writes[kMaxRegistryWrites];
  const size_t writeCount = WritesOf(target, writes);
  const Char* settledKey = NULL;  // a key told of as a whole
  for (size_t i = 0; i < writeCount; ++i) {
    const RegistryReadBack* value = Find(state, writes[i]);
    if (value == NULL || ReadsBackAs(*value, writes[i].text)) continue;
    if (settledKey != NULL && TextEquals(settledKey, value->subKey)) continue;
    Difference difference = {Difference::kValue, value, writes[i].text, NULL, kSameBytes};
    const Char* held =
        state.kind == ProvisioningTarget::kWifiSet ? SetHeldUnder(state, value->subKey) : NULL;
    if (value->status == RegistryReadBack::kKeyUnopened) {
      difference.kind = Difference::kKey;
      settledKey = value->subKey;
    } else if (held != NULL) {
      // The key holds another button's whole set: say so, not value by value.
      difference.kind = Difference::kSet;
      difference.wanted = CaptionOf(step);
      difference.heldSet = held;
      settledKey = value->subKey;
    }
    differences[count++] = difference;
  }
  for (size_t i = 0; i < state.fileCount; ++i) {
    const OsState::FileCheck& file = state.files[i];
    if (target.kind == ProvisioningTarget::kPsConfigFile &&
        TextEquals(file.source, target.psConfigSource) && file.match != kSameBytes) {
      const Difference difference = {Difference::kFile, NULL, file.source, NULL, file.match};
      differences[count++] = difference;
    }
  }
  return count;
}

void AppendDifferences(const Difference* differences, size_t count, TextLine& line) {
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) line.Append(HW_TEXT("; "));
    AppendDifference(differences[i], line);
  }
}

size_t KeysWrittenBy(Provisioning step, const Char* (&keys)[kMaxRegistryWrites]) {
  RegistryWrite writes[kMaxRegistryWrites];
  const size_t writeCount = WritesOf(TargetOf(step), writes);
  size_t count = 0;
  for (size_t i = 0; i < writeCount; ++i) {
    bool known = false;
    for (size_t k = 0; k < count; ++k) known = known || TextEquals(keys[k], writes[i].subKey);
    if (!known) keys[count++] = writes[i].subKey;
  }
  return count;
}

void FindStepChanges(const OsState& before, const OsState& after, Provisioning step,
                     StepChanges* changes) {
  const ProvisioningTarget target = TargetOf(step);
  RegistryWrite writes[kMaxRegistryWrites];
  changes->valueCount = WritesOf(target, writes);
  changes->valuesSet = 0;
  changes->valuesHeld = 0;
  for (size_t i = 0; i < changes->valueCount; ++i) {
    const RegistryReadBack* now = Find(after, writes[i]);
    const RegistryReadBack* then = Find(before, writes[i]);
    if (now == NULL || !ReadsBackAs(*now, writes[i].text)) continue;
    ++changes->valuesHeld;
    if (then == NULL || !ReadsBackAs(*then, writes[i].text)) ++changes->valuesSet;
  }
  changes->fileInstalled = false;
  if (target.kind != ProvisioningTarget::kPsConfigFile) return;
  for (size_t i = 0; i < after.fileCount && i < before.fileCount; ++i) {
    if (TextEquals(after.files[i].source, target.psConfigSource)) {
      changes->fileInstalled =
          after.files[i].match == kSameBytes && before.files[i].match != kSameBytes;
    }
  }
}

}  // namespace hw
