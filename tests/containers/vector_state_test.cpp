#include "containers/vector_state.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <optional>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <cpuid.h>

namespace vestrak {
namespace {

// Whether the processor records the upper halves of its AVX registers as in use; nothing when it
// keeps no such record.
std::optional<bool> UpperHalvesInUse()
{
    unsigned features = 0;
    unsigned unused = 0;
    if (__get_cpuid_count(0xD, 1, &features, &unused, &unused, &unused) == 0
        || (features & (1U << 2U)) == 0) {
        return std::nullopt;
    }
    std::uint32_t statesInUse = 0;
    std::uint32_t high = 0;
    asm volatile("xgetbv" : "=a"(statesInUse), "=d"(high) : "c"(1));
    return (statesInUse & (1U << 2U)) != 0;
}

TEST(VectorState, ClearsUpperHalvesLeftInUse)
{
    if (!__builtin_cpu_supports("avx") || !UpperHalvesInUse()) {
        GTEST_SKIP() << "the processor has no AVX or keeps no record of the states in use";
    }
    // As a library routine does that returns without clearing what it used; written out, because
    // the compiler clears them at the end of a function it compiles for AVX.
    asm volatile("vpcmpeqb %%ymm0, %%ymm0, %%ymm0" ::: "xmm0");
    ASSERT_EQ(UpperHalvesInUse(), true);
    ClearUpperVectorHalves();
    EXPECT_EQ(UpperHalvesInUse(), false);
}

} // namespace
} // namespace vestrak

#endif
