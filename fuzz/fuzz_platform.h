#pragma once

#include "support/test_platform.h"

#include <string_view>

namespace vestrak::fuzzing {

inline const std::u16string ObjectFilePath = u"/fuzz/objects.ini";

// The test platform around one fuzzed object file in memory. The file never changes, so what the
// profile keeps of it is fuzzed too.
struct FuzzPlatform {
    explicit FuzzPlatform(std::string_view objectFile) { files.contents[ObjectFilePath] = objectFile; }

    testing::MemoryFiles files { testing::Stamps::Kept };
    testing::TestPlatform test { files };
    Platform& platform = test.platform;
    VirtualClock& clock = test.clock;
    Profile& profile = test.profile;
};

} // namespace vestrak::fuzzing
