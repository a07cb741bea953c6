#pragma once
// A fresh folder of the test's own under the system's temporary folder,
// removed with everything in it when the object goes.
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace kavrel_test {

class TempFolder {
  public:
    // `label` shows in the folder's name, to tell a test's leftovers apart.
    explicit TempFolder(const std::string& label = "kavrel") {
        std::string tmpl = (std::filesystem::temp_directory_path() / (label + "-XXXXXX")).string();
        if (::mkdtemp(tmpl.data()) == nullptr)
            throw std::runtime_error("cannot make a temporary folder from " + tmpl);
        path_ = tmpl;
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The path of `name` in the folder, as a string.
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    // Makes the folder `name` in it, with any folders on the way, and gives its path.
    std::filesystem::path folder(const std::string& name) const {
        std::filesystem::create_directories(path_ / name);
        return path_ / name;
    }

  private:
    std::filesystem::path path_;
};

}  // namespace kavrel_test
