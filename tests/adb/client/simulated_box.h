#pragma once
// A simulated TV box (tools/boxsim) on 127.0.0.1 and a port of its own, for native tests: started
// as a child process, stopped with it.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "test_support/temp_dir.h"

namespace test_support {

class SimulatedBox {
public:
    explicit SimulatedBox(const std::string& profile, std::vector<std::string> options = {}) {
        std::vector<std::string> arguments = {"/usr/bin/python3", MIVORA_SOURCE_DIR "/tools/boxsim/boxsim.py",
                                              "--address", "127.0.0.1", "--port", "0", "--profile", profile,
                                              "--storage", storage_.path().string()};
        arguments.insert(arguments.end(), options.begin(), options.end());
        int output[2];
        if (pipe(output) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(output[1], STDOUT_FILENO);
            close(output[0]);
            std::vector<char*> argv;
            for (std::string& argument : arguments) argv.push_back(argument.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(output[1]);
        FILE* ready = fdopen(output[0], "r");
        char line[128] = {};
        if (ready && std::fgets(line, sizeof line, ready)) {
            const std::string text = line;  // "ready 127.0.0.1:PORT"
            if (text.starts_with("ready ")) port_ = static_cast<uint16_t>(std::stoi(text.substr(text.rfind(':') + 1)));
        }
        if (ready) std::fclose(ready);
    }
    ~SimulatedBox() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    SimulatedBox(const SimulatedBox&) = delete;
    SimulatedBox& operator=(const SimulatedBox&) = delete;

    uint16_t port() const { return port_; }
    const std::filesystem::path& storage() const { return storage_.path(); }

    std::string StorageFile(const char* name) const {
        std::ifstream in(storage_.path() / name);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    TempDir storage_;
    pid_t pid_ = -1;
    uint16_t port_ = 0;
};

}  // namespace test_support
