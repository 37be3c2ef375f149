/* Starts a program as the benchmark needs it: in a session of its own (no
 * controlling terminal, so its keys come from standard input), with
 * standard input from a file and standard output to /dev/null.
 *
 *   launch GAME PROGRAM        exec the program in place (for hyperfine)
 *   launch -rss GAME PROGRAM   run it 20 times, print the largest peak
 *                              resident size in KiB
 *
 * Built static and tiny on purpose: a process's peak resident size counts
 * the memory of whatever it was forked from, so the launcher itself must
 * stay far below what it measures. */
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

static void become(const char *game, char *const argv[]) {
    int in = open(game, O_RDONLY);
    int out = open("/dev/null", O_WRONLY);
    if (in < 0 || out < 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    setsid();
    execv(argv[0], argv);
    _exit(127);
}

int main(int argc, char *argv[]) {
    if (argc >= 4 && strcmp(argv[1], "-rss") == 0) {
        long peak = 0;
        for (int run = 0; run < 20; ++run) {
            pid_t pid = fork();
            if (pid == 0) become(argv[2], argv + 3);
            int status;
            struct rusage usage;
            if (wait4(pid, &status, 0, &usage) < 0 || !WIFEXITED(status) ||
                WEXITSTATUS(status) != 0) {
                fprintf(stderr, "launch: %s failed\n", argv[3]);
                return 1;
            }
            if (usage.ru_maxrss > peak) peak = usage.ru_maxrss;
        }
        printf("%ld\n", peak);
        return 0;
    }
    if (argc >= 3) become(argv[1], argv + 2);
    fprintf(stderr, "usage: launch [-rss] GAME PROGRAM\n");
    return 2;
}
