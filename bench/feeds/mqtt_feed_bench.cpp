// The MQTT tag feed under plant load: 10,000 tags, 1,000 messages per second in total, into a
// shown status tree of 10,000 tagged objects that asks for statuses every second. Measured:
// publish-to-icon latency (median and 99th percentile), the page thread's CPU share, and the
// backlog (messages published but not yet taken by the page) at the start and the end of the
// measuring time. Beside it, the same page fed from its own table, changed at the same pace by a
// timer of the page: the floor the feed's share is compared with. And the same page fed over
// Sparkplug B: one edge node whose birth names the 10,000 tags as Int32 metrics with aliases, and
// one NDATA per change, by alias; its latency is compared with the plain feed's.
//
// Options after Google Benchmark's own: --seconds N measuring time per page (default 30).

#include "feeds/feed_status_answer.h"
#include "feeds/mosquitto_broker.h"
#include "feeds/mqtt_tag_feed.h"
#include "feeds/sparkplug_feed.h"
#include "feeds/sparkplug_payload.h"
#include "headless/memory_settings_store.h"
#include "qt/cistatus_widget.h"
#include "qt/live_platform.h"
#include "qt_widgets/qt_tree_view.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <mosquitto.h>
#include <optional>
#include <thread>

using namespace vestrak;
using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

namespace {

constexpr int TagCount = 10000;
constexpr int TagsPerGroup = 100;
constexpr int MessagesPerSecond = 1000;
constexpr auto Slot = 10ms;
constexpr int MessagesPerSlot = MessagesPerSecond / 100;
constexpr std::int32_t UpdateInterval = 1000;
// Every tag gets a value once before the measuring starts.
constexpr auto WarmUp = std::chrono::milliseconds(1000 * TagCount / MessagesPerSecond + 2000);
constexpr double CpuGoalPoints = 5.0;

int g_MeasuringSeconds = 30;

QString TagName(int tag)
{
    return QStringLiteral("T%1").arg(tag, 5, 10, QLatin1Char('0'));
}

// The tag the n-th message goes to: every tag once per round, in an order that spreads the tags
// shown (next to each other in the tree) over the round, so that their icon changes fall at
// every phase of the page's GetStatus and flash cycle.
int NthTag(std::int64_t n)
{
    constexpr std::int64_t Stride = 7919; // prime, so no common factor with TagCount
    return static_cast<int>(n * Stride % TagCount);
}

// The n-th value a tag is given: it always differs from the one before, so every message changes
// the tag's icon, and nothing blinks.
std::int32_t NthValue(std::int64_t n)
{
    return 2 + static_cast<std::int32_t>(n % 3);
}

// Sparkplug B tags name the edge node first.
const std::string SparkplugTagPrefix = "Bench/";

std::string StatusFile(const std::filesystem::path& folder, const std::string& tagPrefix = {})
{
    const std::filesystem::path path = folder / "bench-status.ini";
    std::ofstream file(path);
    file << "[TreeObjects]\r\n";
    for (int group = 0; group < TagCount / TagsPerGroup; ++group) {
        char code[16];
        std::snprintf(code, sizeof code, "G%03d", group);
        file << code << "/Group = 2,,Group " << group << "\r\n";
        for (int member = 0; member < TagsPerGroup; ++member) {
            const std::string tag = TagName(group * TagsPerGroup + member).toStdString();
            file << code << tag << "/" << tag << " = 1," << tagPrefix << tag << "," << tag << "\r\n";
        }
    }
    return path.string();
}

std::chrono::nanoseconds ThreadCpuTime()
{
    timespec time {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec);
}

struct Measurement {
    std::vector<double> latenciesMs;
    double cpuShare = 0;
    std::int64_t backlogAtStart = 0;
    std::int64_t backlogAtEnd = 0;
};

// When each tag was last given a value, for the latency of the icon change that follows.
struct PublishTimes {
    std::vector<std::atomic<std::int64_t>> nanoseconds = std::vector<std::atomic<std::int64_t>>(TagCount);
    std::atomic<std::int64_t> published = 0;

    void mark(int tag)
    {
        nanoseconds[tag] = SteadyClock::now().time_since_epoch().count();
        ++published;
    }
};

// A shown status tree of the bench's objects, its first group open so that the rows shown are
// tagged objects. The view is told of the icons changed on the rows shown; each such change is
// timed against the last value given to its tag.
class BenchPage {
public:
    explicit BenchPage(const std::string& objectFile, PublishTimes& times)
        : m_Times(times)
    {
        m_Widget.resize(480, 800);
        m_Widget.setUpdateInterval(UpdateInterval);
        m_Widget.setBehaviour(1);
        m_Widget.show();
        m_Tree = m_Widget.findChild<QtTreeView*>();
        QObject::connect(m_Tree->model(), &QAbstractItemModel::dataChanged, &m_Widget,
            [this](const QModelIndex& first, const QModelIndex&, const QList<int>& roles) {
                if (m_Measuring && (roles.isEmpty() || roles.contains(Qt::DecorationRole)))
                    iconChanged(first.data().toString());
            });
        m_ObjectFile = QString::fromStdString(objectFile);
    }

    CiStatusWidget& widget() { return m_Widget; }
    void load()
    {
        m_Widget.setObjectFile(m_ObjectFile);
        QApplication::processEvents();
        // The tree's rows are flat: the first group opens as the operator opens it.
        emit m_Tree->openRequested(m_Tree->model()->index(0, 0), true);
    }

    // Runs the page for the warm-up and then the measuring time; received() counts what the page
    // has taken so far.
    Measurement run(const std::function<std::int64_t()>& received)
    {
        Measurement result;
        runFor(WarmUp);
        result.backlogAtStart = m_Times.published - received();
        m_Measuring = true;
        const std::chrono::nanoseconds cpuBefore = ThreadCpuTime();
        const SteadyClock::time_point start = SteadyClock::now();
        runFor(std::chrono::seconds(g_MeasuringSeconds));
        result.cpuShare = std::chrono::duration<double>(ThreadCpuTime() - cpuBefore)
            / std::chrono::duration<double>(SteadyClock::now() - start);
        result.backlogAtEnd = m_Times.published - received();
        m_Measuring = false;
        result.latenciesMs = std::move(m_Latencies);
        return result;
    }

private:
    static void runFor(std::chrono::milliseconds time)
    {
        QEventLoop loop;
        QTimer::singleShot(time, &loop, &QEventLoop::quit);
        loop.exec();
    }

    void iconChanged(const QString& text)
    {
        int tag = 0;
        const QByteArray digits = text.mid(1).toLatin1();
        if (!text.startsWith(QLatin1Char('T'))
            || std::from_chars(digits.data(), digits.data() + digits.size(), tag).ec != std::errc())
            return;
        const std::int64_t given = m_Times.nanoseconds[tag];
        if (given != 0)
            m_Latencies.push_back((SteadyClock::now().time_since_epoch().count() - given) / 1e6);
    }

    PublishTimes& m_Times;
    LivePlatform m_Live { std::make_unique<MemorySettingsStore>() };
    Platform m_Platform = m_Live.platform();
    CiStatusWidget m_Widget { m_Platform };
    QtTreeView* m_Tree = nullptr;
    QString m_ObjectFile;
    std::vector<double> m_Latencies;
    bool m_Measuring = false;
};

SparkplugMetric Int32Metric(int tag, std::int32_t value)
{
    SparkplugMetric metric;
    metric.alias = static_cast<std::uint64_t>(tag) + 1;
    metric.datatype = static_cast<std::uint32_t>(SparkplugDataType::Int32);
    metric.value = std::uint64_t { static_cast<std::uint32_t>(value) };
    return metric;
}

// What goes on the wire for one change, as a plain publisher or a Sparkplug B edge node sends it.
class Messages {
public:
    enum class Kind {
        Plain,
        SparkplugB,
    };

    explicit Messages(Kind kind)
        : m_Kind(kind)
    {
    }

    // Nothing for a plain publisher; the edge node's birth, every tag green.
    [[nodiscard]] std::optional<std::pair<std::string, std::string>> birth()
    {
        if (m_Kind == Kind::Plain)
            return std::nullopt;
        SparkplugPayload payload;
        payload.seq = nextSequence();
        for (int tag = 0; tag < TagCount; ++tag) {
            SparkplugMetric& metric = payload.metrics.emplace_back(Int32Metric(tag, 2));
            metric.name = TagName(tag).toStdString();
        }
        return std::pair { std::string("spBv1.0/bench/NBIRTH/Bench"), EncodeSparkplugPayload(payload) };
    }
    [[nodiscard]] std::pair<std::string, std::string> change(int tag, std::int32_t value)
    {
        if (m_Kind == Kind::Plain)
            return { "bench/" + TagName(tag).toStdString(), std::to_string(value) };
        SparkplugPayload payload;
        payload.seq = nextSequence();
        payload.metrics.push_back(Int32Metric(tag, value));
        return { "spBv1.0/bench/NDATA/Bench", EncodeSparkplugPayload(payload) };
    }

private:
    std::uint64_t nextSequence()
    {
        const std::uint64_t sequence = m_Sequence;
        m_Sequence = (m_Sequence + 1) % 256;
        return sequence;
    }

    Kind m_Kind;
    std::uint64_t m_Sequence = 0;
};

// Publishes round the tags at the bench's pace from a thread of its own, as a plant would.
class Publisher {
public:
    Publisher(int port, PublishTimes& times, Messages::Kind kind = Messages::Kind::Plain)
        : m_Thread([this, port, &times, kind] { publish(port, times, Messages(kind)); })
    {
    }
    ~Publisher()
    {
        m_Stop = true;
        m_Thread.join();
    }

private:
    void publish(int port, PublishTimes& times, Messages messages)
    {
        mosquitto* client = mosquitto_new(nullptr, true, nullptr);
        if (mosquitto_connect(client, "127.0.0.1", port, 10) != MOSQ_ERR_SUCCESS) {
            std::fprintf(stderr, "the publisher cannot connect\n");
            std::abort();
        }
        if (const auto birth = messages.birth())
            mosquitto_publish(client, nullptr, birth->first.c_str(), static_cast<int>(birth->second.size()),
                birth->second.data(), 0, false);
        std::int64_t sent = 0;
        for (SteadyClock::time_point slot = SteadyClock::now(); !m_Stop; slot += Slot) {
            for (int count = 0; count < MessagesPerSlot; ++count, ++sent) {
                const int tag = NthTag(sent);
                const auto [topic, payload] = messages.change(tag, NthValue(sent / TagCount));
                times.mark(tag);
                mosquitto_publish(client, nullptr, topic.c_str(), static_cast<int>(payload.size()),
                    payload.data(), 0, false);
            }
            mosquitto_loop(client, 0, 1);
            std::this_thread::sleep_until(slot + Slot);
        }
        mosquitto_disconnect(client);
        mosquitto_destroy(client);
    }

    std::atomic<bool> m_Stop = false;
    std::thread m_Thread;
};

Measurement g_Table;
Measurement g_Feed;
Measurement g_Sparkplug;

void Report(benchmark::State& state, Measurement& measurement)
{
    std::vector<double>& latencies = measurement.latenciesMs;
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double share) {
        return latencies.empty() ? 0.0 : latencies[static_cast<std::size_t>(share * (latencies.size() - 1))];
    };
    state.counters["latency_median_ms"] = at(0.5);
    state.counters["latency_p99_ms"] = at(0.99);
    state.counters["icon_changes"] = static_cast<double>(latencies.size());
    state.counters["cpu_percent"] = 100 * measurement.cpuShare;
    state.counters["backlog_start"] = static_cast<double>(measurement.backlogAtStart);
    state.counters["backlog_end"] = static_cast<double>(measurement.backlogAtEnd);
}

// The page answers from a table of its own that a timer of the page changes at the bench's pace.
void BM_PageFedFromItsTable(benchmark::State& state)
{
    testing::TemporaryFolder folder;
    PublishTimes times;
    BenchPage page(StatusFile(folder.path()), times);
    QHash<QString, std::int32_t> table;
    QObject::connect(&page.widget(), &CiStatusWidget::GetStatus, &page.widget(), [&] {
        for (QString tag = page.widget().ObjectTagName(); !tag.isEmpty(); tag = page.widget().ObjectTagName())
            page.widget().setObjectStatus(table.value(tag, 1));
    });
    std::int64_t changed = 0;
    QTimer changes;
    QObject::connect(&changes, &QTimer::timeout, &page.widget(), [&] {
        for (int count = 0; count < MessagesPerSlot; ++count, ++changed) {
            const int tag = NthTag(changed);
            table[TagName(tag)] = NthValue(changed / TagCount);
            times.mark(tag);
        }
    });
    changes.setTimerType(Qt::PreciseTimer);
    page.load();
    for (auto _ : state) {
        changes.start(Slot);
        g_Table = page.run([&] { return changed; });
        changes.stop();
    }
    Report(state, g_Table);
}

void BM_PageFedFromTheBroker(benchmark::State& state)
{
    testing::MosquittoBroker broker;
    if (!broker.start()) {
        state.SkipWithError("mosquitto did not start");
        return;
    }
    testing::TemporaryFolder folder;
    PublishTimes times;
    BenchPage page(StatusFile(folder.path()), times);
    MqttTagFeed feed(*ParseFeedUrl(broker.url("bench")).options);
    std::int64_t received = 0;
    QObject::connect(&feed, &MqttTagFeed::tagUpdated, &feed, [&received] { ++received; });
    const Connection answering = AnswerGetStatusFromFeed(page.widget().control(), feed);
    feed.start();
    page.load();
    for (auto _ : state) {
        Publisher publisher(broker.port(), times);
        g_Feed = page.run([&] { return received; });
    }
    Report(state, g_Feed);
}

void BM_PageFedFromSparkplugB(benchmark::State& state)
{
    testing::MosquittoBroker broker;
    if (!broker.start()) {
        state.SkipWithError("mosquitto did not start");
        return;
    }
    testing::TemporaryFolder folder;
    PublishTimes times;
    BenchPage page(StatusFile(folder.path(), SparkplugTagPrefix), times);
    SparkplugFeed feed(*ParseSparkplugUrl(broker.url("bench")).options);
    std::int64_t received = 0;
    QObject::connect(&feed, &SparkplugFeed::tagUpdated, &feed, [&received] { ++received; });
    const Connection answering = AnswerGetStatusFromFeed(page.widget().control(), feed);
    feed.start();
    page.load();
    // Births are not kept by the broker: the feed must listen before the node is born.
    while (!feed.isConnected())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    for (auto _ : state) {
        Publisher publisher(broker.port(), times, Messages::Kind::SparkplugB);
        // The birth counts each of its metrics as one message taken.
        g_Sparkplug = page.run([&] { return received - TagCount; });
    }
    Report(state, g_Sparkplug);
}

BENCHMARK(BM_PageFedFromItsTable)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_PageFedFromTheBroker)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_PageFedFromSparkplugB)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    for (int index = 1; index + 1 < argc; ++index) {
        if (std::string_view(argv[index]) == "--seconds")
            g_MeasuringSeconds = std::max(1, std::atoi(argv[index + 1]));
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_Table.cpuShare > 0 && g_Feed.cpuShare > 0) {
        const double added = 100 * (g_Feed.cpuShare - g_Table.cpuShare);
        const bool backlogSteady = g_Feed.backlogAtEnd
            <= std::max<std::int64_t>(g_Feed.backlogAtStart, MessagesPerSlot) + MessagesPerSecond / 10;
        std::printf("the feed adds %.2f points of one core's CPU to the page (goal: under %.0f): %s\n", added,
            CpuGoalPoints, added < CpuGoalPoints ? "met" : "NOT MET");
        std::printf("backlog %lld at the start, %lld at the end: %s\n",
            static_cast<long long>(g_Feed.backlogAtStart), static_cast<long long>(g_Feed.backlogAtEnd),
            backlogSteady ? "no growth" : "GROWS");
    }
    if (!g_Feed.latenciesMs.empty() && !g_Sparkplug.latenciesMs.empty()) {
        const auto median = [](const Measurement& measurement) {
            return measurement.latenciesMs[(measurement.latenciesMs.size() - 1) / 2];
        };
        const double above = 100 * (median(g_Sparkplug) / median(g_Feed) - 1);
        std::printf("Sparkplug B median latency %.0f ms, the plain feed's %.0f ms: %+.1f%% (goal: at most "
                    "+10%%): %s\n",
            median(g_Sparkplug), median(g_Feed), above, above <= 10 ? "met" : "NOT MET");
        std::printf(
            "Sparkplug B adds %.2f points of one core's CPU to the page beside the plain feed's %.2f\n",
            100 * (g_Sparkplug.cpuShare - g_Table.cpuShare), 100 * (g_Feed.cpuShare - g_Table.cpuShare));
    }
    return 0;
}
