// The Winsock control against peers on the loopback address only.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <string>
#include <thread>

#include "platform/windows/desktop.h"
#include "platform/windows/window.h"
#include "platform/sockets/winsock.h"

namespace platform {
namespace {

// A loopback socket bound to a free port; listening unless told otherwise
// (bound but not listening, it refuses connections).
class LoopbackPeer {
  public:
    explicit LoopbackPeer(bool listening = true, int receiveBuffer = 0) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (receiveBuffer > 0)
            ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = 0;
        socklen_t len = sizeof a;
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&a), len) == 0 &&
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len) == 0)
            port_ = ntohs(a.sin_port);
        if (listening) ::listen(fd_, 4);
    }
    ~LoopbackPeer() {
        if (conn_ >= 0) ::close(conn_);
        ::close(fd_);
    }
    LoopbackPeer(const LoopbackPeer&) = delete;
    LoopbackPeer& operator=(const LoopbackPeer&) = delete;

    int32_t port() const { return port_; }

    // The accepted connection (-1 when none came within a short while).
    int accept() {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, 500) == 1) conn_ = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        return conn_;
    }

    // Reads what has arrived, waiting up to `ms` for the first byte.
    std::string readSome(int ms) {
        std::string got;
        pollfd p{conn_, POLLIN, 0};
        if (::poll(&p, 1, ms) != 1) return got;
        char buf[65536];
        for (;;) {
            const ssize_t n = ::recv(conn_, buf, sizeof buf, MSG_DONTWAIT);
            if (n <= 0) break;
            got.append(buf, static_cast<size_t>(n));
        }
        return got;
    }

    // True when the other side ended the stream within `ms`.
    bool ended(int ms) {
        pollfd p{conn_, POLLIN, 0};
        if (::poll(&p, 1, ms) != 1) return false;
        char c = 0;
        return ::recv(conn_, &c, 1, MSG_DONTWAIT) == 0;
    }

    void widenReceiveBuffer() {
        int size = 1 << 20;
        ::setsockopt(conn_, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    }

    void closeConnection(bool reset) {
        if (reset) {
            linger l{1, 0};  // close with a reset instead of an orderly end
            ::setsockopt(conn_, SOL_SOCKET, SO_LINGER, &l, sizeof l);
        }
        ::close(conn_);
        conn_ = -1;
    }

  private:
    int fd_ = -1;
    int conn_ = -1;
    int32_t port_ = 0;
};

class WinsockTest : public ::testing::Test {
  protected:
    Desktop desktop;
    Window form{desktop, "Form1"};
    Winsock& sock = form.add<Winsock>("Winsock1");

    // Lets virtual time pass, with short real sleeps for the kernel, until
    // `done` holds; a bounded number of tries.
    bool waitUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 200; ++i) {
            if (done()) return true;
            desktop.loop().wait(1);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return done();
    }

    bool connectTo(int32_t port) {
        sock.setRemoteHost("127.0.0.1");
        sock.setRemotePort(port);
        return sock.Connect();
    }

    // Connects to `peer` and has it accept; false when that did not happen.
    bool connectToPeer(LoopbackPeer& peer) {
        return connectTo(peer.port()) &&
               waitUntil([&] { return sock.State() == Winsock::kConnected; }) && peer.accept() >= 0;
    }
};

std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s.push_back(static_cast<char>(v));
    return s;
}

TEST_F(WinsockTest, ConnectsToALoopbackListener) {
    LoopbackPeer peer;
    ASSERT_GT(peer.port(), 0);
    EXPECT_EQ(sock.State(), Winsock::kClosed);
    ASSERT_TRUE(connectTo(peer.port()));
    const int16_t first = sock.State();
    EXPECT_TRUE(first == Winsock::kConnecting || first == Winsock::kConnected) << first;
    EXPECT_TRUE(waitUntil([&] { return sock.State() == Winsock::kConnected; }));
    EXPECT_GE(peer.accept(), 0);
    EXPECT_EQ(sock.property("State"), "7");

    // Connecting again while connected is refused and changes nothing.
    EXPECT_FALSE(sock.Connect());
    EXPECT_EQ(sock.State(), Winsock::kConnected);
    EXPECT_TRUE(sock.SendData(uint8_t{42}));
    EXPECT_EQ(peer.readSome(500), bytes({42}));
}

TEST_F(WinsockTest, RecordsArriveInOrderWithLittleEndianIntegers) {
    LoopbackPeer peer;
    ASSERT_TRUE(connectToPeer(peer));

    // Two 11-byte records: x and y as 32-bit integers, then red, green, blue.
    const auto record = [&](int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) {
        return sock.SendData(x) && sock.SendData(y) && sock.SendData(r) && sock.SendData(g) &&
               sock.SendData(b);
    };
    ASSERT_TRUE(record(1, 0, 255, 0, 0));
    ASSERT_TRUE(record(0x01020304, -2, 0, 128, 7));
    const std::string expected = bytes({1, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0}) +
                                 bytes({0x04, 0x03, 0x02, 0x01, 0xFE, 0xFF, 0xFF, 0xFF, 0, 128, 7});
    std::string got;
    for (int i = 0; i < 50 && got.size() < expected.size(); ++i) got += peer.readSome(10);
    EXPECT_EQ(got, expected);
}

TEST_F(WinsockTest, BytesTheSocketCannotTakeYetAreSentByLaterWaits) {
    LoopbackPeer peer(true, 4096);  // a small window keeps most bytes waiting
    ASSERT_TRUE(connectToPeer(peer));

    std::string data(8u << 20, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 % 251);
    ASSERT_TRUE(sock.SendData(data));

    // Without a poll only what the kernel took at once arrives.
    std::string got;
    for (std::string part; !(part = peer.readSome(20)).empty();) got += part;
    ASSERT_LT(got.size(), data.size());

    // The event loop's waits push out the rest, in order.
    peer.widenReceiveBuffer();
    for (int i = 0; i < 2000 && got.size() < data.size(); ++i) {
        desktop.loop().wait(1);
        got += peer.readSome(1);
    }
    EXPECT_EQ(got.size(), data.size());
    EXPECT_TRUE(got == data);
    EXPECT_EQ(sock.State(), Winsock::kConnected);
}

TEST_F(WinsockTest, APeerThatNeverReadsEndsInErrorInsteadOfEndlessBuffering) {
    LoopbackPeer peer(true, 4096);
    ASSERT_TRUE(connectToPeer(peer));

    const std::string block(12u << 20, 'x');
    EXPECT_TRUE(sock.SendData(block));
    EXPECT_EQ(sock.State(), Winsock::kConnected);
    EXPECT_FALSE(sock.SendData(block));
    EXPECT_EQ(sock.State(), Winsock::kError);
}

TEST_F(WinsockTest, NoListenerEndsInErrorAndSendingThenDoesNothing) {
    LoopbackPeer closedPort(false);
    ASSERT_GT(closedPort.port(), 0);
    ASSERT_TRUE(connectTo(closedPort.port()));
    EXPECT_TRUE(waitUntil([&] { return sock.State() == Winsock::kError; }));

    EXPECT_FALSE(sock.SendData(int32_t{5}));
    EXPECT_FALSE(sock.SendData(uint8_t{5}));
    EXPECT_FALSE(sock.SendData(std::string("abc")));
    // Connecting again before Close is refused and keeps the error.
    EXPECT_FALSE(sock.Connect());
    EXPECT_EQ(sock.State(), Winsock::kError);

    sock.Close();
    EXPECT_EQ(sock.State(), Winsock::kClosed);
    LoopbackPeer listener;
    ASSERT_TRUE(connectTo(listener.port()));
    EXPECT_TRUE(waitUntil([&] { return sock.State() == Winsock::kConnected; }));
}

TEST_F(WinsockTest, PeerCloseGivesClosingAndPeerResetGivesError) {
    {
        LoopbackPeer peer;
        ASSERT_TRUE(connectToPeer(peer));
        peer.closeConnection(false);
        EXPECT_TRUE(waitUntil([&] { return sock.State() == Winsock::kClosing; }));
        EXPECT_FALSE(sock.SendData(int32_t{1}));
        EXPECT_EQ(sock.State(), Winsock::kClosing);
        sock.Close();
    }
    {
        LoopbackPeer peer;
        ASSERT_TRUE(connectToPeer(peer));
        peer.closeConnection(true);
        EXPECT_TRUE(waitUntil([&] { return sock.State() == Winsock::kError; }));
    }
}

TEST_F(WinsockTest, BadPortOrHostIsRefusedAndTheStateStaysClosed) {
    for (int32_t port :
         {-1, 65536, std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()}) {
        EXPECT_FALSE(connectTo(port)) << port;
        EXPECT_EQ(sock.State(), Winsock::kClosed) << port;
        EXPECT_EQ(sock.RemotePort(), port);  // kept as set
    }
    sock.setRemotePort(57123);
    for (const std::string& host : {std::string(), std::string("127.0.0.1\0x", 11)}) {
        sock.setRemoteHost(host);
        EXPECT_FALSE(sock.Connect());
        EXPECT_EQ(sock.State(), Winsock::kClosed);
    }
}

TEST_F(WinsockTest, CloseEndsTheConnectionAndDestructionReleasesIt) {
    LoopbackPeer peer;
    ASSERT_TRUE(connectToPeer(peer));
    sock.Close();
    EXPECT_EQ(sock.State(), Winsock::kClosed);
    EXPECT_FALSE(sock.SendData(uint8_t{1}));
    EXPECT_TRUE(peer.ended(500));

    // A control destroyed while connected closes its socket and leaves the
    // event loop without its poller.
    LoopbackPeer second;
    {
        Window other{desktop, "Form2"};
        auto& s = other.add<Winsock>("Winsock1");
        s.setRemoteHost("127.0.0.1");
        s.setRemotePort(second.port());
        ASSERT_TRUE(s.Connect());
        ASSERT_TRUE(waitUntil([&] { return s.State() == Winsock::kConnected; }));
        ASSERT_GE(second.accept(), 0);
    }
    desktop.loop().wait(5);
    EXPECT_TRUE(second.ended(500));
}

TEST_F(WinsockTest, IsAnInvisibleControlWithScriptProperties) {
    sock.setRemoteHost(" localhost ");
    sock.setRemotePort(57123);
    EXPECT_EQ(sock.property("RemoteHost"), " localhost ");  // as typed
    EXPECT_EQ(sock.property("RemotePort"), "57123");
    EXPECT_EQ(sock.property("State"), "0");
    EXPECT_EQ(sock.property("Kind"), "Winsock");
    form.Show();
    sock.setVisible(true);
    EXPECT_FALSE(sock.Visible());
    EXPECT_FALSE(sock.userClick());
}

}  // namespace
}  // namespace platform
