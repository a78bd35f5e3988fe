// The web client's files as the server's port serves them: a browser's
// HTTP request is answered from one folder (the web root), and a WebSocket
// upgrade on the same port is told apart so that the game's server takes it.
//
// Only the page's own files are served: a name in the root itself ("/" is
// index.html), of letters, digits, '.', '-' and '_', not starting with a
// dot, of a kind the page is made of (html, js, css, wasm, json, png, svg,
// ico, txt). Anything else, `..` and percent-escapes included, is 404
// without a look at the disk. Every answer carries a Content-Security-
// Policy allowing only the server's own origin, and no inline script or
// eval; files are revalidated on every load (ETag), so that a page and the
// core it runs always come from the same build.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace capzel::server {

// A request's head is at most this long; a longer one is refused.
inline constexpr std::size_t kMaxRequestHeadBytes = 8 * 1024;
// A file served is at most this long.
inline constexpr std::size_t kMaxPageFileBytes = 8 * 1024 * 1024;

// The policy every answer carries.
extern const char* const kPagePolicy;

// Where the head of a request ends (just past its blank line) in the bytes
// received so far; nothing while it has not ended.
std::optional<std::size_t> requestHeadLength(std::string_view received);

// Whether the head asks for a WebSocket (an Upgrade header naming websocket).
bool isWebSocketUpgrade(std::string_view head);

struct PageAnswer {
    int status = 404;
    std::string bytes;  // the whole answer: status line, headers and body
};

class WebPages {
public:
    // Pages from `root`; an empty root serves none (every file is 404).
    explicit WebPages(std::filesystem::path root = {});

    // The answer to a request's head (without the request's body: a page
    // request has none).
    PageAnswer answer(std::string_view head) const;
    // The answer for a head that went past kMaxRequestHeadBytes.
    static PageAnswer headTooLong();

    const std::filesystem::path& root() const { return root_; }

private:
    std::filesystem::path root_;
};

// The MIME type of a file the page is made of, by its name's ending;
// nothing for any other kind of file.
std::optional<std::string_view> pageFileType(std::string_view name);

// The web root installed beside a server whose program is at `program`:
// <prefix>/share/capzel/web, or <build>/web in a build tree; empty when
// neither holds a page.
std::filesystem::path installedWebRoot(const std::filesystem::path& program);

}  // namespace capzel::server
