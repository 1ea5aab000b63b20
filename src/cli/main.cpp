#include <iostream>

#include "cli/Commands.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return finplan::cli::runCommand(args, std::cout, std::cerr);
}
