#include "platform/pictures/picture_cache.h"

#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "platform/files/file_read.h"
#include "platform/pictures/picture_file.h"
#include "platform/files/unique_fd.h"

namespace platform {

namespace {

bool operator<(const timespec& a, const timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// True when `t` lies at least `seconds` before `now`.
bool settled(const timespec& t, const timespec& now, time_t seconds) {
    const timespec due{t.tv_sec + seconds, t.tv_nsec};
    return !(now < due);
}

}  // namespace

std::string PictureCache::keyOf(const std::string& path, Color transparentAs) {
    std::string key = path;
    key.push_back('\0');  // paths hold no NUL: the colour cannot run into them
    key += std::to_string(transparentAs);
    return key;
}

timespec PictureCache::wallClock() {
    // File times are wall-clock times, whatever clock the timers run on.
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

std::optional<Surface> PictureCache::load(const std::string& path, Color transparentAs) {
    const timespec now = now_();
    // Opening proves the file can still be read (rights can go without a
    // change the state shows, e.g. on a folder above it). Only regular files
    // are opened as such: opening a device can do things.
    const OpenedForReading opened = openForReading(path, ReadAs::RegularFile);
    std::string key = keyOf(path, transparentAs);
    if (const auto found = byKey_.find(key); found != byKey_.end()) {
        const Lru::iterator it = found->second;
        if (opened && it->state == FileState::of(opened.status)) {
            lru_.splice(lru_.begin(), lru_, it);
            return it->picture;
        }
        drop(it);  // the file changed or went: its picture is stale
    }
    if (!opened) return std::nullopt;
    // The file just opened is the one decoded; the state kept is the one its
    // descriptor showed through the reading.
    std::optional<FileState> read;
    std::optional<Surface> picture =
        loadOpenedPictureFile(opened.fd.get(), path, transparentAs, nullptr, &read);
    // A file changed within the time steps of its file system could change
    // again unseen: it is decoded and shown, not kept.
    if (!picture || !read || !settled(read->mtime, now, kSettledSeconds) ||
        !settled(read->ctime, now, kSettledSeconds))
        return picture;
    picture->share();
    store(std::move(key), *read, *picture);
    return picture;
}

void PictureCache::store(std::string key, const FileState& state, const Surface& picture) {
    const size_t bytes = picture.bytes() + key.size();
    if (bytes > budget_) return;  // larger than everything kept together
    while (!lru_.empty() && bytes_ + bytes > budget_) drop(std::prev(lru_.end()));
    lru_.push_front(Entry{key, state, picture, bytes});
    byKey_.emplace(std::move(key), lru_.begin());
    bytes_ += bytes;
}

void PictureCache::drop(Lru::iterator it) {
    bytes_ -= it->bytes;
    byKey_.erase(it->key);
    lru_.erase(it);
}

void PictureCache::clear() {
    lru_.clear();
    byKey_.clear();
    bytes_ = 0;
}

}  // namespace platform
