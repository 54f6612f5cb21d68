#include <cstdlib>
#include <iostream>
#include <string>

#include "DemoBase.h"

namespace {

int usage()
{
    std::cerr << "usage: parvane-demo-base ROOT [--seed N] [--stocks N] [--lines N] [--end yyyymmdd]\n"
                 "Ecrit une base Korvix de demonstration sous ROOT/base.\n";
    return 64;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage();
    parvane::tools::DemoBaseOptions options;
    const std::string root = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        if (i + 1 >= argc)
            return usage();
        const long value = std::strtol(argv[++i], nullptr, 10);
        if (argument == "--seed")
            options.seed = static_cast<std::uint32_t>(value);
        else if (argument == "--stocks" && value > 0)
            options.stocks = static_cast<int>(value);
        else if (argument == "--lines" && value >= 30)
            options.lines = static_cast<int>(value);
        else if (argument == "--end" && value > 19000101)
            options.endDate = static_cast<int>(value);
        else
            return usage();
    }
    if (!parvane::tools::writeDemoBase(root, options)) {
        std::cerr << "parvane-demo-base: impossible d'ecrire la base sous " << root << '\n';
        return 1;
    }
    return 0;
}
