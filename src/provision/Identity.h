#pragma once

#include "platform/Platform.h"
#include "provision/ReadBack.h"
#include "provision/Text.h"

namespace hw {

// The longest device id read and shown. CE's OEM layers answer a few dozen
// bytes.
const size_t kMaxDeviceIdBytes = 256;

// Which terminal an output comes from: the device name (HKLM\Ident, value
// "Name") and the device's unique id in hex: the platform's 16-byte UUID
// (IOCTL_HAL_GET_DEVICE_INFO, SPI_GETUUID), as CE 6.0 would have it asked,
// else the DEVICE_ID of the older request, its preset id and then its
// platform id. Either is empty when it cannot be had.
struct TerminalIdentity {
  Char name[kRegistryTextCapacity];
  Char id[2 * kMaxDeviceIdBytes + 1];
  // Where the unit's own part of `id` starts: a DEVICE_ID's preset id is the
  // platform's name (CE: SPI_GETPLATFORMNAME), the same on every unit, and
  // its platform id follows it. 0 for a UUID.
  size_t unitStart;
};

// Reads both. Only reads: nothing is written. A null `os` is a terminal that
// cannot be reached at all.
void ReadIdentity(Platform* os, TerminalIdentity* identity);

// A terminal whose OEM layer answers no id at all still gets one of its own,
// so that its records never mix with another's: "HWP-" and 16 hex digits of
// CeGenRandom, a form no hardware id has, made once and kept on its flash.
extern const Char kOwnIdFile[];  // "\Flash Disk\HWProvision.id"
// For an identity without an id: takes the kept one, or with `make` makes and
// keeps one (a run that keeps records does; a report only reads). Nothing
// when there is an id already.
void TakeOwnId(Platform& os, bool make, TerminalIdentity* identity);

// The part of the identity that names the terminal's records, its result
// file and its log column alike, up to kMaxRecordId characters: the whole id
// when it fits; else the unit's own part, whole, or when that does not fit
// either its first kMaxRecordId - 16 digits and 16 of a checksum of all of
// it; with no id, the name made safe for a file name, else "unknown".
const size_t kMaxRecordId = 64;
size_t RecordIdOf(const TerminalIdentity& identity, Char* out);
// The text, or "unknown" when it is empty.
const Char* KnownOrUnknown(const Char* text);
// "terminal: NAME ID", the first line of every output.
void AppendIdentityLine(const TerminalIdentity& identity, TextLine& line);

}  // namespace hw
