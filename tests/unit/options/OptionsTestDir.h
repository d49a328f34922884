#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes.
class TOptionsTestDir {
  public:
    TOptionsTestDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "zyopts.XXXXXX").string();
        if (::mkdtemp(tmpl.data())) path_ = tmpl;
    }
    ~TOptionsTestDir() {
        std::error_code ec;
        if (!path_.empty()) {
            // Undo any permission change a test made before removing.
            std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
            std::filesystem::remove_all(path_, ec);
        }
    }
    TOptionsTestDir(const TOptionsTestDir&) = delete;
    TOptionsTestDir& operator=(const TOptionsTestDir&) = delete;

    bool Ok() const { return !path_.empty(); }
    std::string Path(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Folder() const { return path_; }

    static void Write(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

  private:
    std::string path_;
};
