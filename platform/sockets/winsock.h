#pragma once
// A Winsock control used as a TCP client: set the remote host and port,
// connect, send values, close, and read the connection's state number. It is
// invisible at run time and takes no user actions.
//
// Connecting does not block on the connection: the state advances whenever it
// is read and on every pass of the event loop's waits. Host names are resolved
// at once (a name may block briefly); only IPv4 addresses are used, as by the
// control this stands in for.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/windows/control.h"
#include "platform/files/unique_fd.h"

namespace platform {

class EventLoop;

class Winsock : public Control {
  public:
    // State numbers.
    static constexpr int16_t kClosed = 0;
    static constexpr int16_t kOpen = 1;
    static constexpr int16_t kListening = 2;
    static constexpr int16_t kConnectionPending = 3;
    static constexpr int16_t kResolvingHost = 4;
    static constexpr int16_t kHostResolved = 5;
    static constexpr int16_t kConnecting = 6;
    static constexpr int16_t kConnected = 7;
    static constexpr int16_t kClosing = 8;
    static constexpr int16_t kError = 9;

    // Bytes waiting for a peer that does not read are capped: when what
    // could not go out at once would pass this, the connection counts as
    // failed (state 9) rather than growing without end.
    static constexpr size_t kMaxPendingBytes = 16u << 20;

    Winsock(Window& parent, std::string name, int index = -1);
    ~Winsock() override;
    const char* kind() const override { return "Winsock"; }

    // Never shown at run time.
    void setVisible(bool) override {}

    // A name or dotted address, taken as typed (not trimmed).
    const std::string& RemoteHost() const { return remoteHost_; }
    void setRemoteHost(std::string host) { remoteHost_ = std::move(host); }
    // Any value is kept; Connect refuses one outside 0..65535.
    int32_t RemotePort() const { return remotePort_; }
    void setRemotePort(int32_t port) { remotePort_ = port; }

    // Starts connecting to RemoteHost:RemotePort. False, with the state kept,
    // when the state is not closed, the port is out of range or the host is
    // empty or holds a NUL. Otherwise true and the state is 7 (connected), 6
    // (connecting) or 9 (the host did not resolve or the connection was
    // refused at once). Names resolve inside Connect, so states 4 and 5 are
    // never seen.
    bool Connect();
    // The state number after taking in what the socket reports by now.
    int16_t State() const;

    // Sends while connecting or connected: an integer as 4 bytes
    // little-endian, a byte as one byte, a string as its bytes. Bytes the
    // socket cannot take now (or before the connection is made) wait and go
    // out on later polls, in order. False (and nothing sent) otherwise, or
    // when the wait would pass the cap (the connection then fails).
    bool SendData(int32_t value);
    bool SendData(uint8_t value);
    bool SendData(const std::string& bytes);

    // Releases the socket and any unsent bytes; the state becomes 0.
    void Close();

  protected:
    std::optional<std::string> answerProperty(PropertyQuery& q) const override;

  private:
    // What the socket holds. Reading the state looks at the socket, so this is
    // kept mutable for the const readers.
    struct Link {
        UniqueFd fd;
        int16_t state = kClosed;
        std::string pending;  // accepted by SendData, not yet taken by the socket
        size_t sent = 0;      // how much of `pending` the socket has taken
    };

    void poll() const;
    void finishConnect() const;
    void watchPeer() const;
    void flush() const;
    // Sends what the socket takes now; a socket error fails the connection.
    size_t sendNow(const char* bytes, size_t n) const;
    void fail() const;
    void release() const;
    bool queue(const char* bytes, size_t n);
    size_t waiting() const { return link_.pending.size() - link_.sent; }
    void dropPending() const;

    EventLoop& loop_;
    int pollerId_ = 0;
    std::string remoteHost_;
    int32_t remotePort_ = 0;
    mutable Link link_;
};

}  // namespace platform
