#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "sim/DeviceModel.h"

namespace kel::sim::test {

using Bytes = std::vector<std::uint8_t>;

inline DeviceOptions Faulty(std::initializer_list<const char*> faults)
{
    DeviceOptions o;
    for (const char* f : faults)
        EXPECT_EQ(o.faults.Add(f), "") << f;
    return o;
}

// Drives a DeviceModel the way the PC would: send bytes at the current time,
// let some time pass, collect what arrived by then.
struct ModelHarness {
    explicit ModelHarness(DeviceOptions options = {}) : model(options) {}

    Bytes Send(const Bytes& bytes, int waitMs = 10)
    {
        model.Receive(bytes.data(), bytes.size(), now);
        now += waitMs;
        std::size_t count = 0;
        while (count < model.Output().size() && model.Output()[count].atMs <= now)
            ++count;
        return model.Take(count);
    }
    // The reply without the echo of `sent`.
    Bytes Reply(const Bytes& sent, int waitMs = 10)
    {
        Bytes all = Send(sent, waitMs);
        if (all.size() >= sent.size() && Bytes(all.begin(), all.begin() + static_cast<long>(sent.size())) == sent)
            all.erase(all.begin(), all.begin() + static_cast<long>(sent.size()));
        else
            all.insert(all.begin(), 0xEE);  // marks a missing echo, so comparisons fail visibly
        return all;
    }

    DeviceModel model;
    std::int64_t now = 0;
};

// The box update's handshake, each command waiting for its answer.
inline void EnterBoxLoader(ModelHarness& h)
{
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(h.Reply({0xD6}, 1000).size(), 1u);
    ASSERT_EQ(h.Reply({0xD7}), (Bytes{0xD8}));
    ASSERT_EQ(h.Reply({0xD6}), (Bytes{0xD7}));
    ASSERT_EQ(h.model.Box(), BoxMode::Loader);
}

}  // namespace kel::sim::test
