#include "platform/sockets/winsock.h"

#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "platform/windows/desktop.h"
#include "platform/runtime/event_loop.h"
#include "platform/windows/window.h"

namespace platform {

namespace {
// Incoming bytes are read away in chunks of this size, at most this many
// chunks a poll, so a peer that keeps sending cannot hold a wait up.
constexpr size_t kDrainChunk = 4096;
constexpr int kDrainChunksPerPoll = 16;
}  // namespace

Winsock::Winsock(Window& parent, std::string name, int index)
    : Control(parent, std::move(name), index),
      loop_(parent.desktop().loop()),
      pollerId_(loop_.addPoller([this] { poll(); })) {
    Control::setVisible(false);
}

Winsock::~Winsock() {
    loop_.removePoller(pollerId_);
    release();
}

bool Winsock::Connect() {
    if (link_.state != kClosed) return false;
    if (remotePort_ < 0 || remotePort_ > 65535) return false;
    if (remoteHost_.empty() || remoteHost_.find('\0') != std::string::npos) return false;

    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(remotePort_);
    if (getaddrinfo(remoteHost_.c_str(), service.c_str(), &hints, &found) != 0 || !found) {
        link_.state = kError;
        return true;
    }
    const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> owned(found, &freeaddrinfo);

    link_.fd.reset(::socket(found->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!link_.fd) {
        fail();
        return true;
    }
    if (::connect(link_.fd.get(), found->ai_addr, found->ai_addrlen) == 0) {
        link_.state = kConnected;
    } else if (errno == EINPROGRESS || errno == EINTR) {
        // An interrupted connect goes on by itself; both finish on a later poll.
        link_.state = kConnecting;
    } else {
        fail();
    }
    return true;
}

int16_t Winsock::State() const {
    poll();
    return link_.state;
}

void Winsock::poll() const {
    if (!link_.fd) return;
    if (link_.state == kConnecting) finishConnect();
    if (link_.state == kConnected) flush();
    if (link_.state == kConnected) watchPeer();
}

void Winsock::finishConnect() const {
    pollfd p{link_.fd.get(), POLLOUT, 0};
    if (::poll(&p, 1, 0) <= 0) return;  // not yet (or interrupted): look again later
    if ((p.revents & (POLLOUT | POLLERR | POLLHUP)) == 0) return;
    int err = 0;
    socklen_t len = sizeof err;
    if (::getsockopt(link_.fd.get(), SOL_SOCKET, SO_ERROR, &err, &len) != 0 || err != 0) {
        fail();
        return;
    }
    link_.state = kConnected;
}

void Winsock::watchPeer() const {
    // Nothing here reads what the peer sends; reading it away keeps the
    // receive side from filling and lets the peer's close show behind it.
    char chunk[kDrainChunk];
    for (int i = 0; i < kDrainChunksPerPoll; ++i) {
        const ssize_t n = ::recv(link_.fd.get(), chunk, sizeof chunk, MSG_DONTWAIT);
        if (n > 0) continue;
        if (n == 0) {
            link_.state = kClosing;
            dropPending();
            return;
        }
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) fail();
        return;
    }
}

size_t Winsock::sendNow(const char* bytes, size_t n) const {
    size_t done = 0;
    while (done < n) {
        // MSG_NOSIGNAL: a peer gone away must give an error, not kill the process.
        const ssize_t sent =
            ::send(link_.fd.get(), bytes + done, n - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            done += static_cast<size_t>(sent);
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            break;
        } else {
            fail();
            break;
        }
    }
    return done;
}

void Winsock::flush() const {
    // Sent bytes are skipped, not erased: erasing from the front would copy
    // the whole queue on every partial send.
    const size_t sent = sendNow(link_.pending.data() + link_.sent, waiting());
    if (link_.state != kConnected) return;  // failed: the queue is gone
    link_.sent += sent;
    if (waiting() == 0) dropPending();
}

void Winsock::dropPending() const {
    link_.pending.clear();
    link_.sent = 0;
}

void Winsock::fail() const {
    release();
    dropPending();
    link_.state = kError;
}

void Winsock::release() const {
    link_.fd.reset();
}

void Winsock::Close() {
    release();
    dropPending();
    link_.state = kClosed;
}

bool Winsock::queue(const char* bytes, size_t n) {
    poll();
    if (link_.state != kConnected && link_.state != kConnecting) return false;
    if (link_.state == kConnected && waiting() == 0) {
        // Nothing waits: hand the bytes over at once and queue only the rest.
        const size_t sent = sendNow(bytes, n);
        if (link_.state != kConnected) return false;
        if (sent == n) return true;
        bytes += sent;
        n -= sent;
    }
    if (waiting() + n > kMaxPendingBytes) {
        fail();
        return false;
    }
    if (link_.sent > 0 && link_.sent >= link_.pending.size() / 2) {
        // Compact now and then so the queue's memory stays near what waits.
        link_.pending.erase(0, link_.sent);
        link_.sent = 0;
    }
    link_.pending.append(bytes, n);
    if (link_.state == kConnected) flush();
    return true;
}

bool Winsock::SendData(int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    const char bytes[4] = {static_cast<char>(u & 0xFFu), static_cast<char>((u >> 8) & 0xFFu),
                           static_cast<char>((u >> 16) & 0xFFu),
                           static_cast<char>((u >> 24) & 0xFFu)};
    return queue(bytes, sizeof bytes);
}

bool Winsock::SendData(uint8_t value) {
    const char byte = static_cast<char>(value);
    return queue(&byte, 1);
}

bool Winsock::SendData(const std::string& bytes) {
    return queue(bytes.data(), bytes.size());
}

std::optional<std::string> Winsock::answerProperty(PropertyQuery& q) const {
    if (q.is("RemoteHost")) return remoteHost_;
    if (q.is("RemotePort")) return propertyNumber(remotePort_);
    if (q.is("State")) return propertyNumber(static_cast<int64_t>(State()));
    return Control::answerProperty(q);
}

}  // namespace platform
