#include "FolderCheck.h"

#include <cctype>
#include <exception>
#include <filesystem>

#include "dbase/Table.h"

namespace testing_support {

std::vector<std::string> checkAllTables(const std::string& folder) {
    std::vector<std::string> faults;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string extension = entry.path().extension().string();
        for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
        if (extension != ".dbf") continue;
        const std::string name = entry.path().filename().string();
        try {
            dbase::Table t(folder, name);
            t.open({.readOnly = true});
            for (const std::string& f : t.checkIntegrity()) faults.push_back(name + ": " + f);
        } catch (const std::exception& e) {
            faults.push_back(name + ": " + e.what());
        }
    }
    return faults;
}

}  // namespace testing_support
