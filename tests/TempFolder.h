#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace zembrel::test {

// A fresh folder under the system's temporary folder, removed with everything in it. Names are
// the platform's (backslashes on Windows).
class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        for (;;) {
            const auto candidate =
                std::filesystem::temp_directory_path() / ("zembrel-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate)) {
                m_path = candidate.string();
                break;
            }
        }
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const {
        return (std::filesystem::path(m_path) / std::filesystem::path(name))
            .make_preferred()
            .string();
    }

    std::string write(const std::string& name, const std::string& content) const {
        std::ofstream(file(name), std::ios::binary) << content;
        return file(name);
    }
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::string m_path;
};

} // namespace zembrel::test
