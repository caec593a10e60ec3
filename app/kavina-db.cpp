#include <iostream>
#include <string>
#include <vector>

#include "dbtool/DbTool.h"
#include "dbtool/GenerateCommand.h"
#include "dbtool/InitCommand.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "init")
        return kavina::dbtool::runInit(args, std::cout, std::cerr, kavina::dbtool::addDemoHistory);
    if (!args.empty() && args[0] == "generate") return kavina::dbtool::runGenerate(args, std::cout, std::cerr);
    return kavina::dbtool::run(args, std::cout, std::cerr);
}
