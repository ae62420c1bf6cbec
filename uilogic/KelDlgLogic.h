#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/Clock.h"
#include "link/LinkPoller.h"
#include "link/LinkState.h"
#include "link/PollTimer.h"
#include "link/PortFinder.h"
#include "link/Screen.h"
#include "link/SerialDevice.h"
#include "link/UsbUart.h"
#include "settings/Profile.h"
#include "settings/ProfileState.h"
#include "settings/SettingsDiff.h"
#include "settings/SettingsExchange.h"
#include "settings/SettingsRecord.h"
#include "uilogic/SettingsBackups.h"
#include "update/FirmwareUpdater.h"

namespace kel {

// The main window without its widgets: the link, the polling, the settings
// record and every handler of a user action. CKelDlg owns one, forwards its
// clicks and timer ticks here and renders what it is told through the Screen
// port; kel-cli drives one the same way.
class KelDlgLogic {
public:
    KelDlgLogic(SerialDevice& device, PortFinder& finder, Clock& clock, Screen& screen, PollTimer& pollTimer);
    ~KelDlgLogic();

    // End of the window's initialisation: dark lamps, empty version, profile
    // name "Profile1", custom fields disabled, the first poll period (2000 ms).
    void OnInitDialog();
    // One poll timer tick (ignored while an exchange lets messages through).
    void OnTimer();
    // Device radio buttons: 1114 ESC, 1116 ProgramBox, 1117 FixMode.
    void OnDeviceRadio(int radioId);

    // Buttons.
    void OnApply();            // 1000 "Apply Settings"
    void OnDefaults();         // 1001 "Default Settings" and 1106
    UpdateOutcome OnUpdate();  // 1061 the update button
    // These three do nothing while a firmware update lets messages through.
    void OnModeSwitch();  // 1115 the MODE switch
    void OnSave();        // 1066 "Save" (the name is the profile name field's text)
    void OnLoad();        // 1067 "Load"
    // The Mode Select page was just shown: switch image and page buttons 1004/1005.
    void OnModeSelectShown();

    // The option pop-up: the list of a slot, the caption it preselects, and a choice.
    std::vector<std::string> OptionList(int slot) const;
    std::string Caption(int slot) const;
    void OnOptionChosen(int slot, int index);

    // Custom fields: a text change of edit 1047/1048/1050 (typed or set), and
    // a spin step of 1046/1049/1051.
    void OnCustomTextChanged(int editId, const std::string& text);
    // Typing in a custom field, one keystroke at a time, and the end of that
    // entry (Enter or leaving the field); see CustomFields::OnTyped.
    void OnCustomTyped(int editId, const std::string& text);
    void OnCustomEntryFinished(int editId);
    void OnSpinDelta(int spinId, int delta);

    // "Verify after writing" (off unless the user turns it on): after a
    // successful Apply the settings are read back and a message names every
    // parameter that did not take.
    void SetVerifyAfterWriting(bool on) { verifyAfterWriting_ = on; }
    bool VerifyAfterWriting() const { return verifyAfterWriting_; }
    // Reads the settings back (the read of a newly found ESC) and compares
    // them with `meant` (ShownAfterWrite of the record before the write).
    // None when no full settings reply came back (the read said why).
    std::optional<std::vector<SettingDifference>> ReadBackAndCompare(const ShownSettings& meant);

    int EscMode() const;
    int EscVariant() const;

    // What the lamps and fields show; kel-cli asks these and renders them.
    bool PortOpen() const { return uart_.portOpen; }
    bool UsbInUse() const { return uart_.usbState == UsbState::kInUse; }
    bool EscConnected() const { return uart_.escState == EscState::kConnected; }
    bool BoxConnected() const { return link_.boxConnected; }
    UsbState UsbLinkState() const { return uart_.usbState; }
    EscState EscLinkState() const { return uart_.escState; }
    // What the chosen device radio polls for answers: the ESC, the program
    // box, or (FixMode) an ESC's boot loader.
    bool Answered() const;
    const std::string& VersionText() const { return link_.versionText; }
    const std::array<std::uint8_t, 4>& EscVersion() const { return link_.escVersion; }
    // A full settings reply (or a profile) was shown: the mode is known.
    bool SettingsShown() const { return record_.escMode >= 0; }
    const std::string& LastDevice() const { return uart_.LastDevice(); }
    const std::string& LastOpenError() const { return uart_.LastOpenError(); }
    const StopPoint& StoppedAt() const { return link_.stoppedAt; }
    const SettingsRecord& record() const { return record_; }
    const ProfileState& profile() const { return profile_; }

    // Asked at the safe points of the longer exchanges (none: never stop).
    void SetStopRequest(const StopRequest* stop) { link_.stop = stop; }
    void ClosePort() { uart_.ClosePort(); }
    // "Default Settings" with the mode forgotten first: true when the factory
    // settings were read back in full (else nothing shows as read).
    bool RestoreDefaultsAndReadBack();
    // A custom value given as text is sent even while its slot is not on
    // "Custom" (the window would send the value last read): that is how a
    // value the ESC holds out of range is repaired.
    void OnCustomGiven(int editId, const std::string& text);
    // The Load button on a named file; false (with why) when it was not read.
    bool LoadProfile(const std::string& path, std::string* why) { return profileFiles_.LoadFrom(path, why); }
    // A profile shown as the Load button would, without a device.
    void ShowProfile(const ProfileImage& image, std::string_view name);

    // A firmware update lets window messages through: every handler that
    // would talk to the device or the record does nothing meanwhile.
    bool UpdateRunning() const { return link_.exchangeRunning; }

    // For the tests: the link's own state.
    UsbUart& uart() { return uart_; }
    LinkState& link() { return link_; }
    SettingsBackups& backups() { return backups_; }

private:
    LinkContext Context() { return LinkContext{uart_, link_, screen_, pollTimer_}; }
    void ShowEscMode();
    // Runs `exchange`; when it ended with a settings reply in full, the
    // backups remember what the ESC holds.
    template <typename Exchange>
    void Remembering(Exchange exchange);

    Screen& screen_;
    PollTimer& pollTimer_;
    UsbUart uart_;
    LinkState link_;
    LinkPoller poller_;
    SettingsRecord record_;
    ProfileState profile_;
    SettingsExchange exchange_;
    ProfileFiles profileFiles_;
    SettingsBackups backups_;
    bool verifyAfterWriting_ = false;
};

// The message naming the parameters that did not take.
std::string VerifyFailedText(const std::vector<SettingDifference>& differences);

}  // namespace kel
