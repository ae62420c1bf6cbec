#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>

#include "resources/ResourceIds.h"
#include "settings/SettingsDiff.h"
#include "sim/InProcessDevice.h"
#include "sim/SampleFirmware.h"
#include "support/RecordingScreen.h"
#include "support/TempFolder.h"
#include "uilogic/KelDlgLogic.h"

namespace kel {
namespace {

namespace fs = std::filesystem;

struct FixedClock final : WallClock {
    CivilTime Now() const override { return {2026, 12, 6, 14, 3, 22}; }
};

struct TipScreen : test::RecordingScreen {
    std::map<int, std::string> tips;
    void SetToolTip(int id, std::string_view text) override { tips[id] = std::string(text); }
};

// The logic on the simulated ESC, whose Power Level (reply byte 5) is not the
// factory's, keeping its backups in a folder of the test's own.
struct Rig {
    explicit Rig(sim::DeviceOptions options = {}) : device(clock, options)
    {
        device.Model().Settings().Set(5, 2);
        Keep(dir / "backups");
    }

    test::TempFolder folder{"kel-backups"};
    fs::path dir = folder.Dir();
    VirtualClock clock;
    sim::InProcessDevice device;
    sim::InProcessPortFinder finder{device};
    TipScreen screen;
    test::RecordingPollTimer timer;
    KelDlgLogic logic{device, finder, clock, screen, timer};

    void Keep(const fs::path& at)
    {
        logic.backups().Use(std::make_unique<DiskBackupFolder>(at.string()), std::make_unique<FixedClock>());
    }
    void Connect(int radio = id::kRadioEsc)
    {
        logic.OnInitDialog();
        logic.OnDeviceRadio(radio);
        logic.OnTimer();
        logic.OnTimer();
        ASSERT_TRUE(logic.EscConnected());
    }
    // Whether the newest backup, as "Load" would show it, holds `settings`.
    bool NewestHolds(const ShownSettings& settings)
    {
        const auto image = ReadProfileFile((dir / "backups" / Backups().at(0)).string());
        SettingsRecord record(screen);
        ProfileState profile;
        return image && (ApplyProfileImage(*image, "backup", record, profile), true)
               && CompareSettings(ShownSettingsOf(record), settings).empty();
    }
    void ChooseFirmware()
    {
        screen.fileAnswers.push_back(folder.Write("esc.zrv", sim::MakeZrvText(sim::SampleFirmwareBytes(64))));
    }
    std::vector<std::string> Backups() { return ListBackups(DiskBackupFolder((dir / "backups").string())); }
    void Apply(int powerLevel)
    {
        logic.OnOptionChosen(1081, powerLevel);
        logic.OnApply();
    }
};

TEST(SettingsBackups, EachChangeFirstSavesWhatTheEscHeld)
{
    const std::pair<const char*, std::function<void(Rig&)>> changes[] = {
        {"Apply", [](Rig& r) { r.Apply(4); }},
        {"DefaultSettings", [](Rig& r) { r.logic.OnDefaults(); }},
        {"EscUpdate", [](Rig& r) {
             r.ChooseFirmware();
             r.logic.OnUpdate();
         }}};
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        Rig rig;
        rig.Connect();
        const ShownSettings before = ShownSettingsOfReply(rig.device.Model().Settings().Bytes().data(), 0);
        const std::size_t received = rig.device.Model().ReceivedBytes().size();
        change(rig);
        EXPECT_GT(rig.device.Model().ReceivedBytes().size(), received) << "the change went out";
        EXPECT_EQ(rig.Backups(), std::vector<std::string>{"2026-12-06_14-03-22_102304.cfg"});
        EXPECT_TRUE(rig.NewestHolds(before));
        EXPECT_EQ(rig.logic.backups().Warning(), "");
    }
}

TEST(SettingsBackups, AFolderThatCannotBeWrittenWarnsInTheTooltipAndTheApplyGoesAhead)
{
    Rig rig;
    std::ofstream(rig.dir / "file") << "x";
    rig.Keep(rig.dir / "file" / "backups");
    rig.Connect();
    rig.Apply(4);
    EXPECT_EQ(rig.device.Model().Settings().Bytes()[5], 4) << "written all the same";
    EXPECT_TRUE(rig.screen.messages.empty());
    EXPECT_NE(rig.logic.backups().Warning().find("No backup of the ESC's settings was kept in"), std::string::npos);
    rig.logic.OnTimer();
    EXPECT_EQ(rig.screen.tips[id::kLampUsb], rig.logic.backups().Warning());
}

// An ESC in its boot loader (FixMode) has no settings to save; one whose
// settings could not be read ("Please Update Device ...") warns.
TEST(SettingsBackups, AnUpdateWithNoSettingsToSaveGoesAhead)
{
    for (const bool inLoader : {true, false}) {
        sim::DeviceOptions options;
        options.escInLoader = inLoader;
        Rig rig(options);
        if (!inLoader)
            rig.device.Model().Faults().Set(sim::FaultKind::NoSettingsReply);
        rig.Connect(inLoader ? id::kRadioFix : id::kRadioEsc);
        rig.ChooseFirmware();
        EXPECT_EQ(rig.logic.OnUpdate(), UpdateOutcome::Updated);
        EXPECT_TRUE(rig.Backups().empty());
        const std::string warning = rig.logic.backups().Warning();
        EXPECT_TRUE(inLoader ? warning.empty() : warning.find("they could not be read") != std::string::npos)
            << warning;
    }
}

}  // namespace
}  // namespace kel
