#pragma once
#include <iosfwd>
#include <string>
#include <vector>

// Exit statuses of stakko-sim.
constexpr int ExitOk = 0;
constexpr int ExitFailure = 1;  // something broke inside
constexpr int ExitBadInput = 2; // the input or the command line was refused

// Runs one command of the simulator; args are the words after the program
// name. Bad input gives one line on err and ExitBadInput, nothing on out.
int RunSim(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
           std::ostream &err);
