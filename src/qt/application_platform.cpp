#include "qt/application_platform.h"

#include "qt/live_platform.h"

#include <memory>
#include <optional>

namespace vestrak {

namespace {

struct ApplicationPlatform {
    std::unique_ptr<LivePlatform> live;
    std::optional<Platform> platform;
    bool inUse = false;
};

ApplicationPlatform& application()
{
    static ApplicationPlatform state;
    return state;
}

} // namespace

const Platform& applicationPlatform()
{
    ApplicationPlatform& state = application();
    if (!state.platform) {
        state.live = std::make_unique<LivePlatform>();
        state.platform.emplace(state.live->platform());
    }
    state.inUse = true;
    return *state.platform;
}

bool setApplicationPlatform(const Platform& platform)
{
    ApplicationPlatform& state = application();
    if (state.inUse)
        return false;
    state.platform.emplace(platform);
    return true;
}

} // namespace vestrak
