// The fault switches themselves. How kel-cli copes with each fault, the
// faults of the loaders and unplugging are run end to end in
// tests/e2e/fault-matrix.cells (and InProcessDeviceTest, KelSimE2eTest).
#include <gtest/gtest.h>

#include "tests/sim/ModelHarness.h"

namespace kel::sim::test {
namespace {

TEST(FaultSet, RejectsWhatItCannotUnderstand)
{
    struct Case {
        const char* spec;
        const char* errorPart;  // "" for accepted
    };
    const Case cases[] = {
        {"no-echo", ""},
        {"refused-tag=0xE5", ""},
        {"late-reply=0", ""},
        {"bogus", "unknown fault"},
        {"late-reply", "needs a value"},
        {"unplug", "needs a value"},
        {"refused-pair=0", "from 1"},
        {"unplug=0", "from 1"},
        {"refused-pair=x", "needs a number"},
        {"resend=-1", "needs a number"},
        {"short-reply=20ms", "needs a number"},
    };
    for (const auto& c : cases) {
        FaultSet faults;
        const std::string error = faults.Add(c.spec);
        if (*c.errorPart == '\0')
            EXPECT_EQ(error, "") << c.spec;
        else
            EXPECT_NE(error.find(c.errorPart), std::string::npos) << c.spec << ": " << error;
    }
}

TEST(FaultSet, OccurrencesCountFromWhenTheFaultIsSet)
{
    FaultSet faults;
    faults.Set(FaultKind::NoAck, 2);
    EXPECT_FALSE(faults.Hit(FaultKind::NoAck));
    EXPECT_TRUE(faults.Hit(FaultKind::NoAck));
    EXPECT_FALSE(faults.Hit(FaultKind::NoAck));
    faults.Set(FaultKind::NoAck, 2);
    EXPECT_FALSE(faults.Hit(FaultKind::NoAck));
    EXPECT_TRUE(faults.Hit(FaultKind::NoAck)) << "setting it again restarts the count";
    faults.Set(FaultKind::NoAck);
    EXPECT_TRUE(faults.Hit(FaultKind::NoAck));
    EXPECT_TRUE(faults.Hit(FaultKind::NoAck)) << "without N every occurrence";
}

// One exchange under one fault: what the PC reads back, and what the ESC
// then holds in byte 5 (tag 0xE4, factory value 6).
TEST(Faults, ShapeTheBytesThePcReads)
{
    struct Case {
        const char* fault;
        Bytes send;
        Bytes expected;  // echo included
        int byte5 = 6;
    };
    const Bytes settings = ModelHarness().Send({0xD8});
    ASSERT_EQ(settings.size(), 25u);
    Bytes wrongMark = settings;
    wrongMark[24] = 0x00;
    Bytes markedB = settings;
    markedB[24] = 0x5B;
    const Case cases[] = {
        {"no-echo", {0xD5}, {0x26}},
        {"no-reply", {0xD5}, {0xD5}},
        {"no-settings-reply", {0xD8}, {0xD8}},
        {"short-reply", {0xD8}, Bytes(settings.begin(), settings.begin() + 21)},
        {"short-reply=5", {0xD8}, Bytes(settings.begin(), settings.begin() + 6)},
        {"wrong-end-mark", {0xD8}, wrongMark},
        {"wrong-end-mark=0x5B", {0xD8}, markedB},
        {"refused-pair", {0xE4, 3}, {0xE4, 3, 0x00}},
        {"refused-tag=0xE4", {0xE4, 3}, {0xE4, 3, 0x00}},
        {"refused-tag=0xE5", {0xE4, 3}, {0xE4, 3, 0x01, 0x01}, 3},
        {"no-second-ack", {0xE4, 3}, {0xE4, 3, 0x01}, 3},
        {"misstored-tag=0xE4", {0xE4, 3}, {0xE4, 3, 0x01, 0x01}, 4},
        {"misstored-tag=0xE5", {0xE4, 3}, {0xE4, 3, 0x01, 0x01}, 3},
        {"late-reply=5000", {0xD5}, {0xD5}},
    };
    for (const auto& c : cases) {
        ModelHarness h(Faulty({c.fault}));
        EXPECT_EQ(h.Send(c.send), c.expected) << c.fault;
        EXPECT_EQ(h.model.Settings().At(5), c.byte5) << c.fault;
    }
}

}  // namespace
}  // namespace kel::sim::test
