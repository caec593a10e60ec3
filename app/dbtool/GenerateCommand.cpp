#include "dbtool/GenerateCommand.h"

#include <chrono>
#include <map>
#include <ostream>

#include "dbtool/DbTool.h"
#include "tools/generator/FolderGenerator.h"

namespace kavina::dbtool {
namespace {

int usageError(std::ostream& err, const std::string& problem) {
    err << "kavina-db: " << problem << "\n" << usage();
    return 2;
}

// A whole positive number, or nothing.
std::optional<long> count(const std::string& text) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stol(text);
}

}  // namespace

int runGenerate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::map<std::string, long> numbers{
        {"--year", 0}, {"--documents", 0}, {"--seed", 1}, {"--products", 5000}, {"--partners", 1000}};
    std::vector<std::string> folders;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            folders.push_back(arg);
            continue;
        }
        if (!numbers.count(arg)) return usageError(err, "unknown option " + arg);
        if (i + 1 >= args.size()) return usageError(err, arg + " needs a value");
        const auto value = count(args[++i]);
        if (!value) return usageError(err, arg + " needs a whole number, not " + args[i]);
        numbers[arg] = *value;
    }
    if (folders.size() != 1) return usageError(err, "generate needs one folder");
    if (numbers["--year"] < 2000 || numbers["--year"] > 2099) return usageError(err, "--year needs a year 2000-2099");
    if (numbers["--documents"] < 1) return usageError(err, "--documents needs a number above 0");
    generator::GeneratorOptions options;
    options.year = int(numbers["--year"]);
    options.documents = int(numbers["--documents"]);
    options.seed = uint32_t(numbers["--seed"]);
    options.products = int(std::max(1L, numbers["--products"]));
    options.partners = int(std::max(2L, numbers["--partners"]));
    const auto start = std::chrono::steady_clock::now();
    int shown = -1;
    options.progress = [&](int done, int total) {
        const int percent = int(int64_t(done) * 100 / total);
        if (percent == shown && done != total) return;
        shown = percent;
        err << "\r" << folders[0] << ": " << done << " / " << total << " documents (" << percent << " %)"
            << (done == total ? "\n" : "") << std::flush;
    };
    try {
        const generator::GeneratorSummary made = generator::generateFolder(folders[0], options);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        out << folders[0] << ": " << made.documents << " documents, " << made.lines << " lines, " << made.cancelled
            << " cancelled, " << made.payments << " paid later; " << made.products << " products, " << made.partners
            << " partners; " << int(seconds + 0.5) << " s\n";
    } catch (const std::exception& e) {
        err << "\nkavina-db: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

void addDemoHistory(const std::string& folder, const QDate& today) {
    generator::GeneratorOptions options;
    options.year = today.year();
    options.from = today.addDays(-120);
    options.to = today.addDays(-1);
    options.documents = 300;
    options.linesPerDocument = 4;
    options.seed = 2008;
    options.user = QStringLiteral("Demo");
    generator::generateFolder(folder, options);
}

}  // namespace kavina::dbtool
