#pragma once
#include <cstdint>
#include <string_view>

#include "ProfileState.h"
#include "SettingsCodec.h"
#include "link/LinkState.h"

namespace kel {

class SettingsRecord;

// The settings exchanges with the ESC: reading its settings, writing the
// record back as acknowledged pairs, and restoring its factory settings.
// Each kills the poll timer first and restarts it at 500 ms when done (a
// settings reply that never arrives leaves it stopped). While a firmware
// update lets window messages through, none of them talks to the device.
class SettingsExchange {
public:
    SettingsExchange(LinkContext ctx, SettingsRecord& record, ProfileState& profile);

    // Asks the ESC for its 24-byte settings reply and shows it.
    void ReadSettings();
    // "Apply Settings": checks the connection and a loaded profile's version,
    // then encodes, writes with the progress pop-up and ends the write. True
    // when every pair was acknowledged.
    bool Apply();
    // "Default Settings": factory settings, read back; the custom fields then
    // follow their slots.
    void RestoreDefaults();
    // Sends the 21 pairs, reporting on the open progress pop-up, which it
    // closes. True when every pair was acknowledged. A stop request ends it
    // before the next pair (LinkState::stoppedAt says how far it got).
    bool WriteSettings(const SettingsBlock& block);

private:
    bool EscConnected();

    LinkContext ctx_;
    SettingsRecord& record_;
    ProfileState& profile_;
};

}  // namespace kel
