#include "measuring.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace bench {

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double timeIt(int runs, const std::function<void()> &setup, const std::function<void()> &op)
{
    std::vector<double> times;
    for (int i = -1; i < runs; ++i) {
        if (setup)
            setup();
        const Clock::time_point start = Clock::now();
        op();
        if (i >= 0)
            times.push_back(secondsSince(start));
    }
    return median(times);
}

StallProbe::StallProbe()
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(5);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
}

void StallProbe::start()
{
    m_longest = 0;
    m_sinceTick.start();
    m_timer.start();
}

double StallProbe::stop()
{
    tick();
    m_timer.stop();
    return double(m_longest) / 1e9;
}

void StallProbe::tick()
{
    m_longest = std::max(m_longest, m_sinceTick.nsecsElapsed());
    m_sinceTick.start();
}

TimeAndStall timeWithStall(
    int runs, const std::function<void()> &setup, const std::function<void()> &op)
{
    StallProbe probe;
    std::vector<double> times, stalls;
    for (int i = -1; i < runs; ++i) {
        if (setup)
            setup();
        probe.start();
        const Clock::time_point start = Clock::now();
        op();
        const double seconds = secondsSince(start);
        const double stall = probe.stop();
        if (i >= 0) {
            times.push_back(seconds);
            stalls.push_back(stall);
        }
    }
    return { median(times), median(stalls) };
}

size_t bareGetdents(const char *folder)
{
    const int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    constexpr size_t BufferSize = 1 << 18;
    const std::unique_ptr<char[]> buffer(new char[BufferSize]);
    std::vector<char> arena;
    size_t names = 0;
    for (;;) {
        const ssize_t n = ::getdents64(fd, buffer.get(), BufferSize);
        if (n <= 0)
            break;
        for (ssize_t offset = 0; offset < n;) {
            const auto *entry = reinterpret_cast<const struct dirent64 *>(buffer.get() + offset);
            offset += entry->d_reclen;
            const size_t length = std::strlen(entry->d_name) + 1;
            arena.insert(arena.end(), entry->d_name, entry->d_name + length);
            ++names;
        }
    }
    ::close(fd);
    return names;
}

bool runInto(const std::vector<std::string> &command, const std::string &output,
    const std::vector<std::string> &extraEnvironment)
{
    std::vector<std::string> environment;
    for (char **e = environ; *e; ++e) {
        const std::string entry = *e;
        const bool replaced = std::any_of(
            extraEnvironment.begin(), extraEnvironment.end(), [&entry](const std::string &x) {
                return entry.compare(0, x.find('=') + 1, x, 0, x.find('=') + 1) == 0;
            });
        if (!replaced)
            environment.push_back(entry);
    }
    environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
    std::vector<char *> envp, argv;
    for (auto &e : environment)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = command;
    for (auto &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(
        &actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;
    int status = 0;
    pid_t waited;
    while ((waited = ::waitpid(pid, &status, 0)) < 0 && errno == EINTR) { }
    return waited == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace bench
