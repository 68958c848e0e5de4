// Runs the host program as a test's child process.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

struct Outcome {
    int status;
    std::string out;
};

// Runs tavi-host with the given arguments and standard input; standard
// error comes after standard output in `out`.
inline Outcome RunHost(const std::string& args, const std::string& input) {
    // Tests run in parallel: each call has an input file of its own.
    static int calls = 0;
    const std::string inputFile =
        testing::TempDir() + "host-input-" + std::to_string(getpid()) + "-" + std::to_string(++calls) + ".txt";
    std::ofstream(inputFile, std::ios::binary) << input;
    const std::string command = std::string(TAVI_BIN_DIR) + "/tavi-host " + args + " < " + inputFile + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0) out.append(buffer, n);
    const int status = pclose(pipe);
    std::remove(inputFile.c_str());
    return {WEXITSTATUS(status), out};
}

// The error line of a run that stopped at an error, or all it printed.
inline std::string ErrorOf(const Outcome& outcome) {
    const size_t at = outcome.out.find("error: ");
    return at == std::string::npos ? outcome.out : outcome.out.substr(at);
}
