#pragma once

#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace vestrak {

// SIGTERM, SIGHUP and SIGINT (a service stop, a logout, Ctrl+C) stop the page on the UI thread, so
// that its controls shut down as when its window closes: the signal handler only writes to a pipe
// that the event loop watches. A second signal while the page shuts down ends it at once.
class StopSignals {
public:
    explicit StopSignals(std::function<void()> stopPage);
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Once the page has shut down, ends the program by the signal that stopped it, as that signal
    // would have, so that whoever started the page still sees why it ended. Returns when no signal
    // stopped the page.
    static void EndAsTheSignalWould();

private:
    void takeSignal();

    std::function<void()> m_StopPage;
    std::unique_ptr<QSocketNotifier> m_Notifier;
};

} // namespace vestrak
