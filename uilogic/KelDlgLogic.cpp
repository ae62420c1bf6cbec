#include "KelDlgLogic.h"

#include "link/ControlIds.h"
#include "link/Protocol.h"
#include "settings/ParameterTable.h"

namespace kel {

KelDlgLogic::KelDlgLogic(SerialDevice& device, PortFinder& finder, Clock& clock, Screen& screen, PollTimer& pollTimer)
    : screen_(screen)
    , pollTimer_(pollTimer)
    , uart_(device, finder, clock)
    , poller_(Context())
    , record_(screen)
    , exchange_(Context(), record_, profile_)
    , profileFiles_(record_, profile_, link_, screen)
    , backups_(record_, link_, uart_)
{
    poller_.onEscFound = [this] { Remembering([this] { exchange_.ReadSettings(); }); };
}

template <typename Exchange>
void KelDlgLogic::Remembering(Exchange exchange)
{
    record_.lastRead[kReplyEndByte] = 0;  // set again only by a reply that arrived in full
    exchange();
    if (record_.lastRead[kReplyEndByte] == protocol::kReplyEndMark)
        backups_.RememberRead();
}

KelDlgLogic::~KelDlgLogic() = default;

void KelDlgLogic::OnInitDialog()
{
    for (int lamp : {id::kLampBox, id::kLampEsc, id::kLampUsb})
        screen_.SetBitmap(lamp, id::bmp::kLampOff);
    screen_.SetText(id::kVersionField, "");
    screen_.SetText(id::kProfileName, profile_.name);
    screen_.Enable(id::kProfileName, false);
    record_.ShowAll();  // empty captions, custom fields empty and disabled
    pollTimer_.Start(kFirstPollPeriodMs);
}

void KelDlgLogic::OnTimer()
{
    if (link_.exchangeRunning)
        return;
    poller_.Tick();
    if (uart_.escState != EscState::kConnected)
        backups_.Forget();
    // The window shows why a present box cannot be opened, else why no backup was kept.
    screen_.SetToolTip(id::kLampUsb, uart_.portOpen ? backups_.Warning() : uart_.LastOpenError());
}

UpdateOutcome KelDlgLogic::OnUpdate()
{
    FirmwareUpdater updater(Context());
    updater.beforeEscFlash = [this] { backups_.BeforeChange(); };
    return updater.OnUpdateButton();
}

void KelDlgLogic::OnDeviceRadio(int radioId)
{
    const int before = link_.pollMode;
    switch (radioId) {
    case id::kRadioEsc: link_.pollMode = kPollEsc; break;
    case id::kRadioBox: link_.pollMode = kPollBox; break;
    case id::kRadioFix: link_.pollMode = kPollFix; break;
    default: break;
    }
    if (link_.pollMode != before)
        backups_.Forget();  // what another mode finds may be another ESC
}

void KelDlgLogic::OnApply()
{
    const ShownSettings meant = verifyAfterWriting_ ? ShownAfterWrite(record_) : ShownSettings{};
    backups_.BeforeChange();
    const bool written = exchange_.Apply();
    if (written)
        backups_.RememberWritten();
    if (!written || !verifyAfterWriting_)
        return;
    const auto differences = ReadBackAndCompare(meant);
    if (differences && !differences->empty())
        screen_.MessageBox(VerifyFailedText(*differences), text::kAppCaption, MessageIcon::Error);
}

std::optional<std::vector<SettingDifference>> KelDlgLogic::ReadBackAndCompare(const ShownSettings& meant)
{
    record_.lastRead[kReplyEndByte] = 0;  // set again only by a reply that arrived in full
    exchange_.ReadSettings();
    if (record_.lastRead[kReplyEndByte] != protocol::kReplyEndMark)
        return std::nullopt;
    backups_.RememberRead();
    return CompareSettings(meant, ShownSettingsOfReply(record_.lastRead.data(), record_.escVariant));
}

std::string VerifyFailedText(const std::vector<SettingDifference>& differences)
{
    std::string text = "Read back after writing, these settings did not take:";
    for (const SettingDifference& d : differences)
        text += "\n" + d.label + ": written " + d.first + ", the ESC holds " + d.second;
    return text;
}

void KelDlgLogic::OnDefaults()
{
    backups_.BeforeChange();
    Remembering([this] { exchange_.RestoreDefaults(); });
}

bool KelDlgLogic::RestoreDefaultsAndReadBack()
{
    record_.escMode = -1;  // set again only by a reply that arrived in full
    OnDefaults();
    return SettingsShown();
}

bool KelDlgLogic::Answered() const
{
    switch (link_.pollMode) {
    case kPollEsc:
    case kPollFix: return EscConnected();
    case kPollBox: return BoxConnected();
    default: return false;
    }
}

void KelDlgLogic::OnCustomGiven(int editId, const std::string& text)
{
    const auto field = CustomFieldOfEdit(editId);
    if (!field)
        return;
    record_.custom.OnTextEdited(*field, text);
    for (const Parameter& p : kParameters) {
        if (p.source == editId && p.tag != 0)
            record_.lastRead[static_cast<std::size_t>(p.replyByte)] = record_.custom.Value(*field);
    }
}

void KelDlgLogic::ShowProfile(const ProfileImage& image, std::string_view name)
{
    ApplyProfileImage(image, name, record_, profile_);
}

void KelDlgLogic::OnSave()
{
    if (!link_.exchangeRunning)
        profileFiles_.Save();
}

void KelDlgLogic::OnLoad()
{
    if (!link_.exchangeRunning)
        profileFiles_.Load();
}

void KelDlgLogic::OnModeSwitch()
{
    if (link_.exchangeRunning)
        return;
    if (uart_.usbState != UsbState::kInUse) {
        screen_.MessageBox(text::kUsbConnectionError, text::kBoxCaption, MessageIcon::Error);
        return;
    }
    if (uart_.escState != EscState::kConnected) {
        screen_.MessageBox(text::kDeviceConnectionError, text::kBoxCaption, MessageIcon::Error);
        return;
    }
    record_.escMode = record_.escMode != 1 ? 1 : 0;
    ShowEscMode();
    screen_.RepaintNow();  // nothing is sent: the mode goes out with the next Apply
}

void KelDlgLogic::OnModeSelectShown()
{
    ShowEscMode();
}

void KelDlgLogic::ShowEscMode()
{
    // Only stock (0) shows the stock picture; MOD and "not read yet" show MOD.
    const bool stock = record_.escMode == 0;
    screen_.SetBitmap(id::kModeSwitch, stock ? id::bmp::kModeStock : id::bmp::kModeMod);
    screen_.Enable(id::kPageBooster, !stock);
    screen_.Enable(id::kPageTurbo, !stock);
}

std::vector<std::string> KelDlgLogic::OptionList(int slot) const
{
    return record_.OptionList(slot);
}

std::string KelDlgLogic::Caption(int slot) const
{
    return record_.Caption(slot);
}

void KelDlgLogic::OnOptionChosen(int slot, int index)
{
    record_.ChooseOption(slot, index);
}

void KelDlgLogic::OnCustomTextChanged(int editId, const std::string& text)
{
    if (const auto field = CustomFieldOfEdit(editId))
        record_.custom.OnTextEdited(*field, text);
}

void KelDlgLogic::OnCustomTyped(int editId, const std::string& text)
{
    if (const auto field = CustomFieldOfEdit(editId))
        record_.custom.OnTyped(*field, text);
}

void KelDlgLogic::OnCustomEntryFinished(int editId)
{
    if (const auto field = CustomFieldOfEdit(editId))
        record_.custom.OnEntryFinished(*field);
}

void KelDlgLogic::OnSpinDelta(int spinId, int delta)
{
    for (const CustomFieldInfo& info : kCustomFields) {
        if (info.spin == spinId)
            record_.custom.OnSpin(info.field, delta);
    }
}

int KelDlgLogic::EscMode() const
{
    return record_.escMode;
}

int KelDlgLogic::EscVariant() const
{
    return record_.escVariant;
}

}  // namespace kel
