#include "dbtool/InitCommand.h"

#include <ostream>

#include "dbtool/DbTool.h"
#include "foundation/Catalogue.h"
#include "foundation/NewDataFolder.h"

namespace kavina::dbtool {
namespace {

int dataFolderTableCount() {
    int n = 0;
    for (const TableDef& def : catalogue::tables()) n += def.location == TableLocation::DataFolder;
    return n;
}

int usageError(std::ostream& err, const std::string& problem) {
    err << "kavina-db: " << problem << "\n" << usage();
    return 2;
}

}  // namespace

int runInit(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const DemoHistory& history) {
    NewFolderOptions options;
    std::vector<std::string> folders;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--demo")
            options.demo = true;
        else if (arg.rfind("--", 0) == 0)
            return usageError(err, "unknown option " + arg);
        else
            folders.push_back(arg);
    }
    if (folders.size() != 1) return usageError(err, "init needs one folder");
    // The generated history takes the place of the demo's few documents, numbered from 1.
    options.demoHistoryFollows = options.demo && bool(history);
    try {
        createDataFolder(folders[0], options);
    } catch (const std::exception& e) {
        err << "kavina-db: " << e.what() << "\n";
        return 1;
    }
    try {
        if (options.demo && history) history(folders[0], options.today);
    } catch (const std::exception& e) {
        err << "kavina-db: the demo business was made, but not its documents: " << e.what() << "\n";
        return 1;
    }
    out << folders[0] << ": new data folder with " << dataFolderTableCount() << " tables"
        << (options.demo ? " and the demo business" : "") << "\n";
    return 0;
}

}  // namespace kavina::dbtool
