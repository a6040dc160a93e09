#include "tests/testkit/virtual_display.h"

#include <cerrno>
#include <csignal>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

std::unique_ptr<VirtualDisplay> VirtualDisplay::startIfInstalled() {
    int channel[2];
    if (pipe2(channel, O_CLOEXEC) != 0) {
        return nullptr;
    }
    // The server picks a free display itself and writes its number to descriptor 3.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, channel[0]);
    posix_spawn_file_actions_adddup2(&actions, channel[1], 3);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> arguments{"Xvfb", "-displayfd",   "3",         "-screen",
                                       "0",    "1280x1024x24", "-nolisten", "tcp"};
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, "Xvfb", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(channel[1]);
    if (rc != 0) {
        close(channel[0]);
        return nullptr; // not installed
    }
    std::string number;
    char c = 0;
    for (;;) {
        const ssize_t n = read(channel[0], &c, 1);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0 || c == '\n') {
            break;
        }
        number.push_back(c);
    }
    close(channel[0]);
    if (number.empty()) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        return nullptr; // it could not start
    }
    return std::unique_ptr<VirtualDisplay>(new VirtualDisplay(pid, ":" + number));
}

VirtualDisplay::~VirtualDisplay() {
    kill(pid_, SIGTERM);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
}
