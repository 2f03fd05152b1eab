// Writes the manual page or the bash completions, both made from the
// command line's own table, for the build to install.
#include <cstring>
#include <fstream>
#include <iostream>

#include "cli/HelpText.hpp"
#include "simmac/commands/SimCommandLine.hpp"

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "man") != 0 && std::strcmp(argv[1], "bash") != 0)) {
        std::cerr << "usage: quorvane-cli-docs man|bash FILE\n";
        return 2;
    }
    quorvane::simmac::addSimCommands();
    const std::string text = std::strcmp(argv[1], "man") == 0 ? quorvane::cli::manPage()
                                                                : quorvane::cli::bashCompletion();
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::cerr << "quorvane-cli-docs: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
