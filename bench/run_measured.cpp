// Runs a command several times and prints the median wall time in milliseconds and the largest
// peak resident memory of its runs in kilobytes; the command's output is discarded.
// usage: run_measured RUNS COMMAND [ARGUMENT...]
#include <algorithm>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

static double seconds_now() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

int main(int argc, char **argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: run_measured RUNS COMMAND [ARGUMENT...]\n");
        return 2;
    }
    int runs = atoi(argv[1]);
    std::vector<double> times;
    long peak_kb = 0;
    for (int run = 0; run < runs; run++) {
        double started = seconds_now();
        pid_t child = fork();
        if (child == 0) {
            int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            execvp(argv[2], argv + 2);
            _exit(127);
        }
        int status;
        rusage usage;
        if (wait4(child, &status, 0, &usage) < 0) return 1;
        times.push_back((seconds_now() - started) * 1000.0);
        if (usage.ru_maxrss > peak_kb) peak_kb = usage.ru_maxrss;
        if (!WIFEXITED(status) || WEXITSTATUS(status) == 127) {
            fprintf(stderr, "run_measured: %s failed\n", argv[2]);
            return 1;
        }
    }
    std::sort(times.begin(), times.end());
    printf("%.1f %ld\n", times[times.size() / 2], peak_kb);
    return 0;
}
