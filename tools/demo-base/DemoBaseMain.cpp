#include <cstdlib>
#include <iostream>
#include <string>

#include "DemoBase.h"

namespace {

constexpr const char* kUsage =
    "usage: parvane-demo-base ROOT [--seed N] [--stocks N] [--lines N] [--end yyyymmdd]\n"
    "Ecrit une base Korvix de demonstration sous ROOT/base.\n"
    "  --seed N        graine du generateur (meme graine, meme base)\n"
    "  --stocks N      nombre d'actions (N > 0)\n"
    "  --lines N       lignes d'historique par action (N >= 30)\n"
    "  --end yyyymmdd  date de la derniere cotation\n"
    "  --help          affiche cette aide\n";

// A usage error: the usage on the error stream, and the status of sysexits' EX_USAGE.
int usage(const std::string& problem)
{
    std::cerr << "parvane-demo-base: " << problem << '\n' << kUsage;
    return 64;
}

// The whole text must be a number: "12x" is refused rather than read as 12.
bool readNumber(const char* text, long& value)
{
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0';
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--help" || std::string(argv[i]) == "-h") {
            std::cout << kUsage;
            return 0;
        }
    }
    if (argc < 2)
        return usage("dossier ROOT manquant");
    const std::string root = argv[1];
    if (root.empty() || root.front() == '-')
        return usage("option inconnue ou dossier manquant: " + root);
    parvane::tools::DemoBaseOptions options;
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument != "--seed" && argument != "--stocks" && argument != "--lines" && argument != "--end")
            return usage("option inconnue: " + argument);
        long value = 0;
        if (i + 1 >= argc || !readNumber(argv[++i], value))
            return usage("nombre attendu apres " + argument);
        if (argument == "--seed")
            options.seed = static_cast<std::uint32_t>(value);
        else if (argument == "--stocks" && value > 0)
            options.stocks = static_cast<int>(value);
        else if (argument == "--lines" && value >= 30)
            options.lines = static_cast<int>(value);
        else if (argument == "--end" && value > 19000101)
            options.endDate = static_cast<int>(value);
        else
            return usage("valeur refusee pour " + argument);
    }
    if (!parvane::tools::writeDemoBase(root, options)) {
        std::cerr << "parvane-demo-base: impossible d'ecrire la base sous " << root << '\n';
        return 1;
    }
    return 0;
}
