#pragma once

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace vextel_test {

// Runs vextel-printer-sim as a child process on a free loopback port with a book written to a
// fresh folder, and stops it by its process id (SIGTERM, then wait). address() is the first line
// the simulator printed; empty when it did not start.
class PrinterSimProcess {
public:
    explicit PrinterSimProcess(const std::string& bookJson, std::vector<std::string> arguments = {},
                               std::string listen = "127.0.0.1:0") {
        char folder[] = "/tmp/vextel-sim-XXXXXX";
        if (!mkdtemp(folder))
            return;
        folder_ = folder;
        bookPath_ = folder_ + "/book.json";
        std::ofstream(bookPath_) << bookJson;

        std::vector<std::string> words = {VEXTEL_BINARY_DIR "/bin/vextel-printer-sim", "--book",
                                          bookPath_, "--listen", listen};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);

        int output[2];
        if (pipe(output) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, output[0]);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(output[1]);
        if (pid_ > 0)
            address_ = readLine(output[0]);
        // A job port is printed after the HTTP address, as "jobs ADDRESS:PORT".
        for (const std::string& word : arguments)
            if (word == "--jobs-listen" && pid_ > 0) {
                const std::string line = readLine(output[0]);
                if (line.rfind("jobs ", 0) == 0)
                    jobsAddress_ = line.substr(5);
            }
        close(output[0]);
    }
    ~PrinterSimProcess() {
        stop();
        if (!folder_.empty())
            std::filesystem::remove_all(folder_);
    }
    PrinterSimProcess(const PrinterSimProcess&) = delete;
    PrinterSimProcess& operator=(const PrinterSimProcess&) = delete;

    const std::string& address() const { return address_; }
    // The job port's address ("127.0.0.1:PORT") when --jobs-listen was given; empty otherwise.
    const std::string& jobsAddress() const { return jobsAddress_; }
    std::string host() const {
        const std::string host = address_.substr(0, address_.rfind(':'));
        return host.front() == '[' ? host.substr(1, host.size() - 2) : host;
    }
    int port() const { return std::atoi(address_.substr(address_.rfind(':') + 1).c_str()); }
    const std::string& bookPath() const { return bookPath_; }

    // The exit status after SIGTERM; -1 when it did not end normally.
    int stop() {
        if (pid_ <= 0)
            return exitStatus_;
        kill(pid_, SIGTERM);
        int status = 0;
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
        exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return exitStatus_;
    }

private:
    static std::string readLine(int fd) {
        std::string line;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd waiting{fd, POLLIN, 0};
            if (poll(&waiting, 1, 100) <= 0)
                continue;
            char c = 0;
            if (read(fd, &c, 1) != 1 || c == '\n')
                break;
            line += c;
        }
        return line;
    }

    pid_t pid_ = -1;
    int exitStatus_ = -1;
    std::string folder_;
    std::string bookPath_;
    std::string address_;
    std::string jobsAddress_;
};

} // namespace vextel_test
