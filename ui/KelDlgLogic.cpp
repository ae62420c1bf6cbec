#include "KelDlgLogic.h"

#include "resources/ResourceIds.h"

namespace kel {

KelDlgLogic::KelDlgLogic(SerialDevice& device, PortFinder& finder, Clock& clock, Screen& screen, PollTimer& pollTimer)
    : screen_(screen), pollTimer_(pollTimer), uart_(device, finder, clock), poller_(Context())
{
}

KelDlgLogic::~KelDlgLogic() = default;

void KelDlgLogic::OnInitDialog()
{
    for (int lamp : {id::kLampBox, id::kLampEsc, id::kLampUsb})
        screen_.SetBitmap(lamp, id::bmp::kLampOff);
    pollTimer_.Start(kFirstPollPeriodMs);
}

void KelDlgLogic::OnTimer()
{
    if (link_.exchangeRunning)
        return;
    poller_.Tick();
}

UpdateOutcome KelDlgLogic::OnUpdate()
{
    return FirmwareUpdater(Context()).OnUpdateButton();
}

void KelDlgLogic::OnDeviceRadio(int radioId)
{
    switch (radioId) {
    case id::kRadioEsc: link_.pollMode = kPollEsc; break;
    case id::kRadioBox: link_.pollMode = kPollBox; break;
    case id::kRadioFix: link_.pollMode = kPollFix; break;
    default: break;
    }
}

} // namespace kel

// Settings and firmware handlers are wired to their engines as those land.
namespace kel {
void KelDlgLogic::OnApply() {}
void KelDlgLogic::OnDefaults() {}
void KelDlgLogic::OnModeSwitch() {}
void KelDlgLogic::OnSave() {}
void KelDlgLogic::OnLoad() {}
void KelDlgLogic::OnModeSelectShown() {}
std::vector<std::string> KelDlgLogic::OptionList(int) const { return {}; }
std::string KelDlgLogic::Caption(int) const { return {}; }
void KelDlgLogic::OnOptionChosen(int, int) {}
void KelDlgLogic::OnCustomTextChanged(int, const std::string&) {}
void KelDlgLogic::OnSpinDelta(int, int) {}
int KelDlgLogic::EscMode() const { return -1; }
int KelDlgLogic::EscVariant() const { return -1; }
} // namespace kel
