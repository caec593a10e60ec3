#pragma once
// A fresh temporary folder per test, removed afterwards.

#include <string>

namespace testing_support {

class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

    std::string read(const std::string& name) const;
    void write(const std::string& name, const std::string& bytes) const;

private:
    std::string m_path;
};

}  // namespace testing_support
