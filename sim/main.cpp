// cuewright-sim: the headless driver. Reads one JSON request per line on
// stdin and answers each with one JSON line on stdout. See
// docs/automation.md.

#include "sim/driver.h"

#include <iostream>

int main()
{
    std::ios::sync_with_stdio(false);
    cw::Driver driver;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        std::cout << driver.handle_line(line) << '\n' << std::flush;
    }
    return 0;
}
