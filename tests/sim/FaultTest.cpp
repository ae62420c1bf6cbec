#include <gtest/gtest.h>

#include "sim/SampleFirmware.h"
#include "support/HexText.h"
#include "tests/sim/ModelHarness.h"

namespace kel::sim::test {
namespace {

DeviceOptions Faulty(std::initializer_list<const char*> faults, bool escInLoader = false)
{
    DeviceOptions o;
    o.escInLoader = escInLoader;
    for (const char* f : faults)
        EXPECT_EQ(o.faults.Add(f), "") << f;
    return o;
}

TEST(FaultSet, RejectsWhatItCannotUnderstand)
{
    struct Case {
        const char* spec;
        const char* errorPart;  // "" for accepted
    };
    const Case cases[] = {
        {"no-echo", ""},
        {"refused-pair=3", ""},
        {"refused-tag=0xE5", ""},
        {"late-reply=250", ""},
        {"bogus", "unknown fault"},
        {"late-reply", "needs a value"},
        {"unplug", "needs a value"},
        {"refused-pair=0", "from 1"},
        {"unplug=0", "from 1"},
        {"late-reply=0", ""},
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

TEST(FaultSet, HelpNamesEveryFault)
{
    const std::string help = FaultSet::HelpText();
    for (const auto& f : AllFaults())
        EXPECT_NE(help.find(std::string("  ") + f.name), std::string::npos) << f.name;
}

// Whole exchanges under one fault: what the PC reads back.
TEST(Faults, ShapeTheBytesThePcReads)
{
    struct Case {
        const char* fault;
        Bytes send;
        Bytes expected;  // echo included
    };
    Bytes settings{0xD8, 0, 3, 5, 32, 35, 6, 100, 25, 200, 6, 0, 3, 1, 0, 2, 4, 0, 2, 0, 0, 20, 0, 1, 0xDD};
    // Index, not back(): GCC 12 at -O2 misreads back() of a copy as out of bounds.
    Bytes wrongMark = settings;
    wrongMark[settings.size() - 1] = 0x00;
    Bytes markedB = settings;
    markedB[settings.size() - 1] = 0x5B;
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
        {"refused-tag=0xE5", {0xE4, 3}, {0xE4, 3, 0x01, 0x01}},
        {"no-second-ack", {0xE4, 3}, {0xE4, 3, 0x01}},
        {"misstored-tag=0xE4", {0xE4, 3}, {0xE4, 3, 0x01, 0x01}},
        {"late-reply=5000", {0xD5}, {0xD5}},
    };
    for (const auto& c : cases) {
        ModelHarness h(Faulty({c.fault}));
        EXPECT_EQ(h.Send(c.send), c.expected) << c.fault;
    }
}

TEST(Faults, OccurrenceFaultsHitOnlyTheNthExchange)
{
    ModelHarness echo(Faulty({"no-echo=2"}));
    EXPECT_EQ(echo.Send({0x41, 0x42, 0x43}), (Bytes{0x41, 0x43}));

    ModelHarness reply(Faulty({"no-reply=2"}));
    EXPECT_EQ(reply.Reply({0xD5}), (Bytes{0x26}));
    EXPECT_EQ(reply.Reply({0xD5}), Bytes{});
    EXPECT_EQ(reply.Reply({0xD5}), (Bytes{0x26}));

    ModelHarness request(Faulty({"no-settings-reply=2"}));
    EXPECT_EQ(request.Reply({0xD8}).size(), 24u);
    EXPECT_EQ(request.Reply({0xD8}).size(), 0u);
    EXPECT_EQ(request.Reply({0xD8}).size(), 24u);

    ModelHarness pairs(Faulty({"refused-pair=2", "no-second-ack=3"}));
    EXPECT_EQ(pairs.Reply({0xE4, 1}), (Bytes{0x01, 0x01}));
    EXPECT_EQ(pairs.Reply({0xE5, 80}), (Bytes{0x00}));
    EXPECT_EQ(pairs.Reply({0xE5, 80}), (Bytes{0x01})) << "the resent pair is the third";
    EXPECT_EQ(pairs.Reply({0xE6, 50}), (Bytes{0x01, 0x01}));
    EXPECT_EQ(pairs.model.Settings().At(6), 80);
    EXPECT_EQ(pairs.model.PairsReceived(), 4u);
}

TEST(Faults, RefusedPairIsNotStored)
{
    ModelHarness h(Faulty({"refused-tag=0xE4"}));
    h.Send({0xE4, 2});
    EXPECT_EQ(h.model.Settings().At(5), 6);
}

TEST(Faults, MisstoredTagIsAcknowledgedButStoredPlusOne)
{
    ModelHarness h(Faulty({"misstored-tag=0xE4"}));
    h.Send({0xE4, 2});
    h.Send({0xE5, 80});
    EXPECT_EQ(h.model.Settings().At(5), 3);
    EXPECT_EQ(h.model.Settings().At(6), 80) << "other tags are stored as sent";
}

TEST(Faults, LateReplyComesAfterItsDelayWhileTheEchoIsOnTime)
{
    ModelHarness h(Faulty({"late-reply=300"}));
    EXPECT_EQ(h.Send({0xD5}, 299), (Bytes{0xD5}));
    h.now += 1;
    EXPECT_EQ(h.Arrived(), (Bytes{0x26}));
}

TEST(Faults, LateBytesHoldBackTheLastByteOfTheNthLongerReply)
{
    ModelHarness h(Faulty({"late-bytes=1"}));
    EXPECT_EQ(h.Reply({0xD5}), (Bytes{0x26})) << "a one-byte reply is not counted";
    EXPECT_EQ(h.Reply({0xD7}, kLateBytesMs - 1), (Bytes{1, 2, 3, 4, 0, 0}));
    h.now += 1;
    EXPECT_EQ(h.Arrived(), (Bytes{0}));
    EXPECT_EQ(h.Reply({0xD7}).size(), DeviceModel::kVersionReplySize) << "only the first is hit";
}

TEST(Faults, OutOfRangeIsHeldUntilAWriteOrTheFactorySettings)
{
    ModelHarness h(Faulty({"out-of-range"}));
    EXPECT_EQ(h.model.Settings().At(DeviceModel::kLowVoltCustomByte), 0x14);
    h.Send({0xD3, 35});
    EXPECT_EQ(h.model.Settings().At(DeviceModel::kLowVoltCustomByte), 35);
    ModelHarness other(Faulty({"out-of-range=200"}));
    other.Send({0xDE});
    EXPECT_EQ(other.model.Settings().At(DeviceModel::kLowVoltCustomByte), 35);
}

TEST(Faults, UnplugMakesTheDeviceVanishAndReplugBringsItBackFresh)
{
    ModelHarness h(Faulty({"unplug=3", "replug=1000"}));
    EXPECT_EQ(h.Send({0xD5, 0xE4}), (Bytes{0xD5, 0x26, 0xE4}));
    EXPECT_TRUE(h.sendOk);
    EXPECT_EQ(h.Send({0x05, 0xD5}), (Bytes{0x05, 0x01, 0x01})) << "the third byte is handled in full, no later one";
    EXPECT_FALSE(h.sendOk);
    EXPECT_EQ(h.model.Settings().At(5), 5) << "the third byte completed the pair";
    EXPECT_FALSE(h.model.IsPresent(h.now));
    EXPECT_EQ(h.model.ReplugAtMs(), std::optional<std::int64_t>(10 + 1000)) << "the second send was at 10 ms";

    h.now = 1009;
    EXPECT_FALSE(h.model.IsPresent(h.now));
    h.now = 1010;
    EXPECT_TRUE(h.model.IsPresent(h.now));
    EXPECT_EQ(h.Send({0xD5}), (Bytes{0xD5, 0x26}));
    EXPECT_EQ(h.Send(Bytes(10, 0x42)).size(), 10u) << "one unplug per fault";
    EXPECT_EQ(h.model.Settings().At(5), 5) << "the ESC kept its settings";
}

TEST(Faults, UnplugWithoutReplugIsForever)
{
    ModelHarness h(Faulty({"unplug=1"}));
    h.Send({0xD5});
    EXPECT_FALSE(h.model.IsPresent(h.now + 1'000'000));
    EXPECT_FALSE(h.model.ReplugAtMs());
}

TEST(Faults, WrongD6ReplyKeepsTheEscOutOfItsLoader)
{
    ModelHarness running(Faulty({"wrong-d6-reply=0x42"}));
    for (int i = 0; i < 3; ++i)
        running.Send({0xD6}, 0);
    EXPECT_EQ(running.Reply({0xD6}), (Bytes{0x42}));
    EXPECT_EQ(running.model.Esc(), EscMode::Application);

    ModelHarness waiting(Faulty({"wrong-d6-reply"}, true));
    EXPECT_EQ(waiting.Reply({0xD6}), (Bytes{0x00}));
}

TEST(Faults, D8OnRetryAnswersTheBoxHandshakeLate)
{
    ModelHarness h(Faulty({"d8-on-retry=3"}));
    for (int i = 0; i < 3; ++i)
        h.Reply({0xD6}, 1000);
    EXPECT_EQ(h.Reply({0xD7}), (Bytes{0x00})) << "the first 0xD7";
    EXPECT_EQ(h.Reply({0xD7}), (Bytes{0x00})) << "retry 1";
    EXPECT_EQ(h.Reply({0xD7}), (Bytes{0x00})) << "retry 2";
    EXPECT_EQ(h.Reply({0xD7}), (Bytes{0xD8})) << "retry 3";
    EXPECT_EQ(h.Reply({0xD6}), (Bytes{0xD7}));
    EXPECT_EQ(h.model.Box(), BoxMode::Loader);
}

TEST(Faults, NoAckLosesTheNthRecord)
{
    ModelHarness h(Faulty({"no-ack=2"}, true));
    const Bytes first{0x3A, 0x01, 0x00, 0x00, 0x00, 0x11, 0xEE};
    const Bytes second{0x3A, 0x01, 0x00, 0x01, 0x00, 0x22, 0xDC};
    const Bytes third{0x3A, 0x01, 0x00, 0x02, 0x00, 0x33, 0xCA};
    EXPECT_EQ(h.Reply(first), (Bytes{0x01}));
    EXPECT_EQ(h.Reply(second), Bytes{});
    EXPECT_EQ(h.Reply(third), (Bytes{0x01}));
    EXPECT_EQ(h.model.EscFirmware().Image().count(1), 0u);
    EXPECT_EQ(h.model.EscFirmware().Image().size(), 2u);
}

TEST(Faults, BoxLoaderResendsAndFailedChecks)
{
    const auto blocks = kel::test::XupBlocksOf(MakeXupText(SampleFirmwareBytes(300)));
    const Bytes& block1 = blocks.at(0);
    const Bytes& block2 = blocks.at(1);

    ModelHarness resend(Faulty({"resend=2"}));
    EnterBoxLoader(resend);
    for (const Bytes* block : {&block1, &block2}) {
        EXPECT_EQ(resend.Reply(*block), (Bytes{0x13}));
        EXPECT_EQ(resend.Reply(*block), (Bytes{0x13}));
        EXPECT_EQ(resend.Reply(*block), (Bytes{0x11})) << "every block is refused twice, then taken";
    }
    EXPECT_EQ(resend.model.BoxFirmware().AcceptedBlocks().size(), 2u);

    ModelHarness check(Faulty({"bad-block-check=2"}));
    EnterBoxLoader(check);
    EXPECT_EQ(check.Reply(block1), (Bytes{0x11}));
    EXPECT_EQ(check.Reply(block2), (Bytes{0x12}));
    EXPECT_EQ(check.model.BoxFirmware().AcceptedBlocks().size(), 1u);
}

}  // namespace
}  // namespace kel::sim::test
