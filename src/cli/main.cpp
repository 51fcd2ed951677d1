#include "cli/cli_main.h"

#include <iostream>

int main(int argc, char* argv[]) {
    return dcf::cli::runCli(argc, argv, std::cout, std::cerr);
}
