// pagewick-bench-time RUNS COMMAND [ARGS...]: runs COMMAND RUNS times, one after the other, with
// its standard output thrown away, and prints the median, fastest and slowest wall-clock time in
// seconds and the largest peak resident memory of any run in KB (from wait4). Stops at the first
// run that fails; with BENCH_STATUS_ONE_OK set, status 1 counts as success too (a check that
// found something). Needs nothing beyond POSIX, so the benchmark runs where GNU time is missing.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

double Now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc >= 3 ? std::atoi(argv[1]) : 0;
    if (runs < 1) {
        std::fprintf(stderr, "usage: pagewick-bench-time RUNS COMMAND [ARGS...]\n");
        return 2;
    }
    std::vector<double> seconds;
    long peakKb = 0;
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        const pid_t pid = fork();
        if (pid < 0) {
            std::perror("fork");
            return 1;
        }
        if (pid == 0) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            execvp(argv[2], argv + 2);
            std::perror(argv[2]);
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        if (wait4(pid, &status, 0, &usage) != pid) {
            std::perror("wait4");
            return 1;
        }
        seconds.push_back(Now() - start);
        const bool oneOk = std::getenv("BENCH_STATUS_ONE_OK") != nullptr;
        if (!WIFEXITED(status) || (WEXITSTATUS(status) != 0 && !(oneOk && WEXITSTATUS(status) == 1))) {
            std::fprintf(stderr, "pagewick-bench-time: %s failed\n", argv[2]);
            return 1;
        }
        peakKb = std::max(peakKb, long(usage.ru_maxrss));
    }
    std::sort(seconds.begin(), seconds.end());
    const size_t n = seconds.size();
    const double median = n % 2 ? seconds[n / 2] : (seconds[n / 2 - 1] + seconds[n / 2]) / 2;
    std::printf("%.6f %.6f %.6f %ld\n", median, seconds.front(), seconds.back(), peakKb);
    return 0;
}
