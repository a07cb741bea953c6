#pragma once
// Decoded pictures kept for one plug-in instance, so that switching back to a
// picture already seen costs a look at the file's state, not a decode.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <list>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

#include "platform/pictures/picture_file.h"
#include "platform/drawing/surface.h"

namespace platform {

class PictureCache {
  public:
    // Bytes of decoded pixels kept at most.
    static constexpr size_t kDefaultBudget = size_t{256} * 1024 * 1024;
    // File systems keep times in steps of up to two seconds (FAT): a file
    // changed more recently could change again with the same size and times.
    static constexpr time_t kSettledSeconds = 2;

    // Gives the wall-clock time that file times are compared with.
    using Clock = std::function<timespec()>;
    static timespec wallClock();

    explicit PictureCache(size_t budget = kDefaultBudget, Clock now = wallClock)
        : budget_(budget), now_(std::move(now)) {}
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    // What loadPictureFile(path, transparentAs) gives. A kept picture is given
    // (sharing its pixels) only while the file is a readable regular file
    // whose identity and state on disk are those of the file it was decoded
    // from, as the descriptor that read it showed them. A picture is kept
    // only when that state held through the reading and its modification and
    // change times are at least kSettledSeconds in the past.
    std::optional<Surface> load(const std::string& path, Color transparentAs);

    // Drops every kept picture.
    void clear();
    size_t count() const { return lru_.size(); }
    size_t bytes() const { return bytes_; }

  private:
    using FileState = PictureFileState;
    struct Entry {
        std::string key;
        FileState state;
        Surface picture;
        size_t bytes = 0;
    };
    using Lru = std::list<Entry>;  // most recently used first

    static std::string keyOf(const std::string& path, Color transparentAs);
    void store(std::string key, const FileState& state, const Surface& picture);
    void drop(Lru::iterator it);

    size_t budget_;
    Clock now_;
    size_t bytes_ = 0;
    Lru lru_;
    std::unordered_map<std::string, Lru::iterator> byKey_;
};

}  // namespace platform
