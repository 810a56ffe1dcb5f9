#include <iostream>
#include <string>
#include <vector>

#include "SimCommands.h"

int main(int argc, char **argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return RunSim(args, std::cin, std::cout, std::cerr);
}
