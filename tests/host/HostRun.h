// Runs the host program as a test's child process.
#pragma once

#include <cstdio>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "sim/os/Os.h"

struct Outcome {
    int status;
    std::string out;
};

// Runs tavi-host with the given arguments and standard input; standard
// error comes after standard output in `out`.
inline Outcome RunHost(const std::string& args, const std::string& input) {
    // Tests run in parallel: each call has an input file of its own.
    static int calls = 0;
    const std::string inputFile = testing::TempDir() + "host-input-" + std::to_string(sim::os::ProcessId()) + "-" +
                                  std::to_string(++calls) + ".txt";
    std::ofstream(inputFile, std::ios::binary) << input;
    const auto result =
        sim::os::RunProgram(std::string(TAVI_BIN_DIR) + "/" + sim::os::ProgramFileName("tavi-host"), args, inputFile);
    std::remove(inputFile.c_str());
    return {result.status, result.output};
}

// The error line of a run that stopped at an error, or all it printed.
inline std::string ErrorOf(const Outcome& outcome) {
    const size_t at = outcome.out.find("error: ");
    return at == std::string::npos ? outcome.out : outcome.out.substr(at);
}
