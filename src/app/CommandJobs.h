// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "job/Job.h"

#include <memory>

namespace dpx {

struct Options;
class TransferSession;

// What a command-line job may use: the same services in a headless run and in a running DPX.
struct JobServices {
    QString dataFolder;
    TransferSession *transfer = nullptr;
};

// The job the options ask for (Options::hasJob()); a refusal becomes a job that fails at once.
std::unique_ptr<Job> makeCommandJob(const Options &options, const JobServices &services);

// A start with a job on its command line: hands it to the DPX running for the data folder and
// relays its progress, or runs it here without a display. Returns the exit code.
int runCommandJob(int argc, char **argv, const Options &options);

} // namespace dpx
