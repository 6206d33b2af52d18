#include "store_tool.h"

#include <iostream>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return cw::store_tool::run(args, std::cout, std::cerr);
}
