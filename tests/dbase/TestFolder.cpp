#include "TestFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testing_support {

TestFolder::TestFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kavina-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    m_path = pattern;
}

TestFolder::~TestFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string TestFolder::read(const std::string& name) const {
    std::ifstream in(file(name), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void TestFolder::write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
    out << bytes;
}

}  // namespace testing_support
