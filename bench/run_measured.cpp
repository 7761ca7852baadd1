// Runs commands in turn, round after round, and prints for each (one line, in the order given)
// the median wall time in milliseconds and the largest peak resident memory in kilobytes. Taking
// the commands in turn lets a burst of load on the machine hit them all alike, so their ratios
// hold. The commands' output is discarded.
// usage: run_measured ROUNDS COMMAND [ARGUMENT...] [-- COMMAND [ARGUMENT...]]...
#include <algorithm>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

struct measured {
    std::vector<char *> argv;
    std::vector<double> times;
    long peak_kb = 0;
};

static double seconds_now() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

// Runs the command once; false when it could not be started.
static bool run_once(measured *command) {
    double started = seconds_now();
    pid_t child = fork();
    if (child == 0) {
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execvp(command->argv[0], command->argv.data());
        _exit(127);
    }
    int status;
    rusage usage;
    if (child < 0 || wait4(child, &status, 0, &usage) < 0) return false;
    command->times.push_back((seconds_now() - started) * 1000.0);
    if (usage.ru_maxrss > command->peak_kb) command->peak_kb = usage.ru_maxrss;
    return WIFEXITED(status) && WEXITSTATUS(status) != 127;
}

int main(int argc, char **argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: run_measured ROUNDS COMMAND [ARGUMENT...] [-- COMMAND...]...\n");
        return 2;
    }
    int rounds = atoi(argv[1]);
    std::vector<measured> commands(1);
    for (int i = 2; i < argc; i++) {
        if (strcmp(argv[i], "--") == 0) {
            commands.emplace_back();
            continue;
        }
        commands.back().argv.push_back(argv[i]);
    }
    for (measured &command : commands) command.argv.push_back(nullptr);
    for (int round = 0; round < rounds; round++)
        for (measured &command : commands)
            if (!run_once(&command)) {
                fprintf(stderr, "run_measured: %s failed\n", command.argv[0]);
                return 1;
            }
    for (measured &command : commands) {
        std::sort(command.times.begin(), command.times.end());
        printf("%.1f %ld\n", command.times[command.times.size() / 2], command.peak_kb);
    }
    return 0;
}
