// Hostile pictures, made as they are read (nothing of their length is held):
// each must be decided in milliseconds, and what goes on to the decoder
// stays small, whatever the file's length.
// - an 8 x 8 progressive JPEG followed by 1,000,000 empty scans (10 MB);
// - an 8 x 8 JPEG after 16 MB of restart-interval segments;
// - a 1 x 1 GIF after 200 MB of stray runs of 65,000 bytes, each followed
//   by an empty comment;
// - an 8 x 8 JPEG after 1 GB of JFIF segments ("handed" counts the bytes
//   that go on to the decoder);
// - an 8192 x 8192 grey JPEG with 500 MB of fill bytes before its end
//   marker, loaded from a file: decoded, as the fill is not refused.
#include <benchmark/benchmark.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/pictures/picture_file.h"
#include "platform/picture_readers/picture_header.h"

namespace {

using Bytes = std::vector<uint8_t>;

// `head`, `count` copies of `unit`, and `tail`.
platform::PictureBytes repeated(Bytes head, Bytes unit, uint64_t count, Bytes tail) {
    const uint64_t body = unit.size() * count, size = head.size() + body + tail.size();
    return [=](uint64_t offset, uint8_t* out, size_t n) -> size_t {
        size_t got = 0;
        for (; got < n && offset + got < size; ++got) {
            const uint64_t at = offset + got;
            out[got] = at < head.size()          ? head[at]
                       : at < head.size() + body ? unit[(at - head.size()) % unit.size()]
                                                 : tail[at - head.size() - body];
        }
        return got;
    };
}

// A JPEG of one colour, `side` pixels square, as gdk-pixbuf writes it.
Bytes jpegOf(int side, guint32 rgba) {
    GdkPixbuf* pb = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, side, side);
    gdk_pixbuf_fill(pb, rgba);
    gchar* data = nullptr;
    gsize size = 0;
    gdk_pixbuf_save_to_buffer(pb, &data, &size, "jpeg", nullptr, nullptr);
    g_object_unref(pb);
    Bytes b(data, data + size);
    g_free(data);
    return b;
}

// An 8 x 8 JPEG, less its first two bytes (SOI).
Bytes jpegAfterStart() {
    const Bytes b = jpegOf(8, 0x336699FF);
    return Bytes(b.begin() + 2, b.end());
}

void walk(benchmark::State& st, const platform::PictureBytes& file,
          platform::PictureHeader::Verdict expected) {
    uint64_t handed = 0;
    for (auto _ : st) {
        handed = 0;
        const auto h = platform::readPicture(file, [&handed](const uint8_t*, size_t n) {
            handed += n;
            return true;
        });
        if (h.verdict != expected) st.SkipWithError("not the verdict expected");
    }
    st.counters["handed"] = static_cast<double>(handed);
}

void BM_JpegEmptyScans(benchmark::State& st) {
    walk(st,
         repeated({0xFF, 0xD8, 0xFF, 0xC2, 0, 11, 8, 0, 8, 0, 8, 1, 1, 0x11, 0},
                  {0xFF, 0xDA, 0, 8, 1, 1, 0, 0, 0, 0}, 1000000, {0xFF, 0xD9}),
         platform::PictureHeader::Verdict::TooManyScans);
}

void BM_JpegRestartSegments(benchmark::State& st) {
    walk(st, repeated({0xFF, 0xD8}, {0xFF, 0xDD, 0, 4, 0, 1}, (16u << 20) / 6, jpegAfterStart()),
         platform::PictureHeader::Verdict::Padded);
}

void BM_GifStrayRuns(benchmark::State& st) {
    Bytes run(65000, 0);
    run.insert(run.end(), {0x21, 0xFE, 0});
    walk(st,
         repeated({'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 255, 0, 0, 0, 0, 255}, run,
                  (200u << 20) / run.size(),
                  {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0, 0x3B}),
         platform::PictureHeader::Verdict::Padded);
}

void BM_JpegAfterAGigabyteOfApp0(benchmark::State& st) {
    Bytes app0{0xFF, 0xE0, 0xFF, 0xFF, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 255, 255};
    app0.resize(2 + 0xFFFF, 0x55);
    walk(st, repeated({0xFF, 0xD8}, app0, (uint64_t{1} << 30) / app0.size(), jpegAfterStart()),
         platform::PictureHeader::Verdict::Fits);
}

void BM_JpegFillBeforeTheEnd(benchmark::State& st) {
    char path[] = "/tmp/kavrel-fill-bench-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) {
        st.SkipWithError("no temporary file");
        return;
    }
    const Bytes grey = jpegOf(8192, 0x808080FF);
    const auto head = static_cast<ssize_t>(grey.size() - 2);  // up to its end marker
    bool written = ::write(fd, grey.data(), grey.size() - 2) == head;
    const Bytes fill(1 << 20, 0xFF);
    for (int i = 0; i < 500 && written; ++i)
        written = ::write(fd, fill.data(), fill.size()) == static_cast<ssize_t>(fill.size());
    written = written && ::write(fd, "\xFF\xD9", 2) == 2;
    uint64_t handed = 0;
    platform::readPicture(platform::fileBytes(fd), [&handed](const uint8_t*, size_t n) {
        handed += n;
        return true;
    });
    ::close(fd);
    for (auto _ : st) {
        if (!written || !platform::loadPictureFile(path, 0)) st.SkipWithError("not loaded");
    }
    st.counters["handed"] = static_cast<double>(handed);
    ::unlink(path);
}

}  // namespace

BENCHMARK(BM_JpegEmptyScans)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegRestartSegments)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifStrayRuns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegAfterAGigabyteOfApp0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegFillBeforeTheEnd)->Unit(benchmark::kMillisecond)->Iterations(3);
