#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "Profile.h"

namespace kel {

// A value that no entry of its option list, or no number of its custom
// field's range, can show: held by the ESC (a settings reply) or stored in a
// profile file. The window leaves such a slot's caption as it was and refuses
// such a custom text ("The input data is invalid!"), so this says what the
// bytes really were.
struct OutOfRangeValue {
    std::string label;  // "Full Brake", "Low volt cut custom"
    int position = 0;   // byte of the settings reply, or offset in the profile
    std::uint8_t raw = 0;
    std::string value;    // what the byte stands for ("2.0v"); empty for a slot
    std::string reason;   // "outside 3.5v to 11.0v", "no entry of its list"
    bool custom = false;  // a custom field (else an option slot)
};

// The 18 shown slots and the 3 custom values of a 24-byte settings reply.
std::vector<OutOfRangeValue> FindOutOfRangeInReply(const std::uint8_t* reply);
// The 18 shown slots and the 3 custom values of a profile (the reserved slots
// are only carried through, whatever they hold).
std::vector<OutOfRangeValue> FindOutOfRangeInProfile(const ProfileImage& image);

// "Low volt cut custom = 2.0v (raw byte 0x14 at reply byte 4): outside 3.5v to 11.0v"
std::string Describe(const OutOfRangeValue& value, const char* where);

// A profile saved from a record that was read from these reply values keeps
// what the ESC holds: the raw custom byte, and 0xFF (no entry) for a slot.
void KeepHeldValues(ProfileImage& image, const std::vector<OutOfRangeValue>& held);

}  // namespace kel
