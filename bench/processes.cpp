// SPDX-License-Identifier: MIT
#include "processes.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace bench {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
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

Process runInto(std::vector<std::string> command, const std::string &output,
    const std::vector<std::string> &extraEnvironment, bool keepErrors)
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
    for (auto &a : command)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(
        &actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (!keepErrors)
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return { false, 0, 0 };
    int status = 0;
    struct rusage usage
    { };
    pid_t waited;
    while ((waited = ::wait4(pid, &status, 0, &usage)) < 0 && errno == EINTR) { }
    const double seconds
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const bool succeeded = waited == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return { succeeded, seconds, double(usage.ru_maxrss) / 1024 };
}

bool pinToOneCore()
{
    cpu_set_t allowed;
    if (::sched_getaffinity(0, sizeof allowed, &allowed) != 0)
        return false;
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (CPU_ISSET(cpu, &allowed)) {
            cpu_set_t one;
            CPU_ZERO(&one);
            CPU_SET(cpu, &one);
            return ::sched_setaffinity(0, sizeof one, &one) == 0;
        }
    }
    return false;
}

} // namespace bench
