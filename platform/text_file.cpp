#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <random>
#include <system_error>

namespace platform {

namespace {

// A name beside `path` that no file has yet, created empty; nullopt when none
// could be made (a missing folder, no permission).
std::optional<std::string> createTemporaryBeside(const std::string& path) {
    std::random_device device;
    std::mt19937_64 gen(
        (static_cast<uint64_t>(device()) << 32) ^ static_cast<uint64_t>(::getpid()) ^
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string candidate = path + ".tmp" + std::to_string(gen() % 1000000000ULL);
        // O_EXCL: never take over a file someone else has; 0666 lets the
        // umask decide the permissions, as for any new file.
        int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return candidate;
        }
        if (errno != EEXIST) return std::nullopt;
    }
    return std::nullopt;
}

// The file a save at `path` replaces: `path` itself, or the file the chain of
// symbolic links at `path` ends in (which need not exist yet), so that the
// links stay. nullopt for a loop or a link that cannot be read.
std::optional<std::string> linkTarget(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path p = path;
    // As many links as the system itself follows before it gives up.
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p.string();
        std::error_code ec;
        const fs::path next = fs::read_symlink(p, ec);
        if (ec) return std::nullopt;
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    return std::nullopt;
}

struct Replaceable {
    bool allowed = false;
    std::optional<mode_t> mode;  // the permissions the new file keeps
};

// Whether a save may replace `target`, looked at without opening it (a FIFO
// would block): not a read-only file, whoever runs the program, nor anything
// but a regular file. A file that does not exist yet may be made.
Replaceable replaceable(const std::string& target) {
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0) return {errno == ENOENT, std::nullopt};
    if (!S_ISREG(st.st_mode)) return {};
    // No write bit at all: read-only even for the superuser, who passes
    // access() whatever the bits say.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return {};
    if (::access(target.c_str(), W_OK) != 0) return {};
    return {true, st.st_mode & 07777};
}

}  // namespace

bool fileExists(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

bool TextFileWriter::open(const std::string& path) {
    if (out_.is_open()) out_.close();
    out_.clear();
    out_.open(path, std::ios::binary | std::ios::trunc);
    ok_ = out_.is_open();
    return ok_;
}

bool TextFileWriter::writeLine(std::string_view utf8) {
    if (!out_.is_open()) {
        ok_ = false;
        return false;
    }
    std::string line = utf8ToCp1252(utf8);
    line += "\r\n";
    out_.write(line.data(), static_cast<std::streamsize>(line.size()));
    if (!out_) ok_ = false;
    return static_cast<bool>(out_);
}

bool TextFileWriter::close() {
    if (out_.is_open()) {
        out_.flush();
        if (!out_) ok_ = false;
        out_.close();
        if (out_.fail()) ok_ = false;
    }
    return ok_;
}

bool TextFileReader::open(const std::string& path) {
    close();
    // An ifstream would open a folder and fail only on reading.
    if (!fileExists(path)) return false;
    in_.open(path, std::ios::binary);
    if (!in_.is_open()) return false;
    atEnd_ = in_.peek() == std::ifstream::traits_type::eof();
    return true;
}

std::optional<std::string> TextFileReader::readLine() {
    if (atEnd_ || !in_.is_open()) return std::nullopt;
    std::string raw;
    std::getline(in_, raw, '\n');
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    atEnd_ = !in_ || in_.peek() == std::ifstream::traits_type::eof();
    return cp1252ToUtf8(raw);
}

void TextFileReader::close() {
    if (in_.is_open()) in_.close();
    in_.clear();
    atEnd_ = true;
}

bool replaceFileAtomically(const std::string& path,
                           const std::function<bool(TextFileWriter&)>& write) {
    if (path.empty() || !write) return false;
    const std::optional<std::string> target = linkTarget(path);
    if (!target) return false;
    const Replaceable old = replaceable(*target);
    if (!old.allowed) return false;
    auto temp = createTemporaryBeside(*target);
    if (!temp) return false;
    auto discard = [&] {
        std::error_code ec;
        std::filesystem::remove(*temp, ec);
    };
    TextFileWriter writer;
    bool written = false;
    try {
        written = writer.open(*temp) && write(writer);
    } catch (...) {
        writer.close();
        discard();
        throw;
    }
    // Close in every case, so the temporary can be removed and a write error
    // that only shows on flushing still counts.
    bool closed = writer.close();
    // The permissions are set only now: a read-only temporary could not be
    // reopened for writing.
    const bool modeKept = !old.mode || ::chmod(temp->c_str(), *old.mode) == 0;
    if (!written || !closed || !modeKept) {
        discard();
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(*temp, *target, ec);
    if (ec) {
        discard();
        return false;
    }
    return true;
}

}  // namespace platform
