// Values the ESC or a profile holds that no entry or field range can show.
#include <gtest/gtest.h>

#include <tuple>

#include "link/Protocol.h"
#include "settings/OutOfRange.h"
#include "settings/ParameterTable.h"

namespace kel {
namespace {

using Reply = std::array<std::uint8_t, kSettingsReplySize>;

// The factory settings as the ESC sends them.
Reply FactoryReply()
{
    return {0, 3, 5, 32, 35, 6, 100, 25, 200, 6, 0, 3, 1, 0, 2, 4, 0, 2, 0, 0, 20, 0, 1, protocol::kReplyEndMark};
}

constexpr const char* kNoEntry = "no entry of its list";

TEST(OutOfRange, ReplyValuesEachNamedWithFieldRawByteAndWhy)
{
    EXPECT_TRUE(FindOutOfRangeInReply(FactoryReply().data()).empty());
    struct Case {
        int position;
        std::uint8_t raw;
        std::string label, value, reason;
    };
    // clang-format off
    const Case cases[] = {
        {4, 0x14, "Low volt cut custom", "2.0v", "outside 3.5v to 11.0v"},
        {4, 111, "Low volt cut custom", "11.1v", "outside 3.5v to 11.0v"},
        {2, 101, "Drag Brake custom", "101%", "outside 0% to 100%"},
        {20, 255, "Initial Brake custom", "255%", "outside 0% to 100%"},
        {6, 70, "Full Brake", "", kNoEntry}, {8, 7, "Initial Brake", "", kNoEntry},
        {1, 8, "Drag Brake", "", kNoEntry}, {3, 31, "Low volt cut", "", kNoEntry}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Reply reply = FactoryReply();
        reply[static_cast<std::size_t>(c.position)] = c.raw;
        const auto found = FindOutOfRangeInReply(reply.data());
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(std::tie(found[0].label, found[0].position, found[0].raw, found[0].value, found[0].reason),
                  std::tie(c.label, c.position, c.raw, c.value, c.reason));
    }
    // The limits themselves are in range.
    Reply edges = FactoryReply();
    edges[4] = 35;
    edges[2] = 100;
    edges[6] = 75;
    EXPECT_TRUE(FindOutOfRangeInReply(edges.data()).empty());
    Reply reply = FactoryReply();
    reply[4] = 0x14;
    EXPECT_EQ(Describe(FindOutOfRangeInReply(reply.data()).at(0), "reply byte"),
              "Low volt cut custom = 2.0v (raw byte 0x14 at reply byte 4): outside 3.5v to 11.0v");
}

TEST(OutOfRange, ProfileSlotsAndCustomBytes)
{
    ProfileImage image{};
    image[24] = 5;   // Drag Brake custom
    image[25] = 20;  // Initial Brake custom
    image[26] = 35;  // Low volt cut custom
    EXPECT_TRUE(FindOutOfRangeInProfile(image).empty());
    image[7] = 0xFF;  // a reserved slot: carried through whatever it holds
    EXPECT_TRUE(FindOutOfRangeInProfile(image).empty());
    image[0] = 9;    // Power Level has 9 entries: 0..8
    image[26] = 20;  // 2.0v
    const auto found = FindOutOfRangeInProfile(image);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(Describe(found[0], "offset"), "Power Level (raw byte 0x09 at offset 0): no entry of its list");
    EXPECT_EQ(Describe(found[1], "offset"),
              "Low volt cut custom = 2.0v (raw byte 0x14 at offset 26): outside 3.5v to 11.0v");
}

// A profile saved after such a read keeps what the ESC holds: the raw custom
// byte (not the field's refusal text), and "no entry" for a slot.
TEST(OutOfRange, KeepHeldValuesPutsTheEscBytesIntoTheProfile)
{
    Reply reply = FactoryReply();
    reply[4] = 0x14;
    reply[6] = 70;
    ProfileImage image{};
    image[17] = 0;  // Full Brake as an empty caption saves it
    image[26] = 0;  // "NONE" saves as 0
    KeepHeldValues(image, FindOutOfRangeInReply(reply.data()));
    EXPECT_EQ(image[26], 0x14);
    EXPECT_EQ(image[17], 0xFF);
    EXPECT_EQ(image[24], 0);
}

}  // namespace
}  // namespace kel
