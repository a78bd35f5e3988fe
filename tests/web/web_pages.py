"""The page as capzel-server serves it on its one port, and what the page does with bad input.
(What each request is answered is checked in tests/core/server_web_pages_test.cpp: here, the
same answers over a real socket, plain and TLS, beside the game's WebSocket.)

  - HTTP: the built page's files with their types and policy, `..` refused, a head too long
    refused, and a WebSocket upgrade on the same port reaches the game's server.
  - HTTPS (--tls-cert, --tls-key): the same, and the page reaches the game's server by wss://.
  - Headless Chromium: the page loads under its policy with nothing refused in the console; each
    bad input shows a clear message and the page goes on (its frames): a code that is none, a
    room that does not exist, a full room, a name too long, a name and a chat line written as
    markup (shown as text), the server killed.

    /usr/bin/python3 tests/web/web_pages.py <bin-dir> <web-dir> <artifacts-dir>"""
import base64
import os
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'e2e'))
from desktop_player import Checks, Room, Server  # noqa: E402
from pagelib import Page, chromium, POLICY_START  # noqa: E402

bin_dir, web_dir, artifacts = (os.path.abspath(a) for a in sys.argv[1:4])
os.makedirs(artifacts, exist_ok=True)
checks = Checks('web_pages')
tmp = tempfile.mkdtemp(prefix='capzel-web-pages-')
room = Room(bin_dir, os.path.join(tmp, 'server'))
with open(os.path.join(tmp, 'secret.txt'), 'w') as f:
    f.write('outside the web root')


def raw(port, request, tls=False):
    """The server's whole answer to `request`, sent as it is written (over
    TLS, with any certificate, when `tls`)."""
    with socket.create_connection(('127.0.0.1', port), timeout=10) as plain:
        s = plain
        if tls:
            context = ssl.create_default_context()
            context.check_hostname = False
            context.verify_mode = ssl.CERT_NONE
            s = context.wrap_socket(plain)
        s.sendall(request.encode('latin-1'))
        answer = b''
        while chunk := s.recv(65536):
            answer += chunk
            if answer.startswith(b'HTTP/1.1 101'):
                break
    head, _, body = answer.partition(b'\r\n\r\n')
    lines = head.decode('latin-1').split('\r\n')
    headers = {k.lower(): v.strip() for k, _, v in (l.partition(':') for l in lines[1:])}
    return int(lines[0].split()[1]), headers, body


def get(target, method='GET'):
    return f'{method} {target} HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n'


server = tls_server = page = None
try:
    # A copy of the page, with a file beside its folder that must never be served.
    root = os.path.join(tmp, 'web')
    shutil.copytree(web_dir, root)
    server = Server(bin_dir, os.path.join(tmp, 'server'), root)

    def served(server, rows):
        for target, status, kind in rows:
            code, headers, body = raw(server.port, get(target), server.tls)
            checks.check(code == status, f'GET {target}: {code}, not {status}')
            checks.check(headers.get('content-security-policy', '').startswith(POLICY_START), f'GET {target}: no policy')
            checks.check(b'outside the web root' not in body, f'GET {target} left the web root')
            if kind:
                checks.check(headers.get('content-type') == kind, f'GET {target}: {headers.get("content-type")}')
                checks.check(int(headers.get('content-length', -1)) == len(body), f'GET {target}: length')
    files = (('/', 200, 'text/html; charset=utf-8'), ('/capzel.wasm', 200, 'application/wasm'),
            ('/../secret.txt', 404, None), ('/%2e%2e/%2e%2e/etc/passwd', 404, None), ('/nothing.js', 404, None))
    checks.step('the page\'s files over HTTP, and nothing else')
    served(server, files)
    checks.check(raw(server.port, 'GET / HTTP/1.1\r\nX: ' + 'a' * 9000 + '\r\n\r\n')[0] == 431, 'a head too long')
    key = base64.b64encode(os.urandom(16)).decode()
    code, headers, _ = raw(server.port, 'GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\n'
                                        f'Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n')
    checks.check(code == 101, f'a WebSocket upgrade on the page\'s port: {code}')

    checks.step('the page under its policy; each bad input says so and the page goes on')
    room.new()
    server.kill()
    server = Server(bin_dir, os.path.join(tmp, 'server'), root)
    page = Page(chromium(1280, 900), 'page')
    page.driver.get(server.base + '/')
    page.wait_ready()
    page.wait('the name asked for', lambda: page.visible('nameBox'))

    def frames_go_on():
        before = page.stats()['frames']
        page.wait('the page\'s frames to go on', lambda: page.stats()['frames'] > before + 3, 10)
        return True

    # A name too long, then one written as markup.
    page.js('document.getElementById("nameText").value = arguments[0]', 'x' * 41)
    page.js('document.getElementById("nameForm").requestSubmit()')
    checks.check('at most 40 characters' in page.text('nameProblem'), f'a name too long: {page.text("nameProblem")!r}')
    hostile = '<img src=x onerror="window.hacked=1">'
    page.js('document.getElementById("nameText").value = arguments[0]', hostile)
    page.js('document.getElementById("nameForm").requestSubmit()')
    page.wait('the start panel', lambda: page.visible('start'))

    rows = (
        ('?room=%3Cb%3Ex', 'not a room’s code'),
        ('?room=ZZZZ22', 'No room has the code ZZZZ22'),
        ('?room=PLAY23', 'Room PLAY23 has no free seat'),
    )
    for query, told in rows:
        page.driver.get(server.base + '/' + query)
        page.wait_ready()
        try:
            page.wait(f'the message for {query}', lambda: page.visible('notice') and told in page.text('noticeText'), 20)
        except Exception:
            checks.check(False, f'{query}: the page says {page.text("noticeText")!r}')
        checks.check(frames_go_on(), f'{query}: the page stopped')
        page.screenshot(os.path.join(artifacts, f'bad-input-{query.split("=")[1][:6]}.png'))

    # Rooms made from the page by the hostile name. A seat left to whoever
    # follows the link keeps the game from beginning, and the page says so
    # (it once said every player was there, over an empty table); with the
    # computer in that seat the game begins at once.
    for second, begins in (('link', False), ('computer', True)):
        page.driver.get(server.base + '/')
        page.wait_ready()
        page.js('document.getElementById("noticeClose").click()')
        page.wait('the start panel', lambda: page.visible('start'))
        page.js('const s = document.querySelectorAll("#seats tbody tr")[1].querySelector("select"); '
                's.value = arguments[0]; s.dispatchEvent(new Event("change"))', second)
        page.js('document.getElementById("hostForm").requestSubmit()')
        page.wait(f'the room made with a {second} seat', lambda: (v := page.view()) and v['inRoom'] and
                  len(v['status']) == 2 and (v['running'] or 'by the link' in (page.text('presence') or '')), 30)
        v = page.view()
        checks.check(v['running'] == begins, f'a {second} seat: the game runs: {v["running"]}')
        if not begins:
            checks.check(v['status'][1]['open'] and 'open' in page.text('status'),
                         f'a {second} seat: the open seat is not shown as open: {v["status"]}')
            checks.check(not any('piece' in s for s in v['shapes']), 'pieces drawn before the game began')
            page.screenshot(os.path.join(artifacts, 'made-room-waiting.png'))
    page.js('document.getElementById("chatText").value = arguments[0]; '
            'document.getElementById("chatForm").requestSubmit()', '<b>bold</b><script>window.hacked=2</script>')
    page.wait('the chat line back', lambda: '<b>bold</b>' in (page.text('chatLines') or ''), 20)
    checks.check(hostile in page.text('status'), 'the name is not shown as written')
    checks.check(page.js('return document.querySelectorAll("#status img, #chatLines b, #chatLines script").length') == 0,
                 'a name or a chat line was taken as markup')
    checks.check(page.js('return window.hacked || 0') == 0, 'a name or a chat line ran as script')
    page.screenshot(os.path.join(artifacts, 'hostile-name-and-chat.png'))
    checks.check(not page.console_problems(), f'the console: {page.console_problems()[:3]}')

    # The server killed: the page says the connection is lost, tries again,
    # and keeps drawing.
    server.kill()
    page.wait('the lost connection told', lambda: 'lost' in (page.text('connection') or ''), 20)
    checks.check(frames_go_on(), 'the page stopped once the server was killed')
    page.screenshot(os.path.join(artifacts, 'server-killed.png'))
    print(f'   killed server: {page.text("connection")!r}', flush=True)

    checks.step('over HTTPS: the page\'s files, nothing else, and the page\'s wss:// on the same port')
    cert, key = os.path.join(tmp, 'cert.pem'), os.path.join(tmp, 'key.pem')
    subprocess.run(['openssl', 'req', '-x509', '-newkey', 'rsa:2048', '-nodes', '-keyout', key, '-out', cert,
                    '-days', '2', '-subj', '/CN=127.0.0.1'], check=True, capture_output=True)
    tls_server = Server(bin_dir, os.path.join(tmp, 'server'), root, '--tls-cert', cert, '--tls-key', key)
    checks.check(tls_server.base.startswith('https://'), f'the server with a certificate: {tls_server.base}')
    served(tls_server, files)
    page.driver.get(tls_server.base + '/')
    page.wait_ready()
    page.keep('capzel.name', 'Tess')
    page.driver.get(tls_server.base + '/?room=ZZZZ23')
    page.wait_ready()
    page.wait('the server\'s answer over wss://', lambda: 'No room has the code ZZZZ23' in (page.text('noticeText') or ''), 20)
    page.screenshot(os.path.join(artifacts, 'https-no-such-room.png'))
except Exception:
    traceback.print_exc()
    checks.check(False, 'the checks did not run to their end')
    if page:
        page.screenshot(os.path.join(artifacts, 'failure.png'))
finally:
    if page:
        page.driver.quit()
    for running in (server, tls_server):
        if running:
            running.kill()
    shutil.rmtree(tmp, ignore_errors=True)
checks.finish()
