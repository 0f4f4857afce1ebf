#pragma once
// A private temporary folder for one test, removed with everything in it
// afterwards. Paths are UTF-8 text.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

class TempDir {
public:
    TempDir()
    {
        static std::atomic<unsigned> serial{0};
        const auto base = std::filesystem::temp_directory_path();
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        for (unsigned i = 0;; ++i) {
            const auto p = base / ("kelvane-test-" + std::to_string(stamp) + "-" + std::to_string(serial++) + "-"
                                   + std::to_string(i));
            if (std::filesystem::create_directory(p)) {
                path_ = p;
                break;
            }
        }
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string path() const
    {
        const auto s = path_.u8string();
        return std::string(s.begin(), s.end());
    }
    std::string filePath(const std::string& name) const { return path() + "/" + name; }

private:
    std::filesystem::path path_;
};

// The whole content of a file, or `missing` when it cannot be read.
inline std::string readFile(const std::string& path, const std::string& missing = "<missing>")
{
    std::ifstream f(std::filesystem::u8path(path), std::ios::binary);
    if (!f)
        return missing;
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// Writes bytes to path, replacing it; false when it cannot.
inline bool writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream f(std::filesystem::u8path(path), std::ios::binary | std::ios::trunc);
    return f && f.write(bytes.data(), std::streamsize(bytes.size())) && f.flush();
}
