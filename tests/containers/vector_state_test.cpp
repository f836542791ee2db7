#include "containers/vector_state.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <optional>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <cpuid.h>

namespace vestrak {
namespace {

constexpr std::uint32_t UpperHalvesState = 1U << 2U;

// The register states the processor records as in use, where it keeps that record.
std::optional<std::uint32_t> StatesInUse()
{
    unsigned features = 0;
    unsigned unused = 0;
    constexpr unsigned ReadsStatesInUse = 1U << 2U;
    if (__get_cpuid_count(0xD, 1, &features, &unused, &unused, &unused) == 0
        || (features & ReadsStatesInUse) == 0) {
        return std::nullopt;
    }
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    asm volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(1));
    return low;
}

// As a library routine does that returns without clearing what it used. Written out, because
// the compiler clears them at the end of a function it compiles for AVX.
void LeaveUpperHalvesInUse()
{
    asm volatile("vpcmpeqb %%ymm0, %%ymm0, %%ymm0" ::: "xmm0");
}

TEST(VectorState, ClearsUpperHalvesLeftInUse)
{
    if (!__builtin_cpu_supports("avx") || !StatesInUse()) {
        GTEST_SKIP() << "the processor has no AVX or keeps no record of the states in use";
    }
    LeaveUpperHalvesInUse();
    ASSERT_NE(StatesInUse().value_or(0) & UpperHalvesState, 0U);
    ClearUpperVectorHalves();
    EXPECT_EQ(StatesInUse().value_or(0) & UpperHalvesState, 0U);
}

} // namespace
} // namespace vestrak

#endif
