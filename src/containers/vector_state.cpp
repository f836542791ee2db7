#include "containers/vector_state.h"

namespace vestrak {

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))

namespace {

// Compiled for AVX on its own, so that the rest of the library keeps to the base instruction set.
__attribute__((target("avx"))) void ZeroUpperHalves()
{
    __builtin_ia32_vzeroupper();
}

} // namespace

void ClearUpperVectorHalves()
{
    static const bool hasAvx = (__builtin_cpu_init(), __builtin_cpu_supports("avx"));
    if (hasAvx) {
        ZeroUpperHalves();
    }
}

#else

void ClearUpperVectorHalves()
{
}

#endif

} // namespace vestrak
