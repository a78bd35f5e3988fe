// The web client's files on the server's port: only the page's own, with their types, the policy and
// revalidation; every other request, hostile ones first, is refused without leaving the web root.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "server/WebPages.h"

using namespace capzel::server;
namespace fs = std::filesystem;

namespace {

struct WebRoot {
    fs::path base = fs::temp_directory_path() / ("capzel-pages-" + std::to_string(::getpid()));
    fs::path root = base / "web";
    WebRoot() {
        fs::remove_all(base);
        fs::create_directories(root / "sub");
        put(root / "index.html", "<!doctype html><title>page</title>");
        put(root / "app.js", "'use strict';");
        put(root / "capzel.wasm", std::string("\0asm\1\0\0\0", 8));
        put(root / "style.css", "body{}");
        put(root / "notes.md", "not a page file");
        put(root / ".hidden.js", "a dot file");
        put(root / "sub" / "deep.js", "in a folder");
        put(base / "secret.txt", "outside the root");
        put(base / "web.js", "beside the root");
        fs::create_directory(root / "folder.js");
        ::mkfifo((root / "pipe.js").c_str(), 0600);
        fs::create_symlink("/dev/zero", root / "zero.js");
        std::ofstream(root / "huge.js").seekp(std::streamoff(kMaxPageFileBytes)) << 'x';
    }
    ~WebRoot() { std::error_code ignored; fs::remove_all(base, ignored); }
    static void put(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }
};

std::string get(const std::string& target, const std::string& more = "") {
    return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + more + "\r\n";
}

std::string header(const std::string& answer, const std::string& name) {
    const auto at = answer.find("\r\n" + name + ": ");
    if (at == std::string::npos) return "<none>";
    const auto start = at + name.size() + 4;
    return answer.substr(start, answer.find("\r\n", start) - start);
}

std::string body(const std::string& answer) { return answer.substr(answer.find("\r\n\r\n") + 4); }

}  // namespace

TEST(WebPages, ServesThePagesFilesWithTheirTypes) {
    const WebRoot dir;
    const WebPages pages(dir.root);
    struct Row { const char* target; const char* type; };
    const Row rows[] = {
        {"/", "text/html; charset=utf-8"},
        {"/?room=A5LLG3&watch", "text/html; charset=utf-8"},
        {"/index.html#x", "text/html; charset=utf-8"},
        {"/app.js", "text/javascript; charset=utf-8"},
        {"/capzel.wasm", "application/wasm"},
        {"/style.css", "text/css; charset=utf-8"},
    };
    for (const Row& r : rows) {
        const PageAnswer a = pages.answer(get(r.target));
        EXPECT_EQ(a.status, 200) << r.target;
        EXPECT_EQ(header(a.bytes, "Content-Type"), r.type) << r.target;
        EXPECT_EQ(header(a.bytes, "Content-Security-Policy"), kPagePolicy) << r.target;
        EXPECT_EQ(header(a.bytes, "X-Content-Type-Options"), "nosniff") << r.target;
        EXPECT_EQ(header(a.bytes, "Cache-Control"), "no-cache") << r.target;
        EXPECT_EQ(header(a.bytes, "Content-Length"), std::to_string(body(a.bytes).size())) << r.target;
    }
    EXPECT_EQ(body(pages.answer(get("/capzel.wasm")).bytes).substr(0, 4), std::string("\0asm", 4));
    // The policy: only this origin, no inline script, no eval beyond compiling the WebAssembly core.
    const std::string policy = kPagePolicy;
    EXPECT_NE(policy.find("default-src 'self'"), std::string::npos);
    EXPECT_EQ(policy.find("unsafe-inline"), std::string::npos);
    EXPECT_EQ(policy.find("'unsafe-eval'"), std::string::npos);
}

TEST(WebPages, RevalidatesByContentAndAnswersHeadWithoutBody) {
    const WebRoot dir;
    const WebPages pages(dir.root);
    const PageAnswer first = pages.answer(get("/app.js"));
    const std::string tag = header(first.bytes, "ETag");
    ASSERT_NE(tag, "<none>");
    const PageAnswer again = pages.answer(get("/app.js", "If-None-Match: " + tag + "\r\n"));
    EXPECT_EQ(again.status, 304);
    EXPECT_EQ(body(again.bytes), "");
    WebRoot::put(dir.root / "app.js", "'use strict'; // a new build");
    EXPECT_EQ(pages.answer(get("/app.js", "If-None-Match: " + tag + "\r\n")).status, 200);

    const PageAnswer head = pages.answer("HEAD /app.js HTTP/1.1\r\nHost: h\r\n\r\n");
    EXPECT_EQ(head.status, 200);
    EXPECT_EQ(body(head.bytes), "");
    EXPECT_EQ(header(head.bytes, "Content-Length"), "28");
}

// Every request found to probe for files beyond the page's own.
TEST(WebPages, RefusesEverythingButThePagesFiles) {
    const WebRoot dir;
    const WebPages pages(dir.root);
    struct Row { std::string request; int status; };
    const Row rows[] = {
        {get("/../secret.txt"), 404},
        {get("/..%2fsecret.txt"), 404},
        {get("/%2e%2e/secret.txt"), 404},
        {get("/..\\secret.txt"), 404},
        {get("/../web.js"), 404},
        {get("//etc/passwd"), 404},
        {get("/etc/passwd"), 404},
        {get("/sub/deep.js"), 404},
        {get("/./app.js"), 404},
        {get("/.hidden.js"), 404},
        {get("/notes.md"), 404},
        {get("/missing.js"), 404},
        {get("/folder.js"), 404},
        {get("/pipe.js"), 404},
        {get("/zero.js"), 404},
        {get("/huge.js"), 404},
        {get("/app.js%00.html"), 404},
        {get("/" + std::string(80, 'a') + ".js"), 404},
        {get("http://127.0.0.1/app.js"), 404},
        {get("*"), 404},
        {"POST / HTTP/1.1\r\nHost: h\r\n\r\n", 405},
        {"DELETE /app.js HTTP/1.1\r\n\r\n", 405},
        {"GET / HTTP/2.0\r\n\r\n", 505},
        {"GET /\r\n\r\n", 400},
        {"GET / HTTP/1.1 extra\r\n\r\n", 400},
        {"\r\n\r\n", 400},
        {"GET / FTP/1.0\r\n\r\n", 400},
    };
    for (const Row& r : rows) {
        const PageAnswer a = pages.answer(r.request);
        EXPECT_EQ(a.status, r.status) << r.request;
        EXPECT_EQ(a.bytes.find("outside the root"), std::string::npos) << r.request;
        EXPECT_EQ(a.bytes.find("beside the root"), std::string::npos) << r.request;
        EXPECT_EQ(header(a.bytes, "Content-Security-Policy"), kPagePolicy) << r.request;
    }
    EXPECT_EQ(WebPages().answer(get("/")).status, 404);  // a server with no page
    EXPECT_EQ(WebPages::headTooLong().status, 431);
}

TEST(WebPages, TellsARequestsHeadAndAnUpgrade) {
    EXPECT_EQ(requestHeadLength("GET / HTTP/1.1\r\nHost: h\r\n"), std::nullopt);
    EXPECT_EQ(requestHeadLength("GET / HTTP/1.1\r\n\r\nrest"), 18u);
    const struct { const char* head; bool upgrade; } rows[] = {
        {"GET / HTTP/1.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n\r\n", true},
        {"GET /?room=X HTTP/1.1\r\nupgrade:WebSocket\r\n\r\n", true},
        {"GET / HTTP/1.1\r\nUPGRADE: WEBSOCKET\r\n\r\n", true},
        {"GET / HTTP/1.1\r\nUpgrade: h2c\r\n\r\n", false},
        {"GET / HTTP/1.1\r\nX-Upgrade: websocket\r\n\r\n", false},
        {"GET / HTTP/1.1\r\nHost: websocket\r\n\r\n", false},
    };
    for (const auto& r : rows) EXPECT_EQ(isWebSocketUpgrade(r.head), r.upgrade) << r.head;
}

TEST(WebPages, FindsThePageInstalledBesideTheServer) {
    const WebRoot dir;
    const fs::path prefix = dir.base / "prefix";
    fs::create_directories(prefix / "bin");
    fs::create_directories(prefix / "share" / "capzel" / "web");
    EXPECT_EQ(installedWebRoot(prefix / "bin" / "capzel-server"), fs::path());
    WebRoot::put(prefix / "share" / "capzel" / "web" / "index.html", "x");
    EXPECT_EQ(installedWebRoot(prefix / "bin" / "capzel-server"), fs::canonical(prefix / "share" / "capzel" / "web"));
    // A build tree: <build>/bin beside <build>/web.
    EXPECT_EQ(installedWebRoot(dir.base / "bin" / "capzel-server"), fs::canonical(dir.root));
}
