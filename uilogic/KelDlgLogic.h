#pragma once
#include <memory>
#include <optional>
#include <string>
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
    void OnModeSwitch();       // 1115 the MODE switch
    void OnSave();             // 1066 "Save" (the name is the profile name field's text)
    void OnLoad();             // 1067 "Load"
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

    SettingsRecord& record() { return record_; }
    ProfileState& profile() { return profile_; }
    SettingsExchange& exchange() { return exchange_; }
    ProfileFiles& profileFiles() { return profileFiles_; }
    UsbUart& uart() { return uart_; }
    LinkState& link() { return link_; }
    LinkPoller& poller() { return poller_; }
    Screen& screen() { return screen_; }
    PollTimer& pollTimer() { return pollTimer_; }
    SettingsBackups& backups() { return backups_; }

private:
    LinkContext Context() { return LinkContext{uart_, link_, screen_, pollTimer_}; }
    void ShowEscMode();
    // Runs `exchange`; when it ended with a settings reply in full, the
    // backups remember what the ESC holds.
    template <typename Exchange> void Remembering(Exchange exchange);

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

} // namespace kel
