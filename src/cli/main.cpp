#include "cli/cli_main.h"

#include <csignal>
#include <iostream>

int main(int argc, char* argv[]) {
    // A closed standard output must not kill a run before it is saved or
    // rolled back: writes to it fail instead, and the front end says so.
    std::signal(SIGPIPE, SIG_IGN);
    return dcf::cli::runCli(argc, argv, std::cout, std::cerr);
}
