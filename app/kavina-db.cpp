#include <iostream>
#include <string>
#include <vector>

#include "dbtool/DbTool.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return kavina::dbtool::run(args, std::cout, std::cerr);
}
