#include <iostream>
#include <string>
#include <vector>

#include "cli/ScanCommand.h"

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return parvane::cli::runScanCommand(arguments, std::cout, std::cerr);
}
