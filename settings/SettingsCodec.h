#pragma once
#include <array>
#include <cstdint>

#include "ParameterTable.h"

namespace kel {

class SettingsRecord;

// The outgoing block: 21 (tag, value) pairs in sending order.
using SettingsBlock = std::array<std::uint8_t, kSettingsBlockSize>;

// Shows a 24-byte settings reply in the record: each slot's caption from its
// byte (a byte that maps to no entry leaves the caption), each custom field's
// spin position and text from its raw byte, and the custom spin of a slot
// that arrives on "Custom" enabled (decoding never disables one). The ESC
// mode byte is not read here.
void DecodeSettings(SettingsRecord& record, const std::uint8_t* reply);

// Fills the 21 pairs from the record. In stock mode (ESC mode 0) the six boost
// and turbo pairs carry 0; a mode of -1 sends the indices. A custom value is
// the field's number while its slot is on "Custom", else the byte of the last
// settings reply. The Initial Brake custom value has no pair.
SettingsBlock EncodeSettings(const SettingsRecord& record);

}  // namespace kel
