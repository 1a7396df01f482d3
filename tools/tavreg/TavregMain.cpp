// tavreg: the command-line tool for the user's registry store.
#include "tools/tavreg/TavregCommand.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return RunTavreg(arguments, std::cout, std::cerr, std::cin);
}
