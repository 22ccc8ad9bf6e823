// The probes' read-back holds the read-back surface locked: whatever is moved where, each lock is
// undone exactly once, by whoever holds it last.
#include "analysis/probing/probe_target.h"

#include <gtest/gtest.h>

#include <type_traits>
#include <utility>

#include "support/fake_device.h"
#include "support/present_parameters.h"

namespace {

using fakes::FakeDevice;
using fakes::FakeSurface;

static_assert(!std::is_copy_constructible<ProbeReadBack>::value && !std::is_copy_assignable<ProbeReadBack>::value,
              "a copy would unlock the surface a second time");
static_assert(std::is_nothrow_move_constructible<ProbeReadBack>::value &&
                  std::is_nothrow_move_assignable<ProbeReadBack>::value,
              "moved, the lock changes hands");

TEST(ProbeReadBack, EachLockIsUndoneOnceByItsLastHolder) {
    FakeDevice device(test_support::WindowedPresentParameters(64, 64, D3DMULTISAMPLE_4_SAMPLES));
    const ProbeTarget target = {D3DMULTISAMPLE_4_SAMPLES, 0, D3DFMT_X8R8G8B8};
    ProbeSurfaces a, b;
    ASSERT_EQ(S_OK, CreateProbeSurfaces(&device, target, 4, 4, 2, &a));
    ASSERT_EQ(S_OK, CreateProbeSurfaces(&device, target, 4, 4, 1, &b));
    FakeSurface* readBackA = FakeSurface::From(a.readBack.Get());
    FakeSurface* readBackB = FakeSurface::From(b.readBack.Get());
    ChannelLayout green;
    ASSERT_TRUE(ChannelOf(D3DFMT_X8R8G8B8, Channel::Green, &green));
    {
        ProbeReadBack first;
        ASSERT_EQ(S_OK, first.Read(&device, a));
        ProbeReadBack second(std::move(first));
        EXPECT_TRUE(first.Cell(0, green).Empty());  // moved from: holds nothing
        EXPECT_EQ(second.Cell(1, green).width, 4);

        ProbeReadBack third;
        ASSERT_EQ(S_OK, third.Read(&device, b));
        third = std::move(second);  // b's lock goes, a's changes hands
        EXPECT_FALSE(readBackB->locked);
        EXPECT_TRUE(readBackA->locked);
        EXPECT_EQ(third.Cell(1, green).width, 4);

        ASSERT_EQ(S_OK, third.Read(&device, a));  // read again: the old lock first
    }
    EXPECT_FALSE(readBackA->locked);
    EXPECT_EQ(readBackA->lockCount, readBackA->unlockCount);
    EXPECT_EQ(readBackB->lockCount, readBackB->unlockCount);
    EXPECT_EQ(device.misuseCount, 0) << device.lastMisuse;
}

}  // namespace
