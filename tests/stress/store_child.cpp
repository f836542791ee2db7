// The child processes of the settings store stress test, each with its own connection to the
// shared store file:
//
//   store_child share FILE WRITER   runs writer WRITER's share of the shared-store workload and
//                                   exits 0 only when every operation answered as it must
//   store_child write FILE SECTION  saves keys 0, 1, 2... in SECTION until it is killed, telling
//                                   each number on standard output once the store acknowledged it
//   store_child start FILE SECTION  opens the store with the others starting at the same moment,
//                                   saves StartKeys keys in SECTION and exits 0 only when they were
//                                   all written to the file
//   store_child kept FILE SECTION   saves StartKeys keys while another process holds the lock,
//                                   tells "kept N" (the changes kept for later), then exits 0 only
//                                   when they were all written at shut-down
//   store_child mend FILE SECTION   as start, on a damaged file that this process or another one
//                                   moves aside
#include "linux_platform/sqlite_settings_store.h"
#include "store_workload.h"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <map>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

using vestrak::SqliteSettingsStore;
using namespace vestrak::testing;

constexpr int ExitFailed = 1;
constexpr int ExitBadUsage = 2;

std::u16string Wide(std::string_view text)
{
    return { text.begin(), text.end() };
}

enum class StartMode { Fresh, Locked, Damaged };

// What the store may report in that mode: a lock delaying writes, and the damage moved aside.
bool IsExpected(const std::string& message, StartMode mode)
{
    return message.find("changes are kept in memory and written with a later change") != std::string::npos
        || (mode == StartMode::Damaged && message.find("and a fresh one was started") != std::string::npos);
}

int RunShare(const std::string& file, int writer)
{
    int problems = 0;
    SqliteSettingsStore store(file, [&problems](const std::string& message) {
        std::cerr << "store problem: " << message << '\n';
        problems += IsExpected(message, StartMode::Fresh) ? 0 : 1;
    });
    const std::u16string section = WriterSection(writer);
    const std::u16string otherSection = WriterSection(1 - writer);
    std::map<std::u16string, std::u16string> expected;
    for (int operation = 0; operation < WriterOperations; ++operation) {
        const std::u16string key = WriterKey(operation);
        if (IsDeletion(operation)) {
            const bool wasThere = expected.erase(key) == 1;
            if (store.DeleteSetting(StressApplication, section, key) != wasThere) {
                std::cerr << "deletion " << operation << " answered wrongly\n";
                return ExitFailed;
            }
        } else {
            expected[key] = WrittenValue(writer, operation);
            if (!store.SaveSetting(StressApplication, section, key, expected[key])) {
                std::cerr << "write " << operation << " failed\n";
                return ExitFailed;
            }
        }
        const auto found = expected.find(key);
        const std::u16string wanted = found == expected.end() ? u"(none)" : found->second;
        if (store.GetSetting(StressApplication, section, key, u"(none)") != wanted) {
            std::cerr << "read " << operation << " does not give what was written\n";
            return ExitFailed;
        }
        // The other writer's keys are read too, so reads and writes of both meet in the file.
        static_cast<void>(store.GetSetting(StressApplication, otherSection, key));
    }
    return problems == 0 && store.isPersistent() ? 0 : ExitFailed;
}

int RunWriteUntilKilled(const std::string& file, const std::string& section)
{
    SqliteSettingsStore store(file, [](const std::string& message) { std::cerr << message << '\n'; });
    for (int number = 0;; ++number) {
        const std::u16string text = Wide(std::to_string(number));
        if (!store.SaveSetting(StressApplication, Wide(section), text, text)) {
            return ExitFailed;
        }
        const std::string line = std::to_string(number) + "\n";
        if (write(STDOUT_FILENO, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
            return ExitFailed;
        }
    }
}

// Saves StartKeys keys in the section; a store locked out waits longer, and tells how many changes
// it keeps for later once they are saved.
int RunStart(const std::string& file, const std::string& section, StartMode mode)
{
    bool problems = false;
    const vestrak::SettingsStoreWaits lockedWaits { .operation = std::chrono::milliseconds(20),
        .opening = std::chrono::seconds(5),
        .shutDown = std::chrono::seconds(30) };
    SqliteSettingsStore store(
        file,
        [&problems, mode](const std::string& message) {
            std::cerr << "store problem: " << message << '\n';
            problems = problems || !IsExpected(message, mode);
        },
        mode == StartMode::Locked ? lockedWaits : vestrak::SettingsStoreWaits {});
    bool acknowledged = true;
    for (int key = 0; key < StartKeys; ++key) {
        const std::u16string text = Wide(std::to_string(key));
        acknowledged = store.SaveSetting(StressApplication, Wide(section), text, text) && acknowledged;
    }
    if (mode == StartMode::Locked) {
        std::cout << "kept " << store.pendingChanges() << std::endl;
    }
    return store.flush() && acknowledged && store.isPersistent() && !problems ? 0 : ExitFailed;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string_view(argv[1]) == "share") {
        return RunShare(argv[2], std::stoi(argv[3]));
    }
    if (argc == 4 && std::string_view(argv[1]) == "write") {
        return RunWriteUntilKilled(argv[2], argv[3]);
    }
    if (argc == 4 && std::string_view(argv[1]) == "start") {
        return RunStart(argv[2], argv[3], StartMode::Fresh);
    }
    if (argc == 4 && std::string_view(argv[1]) == "kept") {
        return RunStart(argv[2], argv[3], StartMode::Locked);
    }
    if (argc == 4 && std::string_view(argv[1]) == "mend") {
        return RunStart(argv[2], argv[3], StartMode::Damaged);
    }
    std::cerr << "usage: store_child share FILE WRITER | write FILE SECTION | start FILE SECTION"
                 " | kept FILE SECTION | mend FILE SECTION\n";
    return ExitBadUsage;
}
