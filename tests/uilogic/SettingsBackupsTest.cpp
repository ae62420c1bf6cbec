// Every exchange that changes the ESC first saves the settings it held, and a
// backup that cannot be saved only warns.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>

#include "resources/ResourceIds.h"
#include "settings/SettingsDiff.h"
#include "sim/InProcessDevice.h"
#include "sim/SampleFirmware.h"
#include "support/RecordingScreen.h"
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

std::string TestName()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "-" + info->name();
    std::replace(name.begin(), name.end(), '/', '-');
    return name;
}

// The logic on the simulated ESC, whose Power Level (reply byte 5) is not the
// factory's, keeping its backups in a folder of the test's own.
struct Rig {
    explicit Rig(sim::DeviceOptions options = {}) : device(clock, options)
    {
        fs::create_directories(dir);
        device.Model().Settings().Set(5, 2);
        Keep(dir / "backups");
    }
    ~Rig() { fs::remove_all(dir); }

    fs::path dir = fs::temp_directory_path() / ("kel-" + TestName());
    VirtualClock clock;
    sim::InProcessDevice device;
    sim::InProcessPortFinder finder{device};
    TipScreen screen;
    test::RecordingPollTimer timer;
    KelDlgLogic logic{device, finder, clock, screen, timer};

    void Keep(const fs::path& folder)
    {
        logic.backups().Use(std::make_unique<DiskBackupFolder>(folder.string()), std::make_unique<FixedClock>());
    }
    void Connect(int radio = id::kRadioEsc)
    {
        logic.OnInitDialog();
        logic.OnDeviceRadio(radio);
        logic.OnTimer();
        logic.OnTimer();
        ASSERT_TRUE(logic.EscConnected());
    }
    ShownSettings EscNow() { return ShownSettingsOfReply(device.Model().Settings().Bytes().data(), 0); }
    // A backup file as "Load" would show it.
    ShownSettings Loaded(const std::string& name)
    {
        const auto image = ReadProfileFile((dir / "backups" / name).string());
        EXPECT_TRUE(image) << name;
        SettingsRecord record(screen);
        ProfileState profile;
        if (image)
            ApplyProfileImage(*image, "backup", record, profile);
        return ShownSettingsOf(record);
    }
    void ChooseFirmware()
    {
        const auto path = (dir / "esc.zrv").string();
        std::ofstream(path, std::ios::binary) << sim::MakeZrvText(sim::SampleFirmwareBytes(64));
        screen.fileAnswers.push_back(path);
    }
    std::vector<std::string> Backups() { return ListBackups(DiskBackupFolder((dir / "backups").string())); }
};

struct Trigger {
    const char* name;
    std::function<void(Rig&)> change;
};

class EachChange : public ::testing::TestWithParam<Trigger> {};

TEST_P(EachChange, FirstSavesWhatTheEscHeld)
{
    Rig rig;
    rig.Connect();
    const ShownSettings before = rig.EscNow();
    const std::size_t received = rig.device.Model().ReceivedBytes().size();
    GetParam().change(rig);
    EXPECT_GT(rig.device.Model().ReceivedBytes().size(), received) << "the change went out";
    const auto names = rig.Backups();
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], "2026-12-06_14-03-22_102304.cfg");
    EXPECT_TRUE(CompareSettings(rig.Loaded(names[0]), before).empty());
    EXPECT_EQ(rig.logic.backups().Warning(), "");
}

INSTANTIATE_TEST_SUITE_P(Backups, EachChange,
                         ::testing::Values(Trigger{"Apply",
                                                   [](Rig& r) {
                                                       r.logic.OnOptionChosen(1081, 4);
                                                       r.logic.OnApply();
                                                   }},
                                           Trigger{"DefaultSettings", [](Rig& r) { r.logic.OnDefaults(); }},
                                           Trigger{"EscUpdate",
                                                   [](Rig& r) {
                                                       r.ChooseFirmware();
                                                       r.logic.OnUpdate();
                                                   }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsBackups, ASecondApplySavesWhatTheFirstWrote)
{
    Rig rig;
    rig.Connect();
    rig.logic.OnOptionChosen(1081, 4);
    rig.logic.OnApply();
    const ShownSettings written = rig.EscNow();
    rig.logic.OnOptionChosen(1081, 0);
    rig.logic.OnApply();
    const auto names = rig.Backups();
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], "2026-12-06_14-03-22-2_102304.cfg");
    EXPECT_TRUE(CompareSettings(rig.Loaded(names[0]), written).empty());
}

TEST(SettingsBackups, AFolderThatCannotBeWrittenWarnsInTheTooltipAndTheApplyGoesAhead)
{
    Rig rig;
    std::ofstream(rig.dir / "file") << "x";
    rig.Keep(rig.dir / "file" / "backups");
    rig.Connect();
    rig.logic.OnOptionChosen(1081, 4);
    rig.logic.OnApply();
    EXPECT_EQ(rig.device.Model().Settings().Bytes()[5], 4) << "written all the same";
    EXPECT_TRUE(rig.screen.messages.empty());
    EXPECT_NE(rig.logic.backups().Warning().find("No backup of the ESC's settings was kept in"), std::string::npos);
    rig.logic.OnTimer();
    EXPECT_EQ(rig.screen.tips[id::kLampUsb], rig.logic.backups().Warning());
}

TEST(SettingsBackups, AnUpdateInFixModeHasNoSettingsToSave)
{
    sim::DeviceOptions inLoader;
    inLoader.escInLoader = true;
    Rig rig(inLoader);
    rig.Connect(id::kRadioFix);
    rig.ChooseFirmware();
    EXPECT_EQ(rig.logic.OnUpdate(), UpdateOutcome::Updated);
    EXPECT_TRUE(rig.Backups().empty());
    EXPECT_EQ(rig.logic.backups().Warning(), "");
}

TEST(SettingsBackups, AChangeWhoseSettingsCouldNotBeReadWarnsAndGoesAhead)
{
    Rig rig;
    rig.device.Model().Faults().Set(sim::FaultKind::NoSettingsReply);  // "Please Update Device ..."
    rig.Connect();
    rig.ChooseFirmware();
    EXPECT_EQ(rig.logic.OnUpdate(), UpdateOutcome::Updated);
    EXPECT_TRUE(rig.Backups().empty());
    EXPECT_NE(rig.logic.backups().Warning().find("they could not be read"), std::string::npos);
}

}  // namespace
}  // namespace kel
