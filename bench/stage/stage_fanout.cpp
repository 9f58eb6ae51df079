// The stage view's fan-out on the real songserv: CLIENTS event streams open
// on its stage port; once every one has the current state, stage.json is
// replaced STATES times as songdesk replaces it (the whole file beside it,
// then renamed over it), 20 to 50 ms apart, and each client notes when the
// whole event of each seq arrived. Latency is that moment less the moment
// of the rename, for every (client, seq) that arrived.
//
//   stage_fanout PORT FOLDER CLIENTS SONGSERV_PID [STATES] [THREADS]
//
// FOLDER is songserv's working folder. Prints one line:
//   RESULT clients pairs p50_us p99_us max_us missing not_last not_started
//          faults vmhwm_kB vmrss_kB state_bytes serv_cpu_ms bench_cpu_ms
//          write_ms skipped_by_all wake_p99_us wake_max_us
// missing: (client, seq) pairs that never arrived (a client that falls
// behind gets only the newest state, so some may be skipped by design);
// skipped_by_all: states that no client got (songserv never sent them);
// wake_*: how late the writer woke for its writes, the machine's own
// scheduling delay at the time, which every wake of songserv pays as well;
// not_last: clients whose last event was not the last state; not_started:
// clients that never got the first state; faults: events out of order,
// events whose data is not the state their id names, and streams that
// ended or did not answer 200. songserv's memory is read while the
// streams are still open; the CPU times cover the writing and the wait
// for the last state, the bench's own showing whether its clients kept up.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <random>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/sockets.h"
#include "remote/page_file.h"
#include "remote/stage_state.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::string_view kRequest =
    "GET /events HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept: text/event-stream\r\n"
    "Cache-Control: no-cache\r\nUser-Agent: stage-fanout\r\n\r\n";

// A long hymn as songdesk publishes it while a list runs: nine verses and
// a refrain of chord and lyric lines under labels, and a set of twelve:
// about 6 KB.
lyro::StageState song_state(int number) {
    lyro::StageState state;
    state.song = true;
    state.title = "O WORSHIP THE KING " + std::to_string(number);
    state.offset = number % 5 - 2;
    state.key = "G";
    const char* chords[] = {"G          C        G", "G                  D",
                            "G            C        G", "Em       D      G"};
    const char* words[] = {"O worship the King, all glorious above,",
                           "O gratefully sing his power and his love;",
                           "our shield and defender, the Ancient of Days,",
                           "pavilioned in splendor, and girded with praise."};
    for (int verse = 1; verse <= 10; ++verse) {
        const std::string label =
            verse == 10 ? "***** REFRAIN *****" : "***** VERSE " + std::to_string(verse) + " *****";
        state.lines.push_back({label, lyro::kLabelKind});
        for (int line = 0; line < 4; ++line) {
            state.lines.push_back({chords[line], lyro::kChordKind});
            state.lines.push_back({words[line], lyro::kLyricKind});
        }
        state.lines.push_back({"", lyro::kLyricKind});
    }
    for (int entry = 0; entry < 12; ++entry)
        state.set.push_back(
            {"HYMN OF THE EVENING NUMBER " + std::to_string(entry + 1), entry % 3 - 1});
    state.at = number % 12;
    return state;
}

// The seq at the start of a file that songdesk (or an earlier run) left.
std::uint64_t seq_in(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(64, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    constexpr std::string_view kOpening = "{\"seq\":";
    if (!head.starts_with(kOpening)) return 0;
    std::uint64_t seq = 0;
    std::from_chars(head.data() + kOpening.size(), head.data() + head.size(), seq);
    return seq;
}

struct Client {
    std::unique_ptr<lyro::ClientConnection> connection;
    std::string pending;           // bytes not yet part of a whole event
    std::size_t scanned = 0;       // of `pending`, known to hold no event end
    bool header_done = false;
    bool open = false;
    std::uint64_t last_seq = 0;
    std::vector<Clock::time_point> arrived;  // by seq - first seq; {} when not
    int faults = 0;
};

struct Run {
    std::uint64_t first_seq = 0;  // the state present before the writing
    std::uint64_t last_seq = 0;   // the last one written
    std::atomic<int> started{0};  // clients that have the first state
    std::atomic<int> at_last{0};  // clients whose latest event is the last state
    std::atomic<bool> stop{false};
    std::atomic<std::uint64_t> last_written{0};
};

// One whole event: its id, checked against the state its data carries.
void take_event(Client& c, std::string_view event, Clock::time_point now, Run& run) {
    std::optional<std::uint64_t> id;
    std::string_view data;
    while (!event.empty()) {
        const std::size_t lf = event.find('\n');
        const std::string_view line = event.substr(0, lf);
        if (line.starts_with("id: ")) {
            std::uint64_t seq = 0;
            const auto [end, ec] = std::from_chars(line.data() + 4, line.data() + line.size(), seq);
            if (ec == std::errc() && end == line.data() + line.size()) id = seq;
            else ++c.faults;
        } else if (line.starts_with("data: ") && data.empty()) {
            data = line.substr(6);
        }
        if (lf == std::string_view::npos) break;
        event.remove_prefix(lf + 1);
    }
    if (!id) return;  // the retry field, or a keep-alive comment
    const std::string opening = "{\"seq\":" + std::to_string(*id) + ",";
    if (!data.starts_with(opening) || !data.ends_with('}')) ++c.faults;
    if ((c.last_seq != 0 && *id <= c.last_seq) || *id < run.first_seq || *id > run.last_seq) {
        ++c.faults;
        return;
    }
    if (c.last_seq == 0) ++run.started;
    const bool was_last = c.last_seq == run.last_seq;
    c.last_seq = *id;
    auto& slot = c.arrived[*id - run.first_seq];
    if (slot == Clock::time_point{}) slot = now;
    if (!was_last && *id == run.last_seq) ++run.at_last;
}

void take_bytes(Client& c, const char* bytes, std::size_t n, Clock::time_point now, Run& run) {
    c.pending.append(bytes, n);
    if (!c.header_done) {
        const std::size_t end = c.pending.find("\r\n\r\n");
        if (end == std::string::npos) return;
        if (!c.pending.starts_with("HTTP/1.1 200 ")) {
            ++c.faults;
            c.open = false;
            return;
        }
        c.pending.erase(0, end + 4);
        c.header_done = true;
        c.scanned = 0;
    }
    std::size_t from = 0;
    for (;;) {
        const std::size_t end = c.pending.find("\n\n", std::max(from, c.scanned));
        if (end == std::string::npos) break;
        take_event(c, std::string_view(c.pending).substr(from, end + 1 - from), now, run);
        from = end + 2;
        c.scanned = from;
    }
    c.pending.erase(0, from);
    c.scanned = c.pending.empty() ? 0 : c.pending.size() - 1;
}

// Reads every stream of `clients` as its bytes come. The connections
// block, but each is read only when the wait says it has something, so no
// read waits; one read per wake keeps the streams taking turns.
void receive(std::span<Client> clients, Run& run) {
    const auto sockets = lyro::open_system_sockets();
    std::vector<lyro::WaitItem> items(clients.size());
    std::vector<char> scratch(64 * 1024);
    while (!run.stop.load(std::memory_order_relaxed)) {
        for (std::size_t i = 0; i < clients.size(); ++i)
            items[i] = {clients[i].connection.get(), clients[i].open, false, false, false};
        if (sockets->wait(items, 20ms) <= 0) continue;
        for (std::size_t i = 0; i < clients.size(); ++i) {
            Client& c = clients[i];
            if (!items[i].readable || !c.open) continue;
            const auto n = c.connection->receive(scratch.data(), scratch.size());
            const auto now = Clock::now();
            if (n <= 0) {
                // songserv ended the stream: it should not.
                c.open = false;
                ++c.faults;
                continue;
            }
            take_bytes(c, scratch.data(), static_cast<std::size_t>(n), now, run);
        }
    }
}

struct Memory {
    long hwm_kb = -1;
    long rss_kb = -1;
};

Memory memory_of(int pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    Memory m;
    for (std::string line; std::getline(status, line);) {
        std::istringstream fields(line);
        std::string key;
        long kb = -1;
        fields >> key >> kb;
        if (key == "VmHWM:") m.hwm_kb = kb;
        if (key == "VmRSS:") m.rss_kb = kb;
    }
    return m;
}

// User and system time of a process, from /proc/PID/stat, in milliseconds.
double cpu_ms_of(int pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t paren = text.rfind(')');
    if (paren == std::string::npos) return -1;
    std::istringstream fields(text.substr(paren + 2));
    std::string field;
    long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::atoll(field.c_str());
        if (i == 15) stime = std::atoll(field.c_str());
    }
    return static_cast<double>(utime + stime) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double own_cpu_ms() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    const auto ms = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    };
    return ms(use.ru_utime) + ms(use.ru_stime);
}

long long percentile(const std::vector<long long>& sorted, double p) {
    if (sorted.empty()) return 0;
    const auto at = static_cast<std::size_t>(p * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[std::min(at, sorted.size() - 1)];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fputs("usage: stage_fanout PORT FOLDER CLIENTS SONGSERV_PID [STATES] [THREADS]\n", stderr);
        return 2;
    }
    const auto port = static_cast<std::uint16_t>(std::atoi(argv[1]));
    const std::string path = std::string(argv[2]) + "/stage.json";
    const int count = std::atoi(argv[3]);
    const int serv_pid = std::atoi(argv[4]);
    const int states = argc > 5 ? std::atoi(argv[5]) : 200;
    const int threads = std::clamp(argc > 6 ? std::atoi(argv[6]) : 2, 1, std::max(1, count));
    if (count < 1 || states < 1) {
        std::fputs("stage_fanout: CLIENTS and STATES must be at least 1\n", stderr);
        return 2;
    }

    // The socket layer asks for more descriptors than the usual 1024.
    const auto sockets = lyro::open_system_sockets();
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    if (limit.rlim_cur < static_cast<rlim_t>(count) + 64) {
        std::fprintf(stderr, "stage_fanout: %d clients need more descriptors than the %llu allowed\n",
                     count, static_cast<unsigned long long>(limit.rlim_cur));
        return 1;
    }

    // The state the streams open with; the seq goes on from what is there.
    Run run;
    run.first_seq = seq_in(path) + 1;
    run.last_seq = run.first_seq + static_cast<std::uint64_t>(states);
    std::size_t state_bytes = 0;
    const auto publish = [&](int number, std::uint64_t seq) {
        const std::string json = lyro::stage_json(song_state(number), seq);
        state_bytes = json.size();
        return lyro::publish_file(path, json);
    };
    if (!publish(0, run.first_seq)) {
        std::fprintf(stderr, "stage_fanout: cannot write %s\n", path.c_str());
        return 1;
    }

    std::vector<Client> clients(static_cast<std::size_t>(count));
    int connected = 0;
    for (Client& c : clients) {
        c.arrived.resize(static_cast<std::size_t>(states) + 1);
        c.connection = lyro::connect_loopback(port, 5s);
        if (!c.connection) continue;
        const auto sent = c.connection->send(kRequest.data(), kRequest.size());
        c.open = sent == static_cast<std::ptrdiff_t>(kRequest.size());
        if (c.open) ++connected;
    }
    std::vector<std::thread> receivers;
    for (int t = 0; t < threads; ++t) {
        const auto share = [&](int i) {
            return clients.size() * static_cast<std::size_t>(i) / static_cast<std::size_t>(threads);
        };
        receivers.emplace_back(receive, std::span<Client>(clients).subspan(share(t), share(t + 1) - share(t)),
                               std::ref(run));
    }
    const auto wait_for = [](const std::atomic<int>& counter, int target, Clock::duration limit) {
        const auto give_up = Clock::now() + limit;
        while (counter.load() < target && Clock::now() < give_up) std::this_thread::sleep_for(2ms);
    };
    wait_for(run.started, connected, 30s);

    // The writing: each rename's moment is noted as soon as it returns.
    std::vector<Clock::time_point> renamed(static_cast<std::size_t>(states) + 1);
    std::vector<long long> woke_late;
    std::mt19937 spacing(20240601);
    std::uniform_int_distribution<int> gap_ms(20, 50);
    const double serv_cpu_before = cpu_ms_of(serv_pid);
    const double own_cpu_before = own_cpu_ms();
    const auto write_start = Clock::now();
    auto next = write_start;
    int write_failures = 0;
    for (int i = 1; i <= states; ++i) {
        std::this_thread::sleep_until(next);
        woke_late.push_back(
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - next).count());
        if (!publish(i, run.first_seq + static_cast<std::uint64_t>(i))) ++write_failures;
        renamed[static_cast<std::size_t>(i)] = Clock::now();
        next += std::chrono::milliseconds(gap_ms(spacing));
    }
    const auto write_ms = std::chrono::duration<double, std::milli>(Clock::now() - write_start).count();
    wait_for(run.at_last, connected, 10s);
    const double serv_cpu = cpu_ms_of(serv_pid) - serv_cpu_before;
    const double own_cpu = own_cpu_ms() - own_cpu_before;
    const Memory memory = memory_of(serv_pid);
    run.stop = true;
    for (auto& t : receivers) t.join();

    std::vector<long long> micros;
    long long missing = 0;
    int not_last = 0;
    int not_started = 0;
    int faults = write_failures;
    int skipped_by_all = 0;
    for (int i = 1; i <= states; ++i)
        skipped_by_all += std::none_of(clients.begin(), clients.end(), [i](const Client& c) {
            return c.arrived[static_cast<std::size_t>(i)] != Clock::time_point{};
        });
    for (const Client& c : clients) {
        if (c.last_seq == 0) ++not_started;
        if (c.last_seq != run.last_seq) ++not_last;
        faults += c.faults;
        for (int i = 1; i <= states; ++i) {
            const auto at = c.arrived[static_cast<std::size_t>(i)];
            if (at == Clock::time_point{}) {
                ++missing;
                continue;
            }
            micros.push_back(std::chrono::duration_cast<std::chrono::microseconds>(
                                 at - renamed[static_cast<std::size_t>(i)]).count());
        }
    }
    std::sort(micros.begin(), micros.end());
    std::sort(woke_late.begin(), woke_late.end());
    std::printf("RESULT %d %zu %lld %lld %lld %lld %d %d %d %ld %ld %zu %.0f %.0f %.0f %d %lld %lld\n", count,
                micros.size(), percentile(micros, 0.50), percentile(micros, 0.99),
                micros.empty() ? 0LL : micros.back(), missing, not_last, not_started, faults,
                memory.hwm_kb, memory.rss_kb, state_bytes, serv_cpu, own_cpu, write_ms,
                skipped_by_all, percentile(woke_late, 0.99), woke_late.back());
    return 0;
}
