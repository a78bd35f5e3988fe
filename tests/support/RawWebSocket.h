// A hostile WebSocket client by hand on loopback: it sends and reads only when told, so it can stay
// silent before any handshake, never answer a ping, or never read.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace capzel::test {

class RawWebSocket {
public:
    RawWebSocket() = default;
    RawWebSocket(const RawWebSocket&) = delete;
    RawWebSocket& operator=(const RawWebSocket&) = delete;
    ~RawWebSocket() { if (fd_ >= 0) ::close(fd_); }

    // A TCP connection and nothing more; a receive buffer is set before connecting, to keep the window small.
    bool connectTo(quint16 port, int receiveBuffer = 0) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd_ < 0) return false;
        if (receiveBuffer > 0) ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        const sockaddr_in to{.sin_family = AF_INET, .sin_port = htons(port), .sin_addr = {htonl(INADDR_LOOPBACK)}, .sin_zero = {}};
        return ::connect(fd_, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0;
    }

    bool upgrade() {
        const std::string request =
            "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
            "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n";
        if (!writeAll(request)) return false;
        std::string answer;
        while (answer.find("\r\n\r\n") == std::string::npos) {
            char c = 0;
            if (!readExactly(&c, 1, 20000)) return false;
            answer.push_back(c);
        }
        return answer.rfind("HTTP/1.1 101", 0) == 0;
    }

    bool sendText(std::string_view text) {
        if (text.size() >= 65536) return false;  // no test sends that much by hand
        std::string frame(1, char(0x81));
        if (text.size() < 126)
            frame.push_back(char(0x80 | text.size()));
        else
            frame += {char(0x80 | 126), char(text.size() >> 8), char(text.size() & 0xFF)};
        const char mask[4] = {0x12, 0x34, 0x56, 0x78};
        frame.append(mask, 4);
        for (std::size_t k = 0; k < text.size(); ++k) frame.push_back(char(text[k] ^ mask[k % 4]));
        return writeAll(frame);
    }

    // The next text frame (pings passed over unanswered); nothing when none came in time.
    std::optional<std::string> readText(int timeoutMs = 20000) {
        for (;;) {
            unsigned char head[2];
            if (!readExactly(head, 2, timeoutMs)) return std::nullopt;
            std::uint64_t length = head[1] & 0x7F;
            if (length >= 126) {
                unsigned char more[8];
                const int bytes = length == 126 ? 2 : 8;
                if (!readExactly(more, bytes, timeoutMs)) return std::nullopt;
                length = 0;
                for (int k = 0; k < bytes; ++k) length = (length << 8) | more[k];
            }
            std::string payload(length, '\0');
            if (length > 0 && !readExactly(payload.data(), length, timeoutMs)) return std::nullopt;
            if ((head[0] & 0x0F) == 0x1) return payload;
            if ((head[0] & 0x0F) == 0x8) return std::nullopt;  // closed
        }
    }

    bool closedByPeer() const {
        pollfd p{fd_, POLLRDHUP, 0};
        return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
    }

private:
    bool writeAll(std::string_view bytes) {
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n <= 0) return false;
            done += std::size_t(n);
        }
        return true;
    }
    bool readExactly(void* into, std::size_t bytes, int timeoutMs) {
        auto* at = static_cast<char*>(into);
        for (std::size_t done = 0; done < bytes;) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, timeoutMs) <= 0) return false;
            const ssize_t n = ::recv(fd_, at + done, bytes - done, 0);
            if (n <= 0) return false;
            done += std::size_t(n);
        }
        return true;
    }

    int fd_ = -1;
};

}  // namespace capzel::test
