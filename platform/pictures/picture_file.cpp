#include "platform/pictures/picture_file.h"

#include <fcntl.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gio/gio.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <memory>
#include <mutex>
#include <system_error>
#include <vector>

#include "platform/files/fd_write.h"
#include "platform/files/file_read.h"
#include "platform/files/unique_fd.h"
#include "platform/picture_readers/picture_header.h"
#include "platform/pictures/picture_load_hooks.h"
#include "platform/writing/file_replace.h"

namespace platform {

const char* loaderName(PictureFormat format) {
    switch (format) {
        case PictureFormat::Bmp:
            return "bmp";
        case PictureFormat::Jpeg:
            return "jpeg";
        case PictureFormat::Gif:
            return "gif";
        case PictureFormat::Ico:
            return "ico";
        case PictureFormat::Png:
            break;
    }
    return "png";
}

namespace {

struct Unref {
    void operator()(GdkPixbuf* p) const { g_object_unref(p); }
};
using PixbufPtr = std::unique_ptr<GdkPixbuf, Unref>;

std::optional<Surface> fail(std::string* error, std::string reason) {
    if (error) *error = std::move(reason);
    return std::nullopt;
}

void dropLogMessage(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

// The loaders' warnings about broken files are answered by the caller's
// error; they must not reach the terminal.
void silenceLoaderLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        g_log_set_handler("GdkPixbuf", static_cast<GLogLevelFlags>(G_LOG_LEVEL_MASK),
                          dropLogMessage, nullptr);
    });
}

// Takes the message of a GError and frees it.
std::string takeMessage(GError*& err, const char* fallback) {
    std::string msg = err && err->message ? err->message : fallback;
    g_clear_error(&err);
    return msg;
}

// The reason, naming the file at `path` once: the file decoder's messages
// name the copy, `copyName`, which becomes the path.
std::string naming(std::string why, const std::string& path, const std::string& copyName = {}) {
    for (size_t at = copyName.empty() ? std::string::npos : why.find(copyName);
         at != std::string::npos; at = why.find(copyName, at + 1)) {
        const size_t end = at + copyName.size();
        if (end < why.size() && why[end] >= '0' && why[end] <= '9') continue;
        why.replace(at, copyName.size(), path);
        at += path.size() - 1;
    }
    return why.find(path) == std::string::npos ? why + ": " + path : why;
}

const char* refusal(PictureHeader::Verdict verdict) {
    switch (verdict) {
        case PictureHeader::Verdict::Fits:
            break;
        case PictureHeader::Verdict::TooLarge:
            return "picture too large: ";
        case PictureHeader::Verdict::TooManyScans:
            return "too many scans: ";
        case PictureHeader::Verdict::UnknownFormat:
            return "unknown picture format: ";
        case PictureHeader::Verdict::Padded:
            return "picture holds more than its pixels: ";
        case PictureHeader::Verdict::TooMuchData:
            return "picture data passes twice its pixels' size and 1 MB: ";
        case PictureHeader::Verdict::Broken:
            return "cannot decode picture: ";
    }
    return nullptr;
}

struct UnrefLoader {
    void operator()(GdkPixbufLoader* l) const { g_object_unref(l); }
};

// A loader made for one format, fed in pieces: it never sniffs.
class TypedLoader {
  public:
    explicit TypedLoader(const char* format)
        : loader_(gdk_pixbuf_loader_new_with_type(format, &err_)) {}
    // A loader dropped unfinished (its copy refused part way) is closed, so
    // that its format's module frees what it holds.
    ~TypedLoader() {
        if (loader_ && !closed_) gdk_pixbuf_loader_close(loader_.get(), nullptr);
        g_clear_error(&err_);
    }
    TypedLoader(const TypedLoader&) = delete;
    TypedLoader& operator=(const TypedLoader&) = delete;

    // The picture is given only when the loader's updates reached its last
    // row: a progressive loader gives a picture once it exists, rows that
    // never came in its fill colour. For a picture whose rows come in order.
    void requireEveryRow() {
        if (loader_)
            g_signal_connect(loader_.get(), "area-updated", G_CALLBACK(&TypedLoader::updated),
                             &rowsDone_);
        everyRow_ = true;
    }
    bool write(const uint8_t* data, size_t n) {
        ok_ = ok_ && loader_ && gdk_pixbuf_loader_write(loader_.get(), data, n, &err_) != FALSE;
        return ok_;
    }
    // Why the loader refused what it was given.
    std::string refusal() const {
        return err_ && err_->message ? err_->message : "cannot decode picture";
    }
    // The picture, or nullptr with the reason in `why`.
    PixbufPtr finish(std::string& why) {
        if (loader_) ok_ = gdk_pixbuf_loader_close(loader_.get(), ok_ ? &err_ : nullptr) && ok_;
        closed_ = true;
        GdkPixbuf* pixbuf = ok_ && loader_ ? gdk_pixbuf_loader_get_pixbuf(loader_.get()) : nullptr;
        if (!pixbuf) {
            why = takeMessage(err_, "cannot decode picture");
            return nullptr;
        }
        if (everyRow_ && rowsDone_ < gdk_pixbuf_get_height(pixbuf)) {
            why = "picture data cut short";
            return nullptr;
        }
        return PixbufPtr(GDK_PIXBUF(g_object_ref(pixbuf)));
    }

  private:
    static void updated(GdkPixbufLoader*, gint, gint y, gint, gint height, gpointer rows) {
        gint& done = *static_cast<gint*>(rows);
        done = std::max(done, y + height);
    }

    GError* err_ = nullptr;
    std::unique_ptr<GdkPixbufLoader, UnrefLoader> loader_;
    gint rowsDone_ = 0;
    bool everyRow_ = false;
    bool ok_ = true;
    bool closed_ = false;
};

// Feeds the loader of `format` from the copy in the pieces the library's
// file decoder reads: for the formats whose loaders decode incrementally
// anyway, or cost the same either way.
PixbufPtr decodeWithLoader(int copy, const char* format, std::string& why) {
    TypedLoader loader(format);
    const PictureBytes bytes = fileBytes(copy);
    std::vector<uint8_t> piece(64 * 1024);
    for (uint64_t at = 0;;) {
        const size_t n = bytes(at, piece.data(), piece.size());
        if (n == kPictureReadError) {
            why = "cannot read picture";
            return nullptr;
        }
        if (n == 0 || !loader.write(piece.data(), n)) break;
        at += n;
    }
    return loader.finish(why);
}

// True when the library's file decoder would pick the loader of
// `mimeType` for the copy at `name`: it guesses the content type from the
// first bytes as this does, and takes the loader of that type.
bool sniffedAs(int copy, const std::string& name, const char* mimeType) {
    std::array<guchar, 4096> head{};
    const size_t n = fileBytes(copy)(0, head.data(), head.size());
    if (n == kPictureReadError) return false;
    gboolean uncertain = FALSE;
    gchar* type = g_content_type_guess(nullptr, head.data(), n, &uncertain);
    if (uncertain || g_str_equal(type, "text/plain") || g_str_equal(type, "application/gzip")) {
        g_free(type);
        type = g_content_type_guess(name.c_str(), head.data(), n, nullptr);
    }
    gchar* wanted = g_content_type_from_mime_type(mimeType);
    const bool same = wanted && g_content_type_equals(wanted, type);
    g_free(wanted);
    g_free(type);
    return same;
}

// Decodes the sealed copy with the loader of `format` only, never one the
// library's sniffer picks for bytes that also read as another format (such
// as a container that hands its content to any loader). An ICO goes to the
// ICO loader (a BMP never comes here: it streams, see CopyDestination). GIF
// and JPEG go through the file decoder, as a loader made for them decodes incrementally
// and far slower (a large GIF frame, a progressive JPEG), and so does an
// interlaced PNG, whose file decoder refuses data short of its last row
// (see CopyDestination); the copy is first checked to be what the file
// decoder takes for that format, and it cannot change in between.
PixbufPtr decodeAs(int copy, PictureFormat format, const std::string& path, std::string& why) {
    if (format == PictureFormat::Ico) {
        PixbufPtr pixbuf = decodeWithLoader(copy, loaderName(format), why);
        if (!pixbuf) why = naming(why, path);
        return pixbuf;
    }
    const std::string name = "/proc/self/fd/" + std::to_string(copy);
    if (!sniffedAs(copy, name, (std::string("image/") + loaderName(format)).c_str())) {
        why = naming("picture is not the format it starts as", path);
        return nullptr;
    }
    GError* err = nullptr;
    PixbufPtr pixbuf(gdk_pixbuf_new_from_file(name.c_str(), &err));
    if (!pixbuf) why = naming(takeMessage(err, "cannot decode picture"), path, name);
    g_clear_error(&err);
    return pixbuf;
}

// Where the bytes a file's walk hands on go. A BMP or a PNG goes straight
// to its own format's loader, so that its rows are not copied twice more on
// their way: its size is judged before a byte is handed on, and the picture
// is used only when the walk ends well. A PNG's progressive loader gives a
// picture whose rows did not all come, so it is used only once the loader's
// updates reached its last row; an interlaced PNG's last row comes in every
// pass, so it goes to the file decoder instead, which refuses data that
// ends short. Any other format goes to a file in memory, sealed against any
// change once whole, which the decoder decodes.
class CopyDestination {
  public:
    // Told by the walk before the first byte.
    void formatIs(PictureFormat format) { format_ = format; }
    bool put(const uint8_t* data, size_t n) {
        if (loader_) return loader_->write(data, n) || refuse(loader_->refusal());
        if (memory_) return holdInMemory(data, n);
        head_.insert(head_.end(), data, data + n);
        return head_.size() < kHead || settle();
    }
    // After the walk: true when it is all in place.
    bool finish() {
        if (!loader_ && !memory_ && !settle()) return false;
        constexpr int kSeals = F_SEAL_SEAL | F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE;
        return loader_ || ::fcntl(memory_.get(), F_ADD_SEALS, kSeals) == 0 ||
               refuse("cannot seal the picture's copy");
    }
    // Why it refused what it was handed (the loader's own reason, when the
    // loader refused); empty while it took everything.
    const std::string& refused() const { return refused_; }
    // The picture, or nullptr with the reason, naming the file at `path`.
    PixbufPtr decode(const std::string& path, std::string& why) {
        if (!loader_) return decodeAs(memory_.get(), format_, path, why);
        PixbufPtr pixbuf = loader_->finish(why);
        if (!pixbuf) why = naming(why, path);
        return pixbuf;
    }

  private:
    static constexpr size_t kHead = 64;
    // Where a PNG's IHDR tells its interlace method.
    static constexpr size_t kPngInterlace = 8 + 8 + 12;

    bool settle() {
        if (format_ == PictureFormat::Bmp) return stream(false);
        if (format_ == PictureFormat::Png && head_.size() > kPngInterlace &&
            head_[kPngInterlace] == 0)
            return stream(true);
        memory_.reset(::memfd_create("picture", MFD_CLOEXEC | MFD_ALLOW_SEALING));
        return memory_ ? holdInMemory(head_.data(), head_.size())
                       : refuse("cannot hold the picture's copy in memory");
    }
    bool stream(bool everyRow) {
        loader_.emplace(loaderName(format_));
        if (everyRow) loader_->requireEveryRow();
        return loader_->write(head_.data(), head_.size()) || refuse(loader_->refusal());
    }
    bool holdInMemory(const uint8_t* data, size_t n) {
        return writeAll(memory_.get(), reinterpret_cast<const char*>(data), n) ||
               refuse("cannot hold the picture's copy in memory");
    }
    bool refuse(std::string why) {
        refused_ = std::move(why);
        return false;
    }

    PictureFormat format_ = PictureFormat::Png;
    std::string refused_;
    std::vector<uint8_t> head_;
    std::optional<TypedLoader> loader_;
    UniqueFd memory_;
};

}  // namespace

PictureFileState PictureFileState::of(const struct stat& st) {
    return {st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

bool PictureFileState::operator==(const PictureFileState& o) const {
    auto same = [](const timespec& a, const timespec& b) {
        return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    };
    return dev == o.dev && ino == o.ino && size == o.size && same(mtime, o.mtime) &&
           same(ctime, o.ctime);
}

namespace {

// The picture in the regular file open at `file`, named `path` in reasons.
std::optional<Surface> decodeOpened(int file, const std::string& path, Color transparentAs,
                                    std::string* error, std::optional<PictureFileState>* read) {
    const PictureLoadHooks* hooks = pictureLoadHooks;
    if (read) read->reset();
    struct stat before {};
    if (::fstat(file, &before) != 0 || !S_ISREG(before.st_mode))
        return fail(error, "not a picture file: " + path);

    // The one walk of the file. The declared size decides before the
    // decoder allocates anything.
    silenceLoaderLog();
    CopyDestination copy;
    const PictureBytes fromFile = fileBytes(file);
    bool readFailed = false;
    const PictureHeader header = readPicture(
        [&](uint64_t at, uint8_t* out, size_t n) {
            const size_t got = fromFile(at, out, n);
            readFailed = readFailed || got == kPictureReadError;
            return got;
        },
        [&copy](const uint8_t* data, size_t n) { return copy.put(data, n); },
        [&copy](PictureFormat format) { copy.formatIs(format); });
    struct stat after {};
    if (read && ::fstat(file, &after) == 0 &&
        PictureFileState::of(after) == PictureFileState::of(before))
        *read = PictureFileState::of(before);
    // The first thing that went wrong is the reason.
    if (readFailed) return fail(error, "cannot read: " + path);
    if (!copy.refused().empty()) return fail(error, naming(copy.refused(), path));
    if (const char* why = refusal(header.verdict)) return fail(error, why + path);
    if (!copy.finish()) return fail(error, naming(copy.refused(), path));
    if (hooks && hooks->afterRead) hooks->afterRead();

    std::string why;
    const PixbufPtr pixbuf = copy.decode(path, why);
    if (!pixbuf) return fail(error, why);

    const GdkPixbuf* pb = pixbuf.get();
    const int w = gdk_pixbuf_get_width(pb), h = gdk_pixbuf_get_height(pb);
    const int channels = gdk_pixbuf_get_n_channels(pb);
    const bool alpha = gdk_pixbuf_get_has_alpha(pb);
    if (!pictureSizeAllowed(w, h)) return fail(error, "picture size refused: " + path);
    if (gdk_pixbuf_get_colorspace(pb) != GDK_COLORSPACE_RGB ||
        gdk_pixbuf_get_bits_per_sample(pb) != 8 || channels != (alpha ? 4 : 3)) {
        return fail(error, "unsupported pixel layout: " + path);
    }
    const auto stride = static_cast<size_t>(gdk_pixbuf_get_rowstride(pb));
    const guint8* data = gdk_pixbuf_read_pixels(pb);

    Surface out(w, h);
    for (int y = 0; y < h; ++y) {
        const guint8* p = data + static_cast<size_t>(y) * stride;
        for (int x = 0; x < w; ++x, p += channels) {
            const bool clear = alpha && p[3] < 128;
            out.set(x, y, clear ? transparentAs : rgb(p[0], p[1], p[2]));
        }
    }
    return out;
}

}  // namespace

std::optional<Surface> loadPictureFile(const std::string& path, Color transparentAs,
                                       std::string* error, std::optional<PictureFileState>* read) {
    if (read) read->reset();
    if (const PictureLoadHooks* hooks = pictureLoadHooks; hooks && hooks->beforeOpen)
        hooks->beforeOpen();
    // Only regular files: opening a FIFO or device could block or never end.
    const OpenedForReading opened = openForReading(path, ReadAs::RegularFile);
    if (!opened) {
        const bool noFile = opened.notRegular || opened.error == EISDIR || opened.error == ENOENT;
        return fail(error, (noFile ? "not a picture file: " : "cannot read: ") + path);
    }
    return decodeOpened(opened.fd.get(), path, transparentAs, error, read);
}

std::optional<Surface> loadOpenedPictureFile(int file, const std::string& path, Color transparentAs,
                                             std::string* error,
                                             std::optional<PictureFileState>* read) {
    return decodeOpened(file, path, transparentAs, error, read);
}

WriteResult writePng(const Surface& surface, const std::string& path, const ProtectedFiles& keep) {
    const int32_t w = surface.width(), h = surface.height();
    if (w <= 0 || h <= 0) return WriteResult::failed("the picture is empty");
    PixbufPtr pixbuf(gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, w, h));
    if (!pixbuf) return WriteResult::failed(ENOMEM);  // too large to allocate
    const auto stride = static_cast<size_t>(gdk_pixbuf_get_rowstride(pixbuf.get()));
    guint8* data = gdk_pixbuf_get_pixels(pixbuf.get());
    for (int32_t y = 0; y < h; ++y) {
        guint8* p = data + static_cast<size_t>(y) * stride;
        for (int32_t x = 0; x < w; ++x, p += 3) {
            const Color c = surface.at(x, y);
            p[0] = static_cast<guint8>(c & 255);
            p[1] = static_cast<guint8>((c >> 8) & 255);
            p[2] = static_cast<guint8>((c >> 16) & 255);
        }
    }
    GError* err = nullptr;
    gchar* bytes = nullptr;
    gsize size = 0;
    const bool encoded =
        gdk_pixbuf_save_to_buffer(pixbuf.get(), &bytes, &size, "png", &err, nullptr) != FALSE;
    g_clear_error(&err);
    const std::unique_ptr<gchar, decltype(&g_free)> owned(bytes, g_free);
    if (!encoded) return WriteResult::failed("the picture could not be encoded as PNG");
    return replaceFile(
        path, [bytes, size](int fd) { return writeAll(fd, bytes, size); }, keep);
}

}  // namespace platform
