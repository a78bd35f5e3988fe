#include "server/WebPages.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <system_error>
#include <utility>
#include <vector>

namespace capzel::server {

const char* const kPagePolicy =
    "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; connect-src 'self'; img-src 'self'; "
    "style-src 'self'; object-src 'none'; base-uri 'none'; form-action 'self'; frame-ancestors 'none'";

namespace {

constexpr std::size_t kMaxFileNameLength = 64;

constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kFileTypes{{
    {".html", "text/html; charset=utf-8"},
    {".js", "text/javascript; charset=utf-8"},
    {".css", "text/css; charset=utf-8"},
    {".wasm", "application/wasm"},
    {".json", "application/json"},
    {".png", "image/png"},
    {".svg", "image/svg+xml"},
    {".ico", "image/x-icon"},
    {".txt", "text/plain; charset=utf-8"},
}};

char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool sameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

bool containsText(std::string_view text, std::string_view word) {
    if (word.size() > text.size()) return false;
    for (std::size_t k = 0; k + word.size() <= text.size(); ++k)
        if (sameText(text.substr(k, word.size()), word)) return true;
    return false;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// The request's lines after its first, as (name, value).
std::vector<std::pair<std::string_view, std::string_view>> headerFields(std::string_view head) {
    std::vector<std::pair<std::string_view, std::string_view>> fields;
    std::size_t at = head.find('\n');
    while (at != std::string_view::npos && at + 1 < head.size()) {
        const std::size_t end = head.find('\n', at + 1);
        const std::string_view line = head.substr(at + 1, end == std::string_view::npos ? std::string_view::npos : end - at - 1);
        const std::size_t colon = line.find(':');
        if (colon != std::string_view::npos) fields.emplace_back(trim(line.substr(0, colon)), trim(line.substr(colon + 1)));
        at = end;
    }
    return fields;
}

std::optional<std::string_view> headerValue(std::string_view head, std::string_view name) {
    for (const auto& [field, value] : headerFields(head))
        if (sameText(field, name)) return value;
    return std::nullopt;
}

// A name the page's files may have (see WebPages.h).
bool isPageFileName(std::string_view name) {
    if (name.empty() || name.size() > kMaxFileNameLength || name.front() == '.') return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
               c == '_';
    });
}

// A tag that changes whenever the file's bytes do (FNV-1a, 64 bits).
std::string contentTag(std::string_view bytes) {
    std::uint64_t h = 1469598103934665603ull;
    for (const char c : bytes) {
        h ^= std::uint8_t(c);
        h *= 1099511628211ull;
    }
    char text[24];
    std::snprintf(text, sizeof text, "\"%016llx\"", static_cast<unsigned long long>(h));
    return text;
}

const char* reason(int status) {
    switch (status) {
    case 200: return "OK";
    case 304: return "Not Modified";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 431: return "Request Header Fields Too Large";
    case 505: return "HTTP Version Not Supported";
    }
    return "Error";
}

PageAnswer reply(int status, std::string_view type, std::string_view body, bool withBody,
                 std::string_view extraHeaders = {}) {
    PageAnswer a;
    a.status = status;
    a.bytes = "HTTP/1.1 " + std::to_string(status) + " " + reason(status) + "\r\n";
    if (!type.empty()) a.bytes.append("Content-Type: ").append(type).append("\r\n");
    a.bytes.append("Content-Length: ").append(std::to_string(body.size())).append("\r\n");
    a.bytes.append("Content-Security-Policy: ").append(kPagePolicy).append("\r\n");
    a.bytes.append(
        "X-Content-Type-Options: nosniff\r\n"
        "Referrer-Policy: no-referrer\r\n"
        "Cross-Origin-Opener-Policy: same-origin\r\n"
        "Connection: close\r\n");
    a.bytes.append(extraHeaders);
    a.bytes.append("\r\n");
    if (withBody) a.bytes.append(body);
    return a;
}

PageAnswer failure(int status, std::string_view text, bool withBody = true) {
    return reply(status, "text/plain; charset=utf-8", std::string(text) + "\n", withBody,
                 status == 405 ? "Allow: GET, HEAD\r\n" : "");
}

std::optional<std::string> readFile(const std::filesystem::path& path) {
    std::error_code error;
    // The type first: a folder, a pipe or a device is never opened.
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    const auto size = std::filesystem::file_size(path, error);
    if (error || size > kMaxPageFileBytes) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(std::size_t(size), '\0');
    in.read(bytes.data(), std::streamsize(size));
    if (std::size_t(in.gcount()) != size) return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<std::size_t> requestHeadLength(std::string_view received) {
    const std::size_t end = received.find("\r\n\r\n");
    if (end == std::string_view::npos) return std::nullopt;
    return end + 4;
}

bool isWebSocketUpgrade(std::string_view head) {
    const auto upgrade = headerValue(head, "Upgrade");
    return upgrade && containsText(*upgrade, "websocket");
}

std::optional<std::string_view> pageFileType(std::string_view name) {
    for (const auto& [ending, type] : kFileTypes)
        if (name.size() > ending.size() && sameText(name.substr(name.size() - ending.size()), ending)) return type;
    return std::nullopt;
}

WebPages::WebPages(std::filesystem::path root) : root_(std::move(root)) {}

PageAnswer WebPages::headTooLong() { return failure(431, "The request's head is too long."); }

PageAnswer WebPages::answer(std::string_view head) const {
    const std::string_view requestLine = trim(head.substr(0, head.find('\n')));
    const std::size_t space1 = requestLine.find(' ');
    const std::size_t space2 = space1 == std::string_view::npos ? space1 : requestLine.find(' ', space1 + 1);
    if (space2 == std::string_view::npos || requestLine.find(' ', space2 + 1) != std::string_view::npos)
        return failure(400, "The request is not understood.");
    const std::string_view method = requestLine.substr(0, space1);
    std::string_view target = requestLine.substr(space1 + 1, space2 - space1 - 1);
    const std::string_view version = requestLine.substr(space2 + 1);
    if (version.substr(0, 5) != "HTTP/") return failure(400, "The request is not understood.");
    if (version != "HTTP/1.1" && version != "HTTP/1.0") return failure(505, "Only HTTP/1.1 is spoken here.");
    const bool withBody = method == "GET";
    if (!withBody && method != "HEAD") return failure(405, "Only GET and HEAD are answered here.");

    target = target.substr(0, target.find_first_of("?#"));
    if (target.empty() || target.front() != '/') return failure(404, "There is no such page.", withBody);
    std::string_view name = target.substr(1);
    if (name.empty()) name = "index.html";
    const auto type = pageFileType(name);
    if (!isPageFileName(name) || !type || root_.empty()) return failure(404, "There is no such page.", withBody);
    const auto bytes = readFile(root_ / std::string(name));
    if (!bytes) return failure(404, "There is no such page.", withBody);

    const std::string tag = contentTag(*bytes);
    const std::string caching = "Cache-Control: no-cache\r\nETag: " + tag + "\r\n";
    const auto known = headerValue(head, "If-None-Match");
    if (known && containsText(*known, tag)) return reply(304, {}, {}, false, caching);
    return reply(200, *type, *bytes, withBody, caching);
}

std::filesystem::path installedWebRoot(const std::filesystem::path& program) {
    // <prefix>/bin/capzel-server or <build>/bin/capzel-server: the folder
    // above the program's.
    const std::filesystem::path above = program.lexically_normal().parent_path().parent_path();
    for (const std::filesystem::path& candidate : {above / "share" / "capzel" / "web", above / "web"}) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate / "index.html", error))
            return std::filesystem::weakly_canonical(candidate, error);
    }
    return {};
}

}  // namespace capzel::server
