#pragma once
// Decoded pictures kept for one plug-in instance, so that switching back to a
// picture already seen costs a look at the file's state, not a decode.
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <list>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/surface.h"

namespace platform {

class PictureCache {
  public:
    // Bytes of decoded pixels kept at most.
    static constexpr size_t kDefaultBudget = size_t{256} * 1024 * 1024;

    explicit PictureCache(size_t budget = kDefaultBudget) : budget_(budget) {}
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    // What loadPictureFile(path, transparentAs) gives. A kept picture is given
    // (sharing its pixels) only while the file is a readable regular file
    // whose identity and state on disk are those it was decoded from.
    std::optional<Surface> load(const std::string& path, Color transparentAs);

    // Drops every kept picture.
    void clear();
    size_t count() const { return lru_.size(); }
    size_t bytes() const { return bytes_; }

  private:
    // A file's identity and state on disk.
    struct FileState {
        dev_t dev = 0;
        ino_t ino = 0;
        off_t size = 0;
        timespec mtime{}, ctime{};
        bool operator==(const FileState& o) const;
    };
    struct Entry {
        std::string key;
        FileState state;
        Surface picture;
        size_t bytes = 0;
    };
    using Lru = std::list<Entry>;  // most recently used first

    static std::string keyOf(const std::string& path, Color transparentAs);
    static std::optional<FileState> readableState(const std::string& path);
    void store(std::string key, const FileState& state, const Surface& picture);
    void drop(Lru::iterator it);

    size_t budget_;
    size_t bytes_ = 0;
    Lru lru_;
    std::unordered_map<std::string, Lru::iterator> byKey_;
};

}  // namespace platform
