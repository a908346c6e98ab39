#pragma once

#include "eeprom/ModuleCells.h"
#include "platform/Platform.h"
#include "provision/ReadBack.h"
#include "provision/Text.h"
#include "setup/ProvisioningTarget.h"

namespace hw {

const size_t kMaxPsConfigSources = 2;

// What the OS holds of what a module's buttons provision: every registry
// value some button of the module writes, read back, and the flash copy of
// the Bluetooth configuration against every source a button installs.
// Everything compared comes from the selection table and the lists the
// presses write from.
struct OsState {
  struct FileCheck {
    const Char* source;
    FileMatch match;  // of kPsConfigDestination against source
  };
  Module module;
  ProvisioningTarget::Kind kind;  // kNothing: the buttons write the cell only
  size_t valueCount;
  RegistryReadBack values[kMaxRegistryWrites];
  size_t fileCount;
  FileCheck files[kMaxPsConfigSources];
};

void ReadOsState(Platform& os, Module module, OsState* state);
// How the lines name a key: "card 4329" for a WiFi card's, else its last part.
const Char* KeyLabel(const Char* subKey);
// A short account of what the OS holds, for the report.
void DescribeOsState(const OsState& state, TextLine& line);

// One way the OS differs from what a provisioning step writes.
struct Difference {
  enum Kind {
    kKey,    // the key does not open
    kSet,    // the key holds another button's whole set of values
    kValue,  // a value does not read back as written
    kFile    // the flash copy is not a copy of the source
  };
  Kind kind;
  const RegistryReadBack* value;  // kKey, kSet: the first value under the key; kValue
  const Char* wanted;   // kValue: the text written; kSet: the button's caption; kFile: the source
  const Char* heldSet;  // kSet: the caption of the button whose set the key holds
  FileMatch match;      // kFile
};
const size_t kMaxDifferences = kMaxRegistryWrites;

// The differences between the OS and what `step` leaves there; none for a
// step that provisions nothing.
size_t FindDifferences(const OsState& state, Provisioning step,
                       Difference (&differences)[kMaxDifferences]);
// Appends the differences, separated by "; ".
void AppendDifferences(const Difference* differences, size_t count, TextLine& line);

// The keys `step` writes values under, each once, in the order it writes
// them; returns how many.
size_t KeysWrittenBy(Provisioning step, const Char* (&keys)[kMaxRegistryWrites]);

// What `step` changed between two readings of the OS: of the values it
// writes, how many `after` holds as written that `before` did not, and how
// many `after` holds as written in all; whether the flash copy became the
// source's.
struct StepChanges {
  size_t valuesSet;
  size_t valuesHeld;
  size_t valueCount;
  bool fileInstalled;
};
void FindStepChanges(const OsState& before, const OsState& after, Provisioning step,
                     StepChanges* changes);

}  // namespace hw
