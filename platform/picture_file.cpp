#include "platform/picture_file.h"

#include <fcntl.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <sys/mman.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <mutex>
#include <system_error>

#include "platform/fd_write.h"
#include "platform/file_replace.h"

namespace platform {

namespace {

struct Unref {
    void operator()(GdkPixbuf* p) const { g_object_unref(p); }
};
using PixbufPtr = std::unique_ptr<GdkPixbuf, Unref>;

std::optional<Surface> fail(std::string* error, std::string reason) {
    if (error) *error = std::move(reason);
    return std::nullopt;
}

struct FdCloser {
    int fd;
    ~FdCloser() {
        if (fd >= 0) ::close(fd);
    }
};

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

// Only the first frame of a GIF is shown, and the decoder appends every frame
// to a list from its head, which is quadratic in the frame count. So a GIF
// with more after its first frame is decoded from a copy in memory of the
// file up to the end of the first frame's image data (`end`, see
// PictureHeader::firstFrameEnd) and a trailer, read as a file like any other
// picture (the decoder's incremental form is far slower on long frames).
// The copy's descriptor, or -1.
int gifFirstFrameCopy(int fd, uint64_t end) {
    const int copy = ::memfd_create("gif-first-frame", MFD_CLOEXEC);
    if (copy < 0) return -1;
    off_t at = 0;
    while (static_cast<uint64_t>(at) < end) {
        const ssize_t n = ::sendfile(copy, fd, &at, end - static_cast<uint64_t>(at));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
    }
    const char trailer = 0x3B;
    if (static_cast<uint64_t>(at) < end || !writeAll(copy, &trailer, 1)) {
        ::close(copy);
        return -1;
    }
    return copy;
}

}  // namespace

std::optional<Surface> loadPictureFile(const std::string& path, Color transparentAs,
                                       std::string* error) {
    // Only regular files: opening a FIFO or device could block or never end.
    std::error_code ec;
    if (path.empty() || path.find('\0') != std::string::npos ||
        !std::filesystem::is_regular_file(path, ec)) {
        return fail(error, "not a picture file: " + path);
    }
    // One open file: its declared size is read through it, and the decode
    // reads the same file through /proc even if the path changes meanwhile.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return fail(error, "cannot read: " + path);
    const FdCloser closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return fail(error, "not a picture file: " + path);

    // The declared size decides before the decoder allocates anything.
    const PictureHeader header = readPictureHeaderOfFile(fd);
    switch (header.verdict) {
        case PictureHeader::Verdict::Fits:
            break;
        case PictureHeader::Verdict::TooLarge:
            return fail(error, "picture too large: " + path);
        case PictureHeader::Verdict::TooManyScans:
            return fail(error, "too many scans: " + path);
        case PictureHeader::Verdict::UnknownFormat:
            return fail(error, "unknown picture format: " + path);
        case PictureHeader::Verdict::Broken:
            return fail(error, "cannot decode picture: " + path);
    }
    silenceLoaderLog();

    int decoded = fd;
    if (header.format == PictureFormat::Gif && header.firstFrameEnd != 0 &&
        static_cast<uint64_t>(st.st_size) > header.firstFrameEnd + 1) {
        decoded = gifFirstFrameCopy(fd, header.firstFrameEnd);
        if (decoded < 0) return fail(error, "cannot read: " + path);
    }
    const FdCloser copyCloser{decoded == fd ? -1 : decoded};
    GError* err = nullptr;
    const std::string same = "/proc/self/fd/" + std::to_string(decoded);
    PixbufPtr pixbuf(gdk_pixbuf_new_from_file(same.c_str(), &err));
    if (!pixbuf) return fail(error, takeMessage(err, "cannot decode picture"));
    g_clear_error(&err);

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

WriteResult writePng(const Surface& surface, const std::string& path) {
    const int32_t w = surface.width(), h = surface.height();
    if (w <= 0 || h <= 0) return WriteResult::refused("the picture is empty");
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
    if (!encoded) return WriteResult::refused("the picture could not be encoded as PNG");
    return replaceFile(path, [bytes, size](int fd) { return writeAll(fd, bytes, size); });
}

}  // namespace platform
