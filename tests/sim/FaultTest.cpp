// The fault switches themselves; how kel-cli copes with each fault is run
// end to end in tests/e2e/fault-matrix.cells.
#include <gtest/gtest.h>

#include "tests/sim/ModelHarness.h"

namespace kel::sim::test {
namespace {

TEST(FaultSet, RejectsWhatItCannotUnderstandAndCountsFromWhenSet)
{
    const std::pair<const char*, const char*> cases[] = {
        {"refused-tag=0xE5", ""},
        {"late-reply=0", ""},
        {"bogus", "unknown fault"},
        {"unplug", "needs a value"},
        {"refused-pair=0", "from 1"},
        {"refused-pair=x", "needs a number"},
        {"short-reply=20ms", "needs a number"},
    };
    for (const auto& [spec, errorPart] : cases) {
        const std::string error = FaultSet().Add(spec);
        EXPECT_TRUE(*errorPart == '\0' ? error.empty() : error.find(errorPart) != std::string::npos)
            << spec << ": " << error;
    }

    FaultSet faults;
    faults.Set(FaultKind::NoAck, 2);
    EXPECT_FALSE(faults.Hit(FaultKind::NoAck));
    faults.Set(FaultKind::NoAck, 2);
    EXPECT_FALSE(faults.Hit(FaultKind::NoAck));
    EXPECT_TRUE(faults.Hit(FaultKind::NoAck)) << "setting it again restarts the count";
    faults.Set(FaultKind::NoAck);
    EXPECT_TRUE(faults.Hit(FaultKind::NoAck));
    EXPECT_TRUE(faults.Hit(FaultKind::NoAck)) << "without N every occurrence";
}

// What the PC reads back (echo included), and what the ESC then holds in
// byte 5 (tag 0xE4, factory value 6).
TEST(Faults, ShapeTheBytesThePcReads)
{
    struct Case {
        const char* fault;
        Bytes send;
        Bytes expected;
        int byte5 = 6;
    };
    const Bytes settings = ModelHarness().Send({0xD8});
    ASSERT_EQ(settings.size(), 25u);
    Bytes markedB = settings;
    markedB[24] = 0x5B;
    const Case cases[] = {
        {"no-echo", {0xD5}, {0x26}},
        {"short-reply=5", {0xD8}, Bytes(settings.begin(), settings.begin() + 6)},
        {"wrong-end-mark=0x5B", {0xD8}, markedB},
        {"refused-tag=0xE4", {0xE4, 3}, {0xE4, 3, 0x00}},
        {"refused-tag=0xE5", {0xE4, 3}, {0xE4, 3, 0x01, 0x01}, 3},
        {"no-second-ack", {0xE4, 3}, {0xE4, 3, 0x01}, 3},
        {"misstored-tag=0xE4", {0xE4, 3}, {0xE4, 3, 0x01, 0x01}, 4},
    };
    for (const auto& c : cases) {
        ModelHarness h(Faulty({c.fault}));
        EXPECT_EQ(h.Send(c.send), c.expected) << c.fault;
        EXPECT_EQ(h.model.Settings().At(5), c.byte5) << c.fault;
    }
}

}  // namespace
}  // namespace kel::sim::test
