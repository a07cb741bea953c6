// The Winsock control's queue: a send larger than the cap, to a peer that
// reads, keeps the connection when what waits after the immediate hand-over
// is within the cap; the queue drains in order.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/windows/desktop.h"
#include "platform/windows/window.h"
#include "platform/sockets/winsock.h"

namespace platform {
namespace {

TEST(WinsockQueueTest, SendPastTheCapKeepsALinkWhoseSocketTookTheExcess) {
    int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&a), len), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len), 0);
    ASSERT_EQ(::listen(listener, 1), 0);

    Desktop desktop;
    Window form(desktop, "Form");
    Winsock& sock = form.add<Winsock>("Winsock1");
    sock.setRemoteHost("127.0.0.1");
    sock.setRemotePort(ntohs(a.sin_port));
    ASSERT_TRUE(sock.Connect());
    pollfd p{listener, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 1000), 1);
    const int conn = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    ASSERT_GE(conn, 0);
    for (int i = 0; i < 50 && sock.State() != Winsock::kConnected; ++i) ::poll(nullptr, 0, 10);
    ASSERT_EQ(sock.State(), Winsock::kConnected);

    // A little more than the cap, in a pattern that shows order.
    std::string big(Winsock::kMaxPendingBytes + 4096, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i % 251);
    ASSERT_TRUE(sock.SendData(big)) << "the socket took the excess at once";
    EXPECT_EQ(sock.State(), Winsock::kConnected);

    std::string got;
    char buf[1 << 16];
    for (int i = 0; i < 20000 && got.size() < big.size(); ++i) {
        sock.State();  // lets the queue drain
        const ssize_t n = ::recv(conn, buf, sizeof buf, MSG_DONTWAIT);
        if (n > 0)
            got.append(buf, static_cast<size_t>(n));
        else
            ::poll(nullptr, 0, 1);
    }
    EXPECT_EQ(got.size(), big.size());
    EXPECT_TRUE(got == big) << "bytes arrive in order";
    EXPECT_EQ(sock.State(), Winsock::kConnected);
    ::close(conn);
    ::close(listener);
}

}  // namespace
}  // namespace platform
