// vrk-lalrgen entry point: generates the parser tables header from the
// grammar file. See generator.h for the command line.
#include <iostream>
#include <string>
#include <vector>

#include "tools/lalrgen/generator.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return vrk::lalrgen::run_lalrgen(args, std::cout, std::cerr);
}
