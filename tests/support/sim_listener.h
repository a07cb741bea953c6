#pragma once
// A stand-in matrix simulator on the loopback address: accepts one client,
// reads the 11-byte light records as they come and keeps the lights they
// name. Polled by the test; it never blocks for long.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/pictures/picture_file.h"
#include "platform/drawing/surface.h"

namespace kavrel::testing {

struct SimRecord {
    int32_t x = 0;
    int32_t y = 0;
    uint8_t r = 0, g = 0, b = 0;
};

class SimListener {
  public:
    // Listening on a free loopback port; `listening` false leaves the port
    // bound but refusing connections.
    explicit SimListener(bool listening = true, int receiveBuffer = 0) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (receiveBuffer > 0)
            ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&a), len) == 0 &&
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len) == 0)
            port_ = ntohs(a.sin_port);
        if (listening) ::listen(fd_, 4);
    }
    ~SimListener() {
        closeClient();
        ::close(fd_);
    }
    SimListener(const SimListener&) = delete;
    SimListener& operator=(const SimListener&) = delete;

    int32_t port() const { return port_; }
    std::string portText() const { return std::to_string(port_); }
    bool connected() const { return conn_ >= 0; }
    // The client closed its end.
    bool peerClosed() const { return peerClosed_; }

    // Accepts a waiting client and reads what has arrived (waiting up to
    // `ms` for something when nothing is there yet).
    void pump(int ms = 0) {
        if (conn_ < 0) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, ms) == 1) conn_ = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (conn_ < 0) return;
        }
        char buf[65536];
        for (;;) {
            pollfd p{conn_, POLLIN, 0};
            if (::poll(&p, 1, ms) != 1) return;
            ms = 0;
            const ssize_t n = ::recv(conn_, buf, sizeof buf, MSG_DONTWAIT);
            if (n == 0) peerClosed_ = true;
            if (n <= 0) return;
            bytes_.append(buf, static_cast<size_t>(n));
            parse();
        }
    }
    // Closes the accepted connection (the peer going away); the next pump
    // accepts the next client.
    void closeClient() {
        if (conn_ >= 0) ::close(conn_);
        conn_ = -1;
        peerClosed_ = false;
    }

    const std::string& bytes() const { return bytes_; }
    const std::vector<SimRecord>& records() const { return records_; }
    void forget() {
        records_.clear();
        bytes_.erase(0, parsed_);
        parsed_ = 0;
    }
    // The colour last received for a light, or -1.
    int64_t light(int32_t x, int32_t y) const {
        auto it = lights_.find({x, y});
        return it == lights_.end() ? -1 : static_cast<int64_t>(it->second);
    }
    // The lights received so far as a cols x rows picture (unknown: black).
    platform::Surface picture(int cols, int rows) const {
        platform::Surface s(cols, rows, 0);
        for (const auto& [pos, c] : lights_) s.put(pos.first, pos.second, c);
        return s;
    }

  private:
    void parse() {
        while (bytes_.size() - parsed_ >= 11) {
            const auto* p = reinterpret_cast<const uint8_t*>(bytes_.data() + parsed_);
            SimRecord r;
            r.x = static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 | uint32_t{p[3]} << 24);
            r.y = static_cast<int32_t>(p[4] | p[5] << 8 | p[6] << 16 | uint32_t{p[7]} << 24);
            r.r = p[8];
            r.g = p[9];
            r.b = p[10];
            records_.push_back(r);
            lights_[{r.x, r.y}] = platform::rgb(r.r, r.g, r.b);
            parsed_ += 11;
        }
    }

    int fd_ = -1;
    int conn_ = -1;
    bool peerClosed_ = false;
    int32_t port_ = 0;
    std::string bytes_;
    size_t parsed_ = 0;
    std::vector<SimRecord> records_;
    std::map<std::pair<int32_t, int32_t>, platform::Color> lights_;
};

}  // namespace kavrel::testing
