"""The page as capzel-server serves it beside the game's WebSocket on one port, plain and TLS (what
each request is answered: tests/core); in Chromium, each bad input told and the page going on."""
import os
import shutil
import socket
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


def answer_head(port, request):  # the status and head of the answer to `request`, sent as written
    with socket.create_connection(('127.0.0.1', port), timeout=10) as s:
        s.sendall(request.encode('latin-1'))
        answer = b''
        while b'\r\n\r\n' not in answer and (chunk := s.recv(65536)):
            answer += chunk
    head = answer.partition(b'\r\n\r\n')[0].decode('latin-1')
    return int(head.split()[1]), head.lower()


server = tls_server = page = None
try:
    root = os.path.join(tmp, 'web')
    shutil.copytree(web_dir, root)
    room.new()
    server = Server(bin_dir, os.path.join(tmp, 'server'), root)
    checks.step('over a socket of its own: the page under its policy, a head too long refused')
    code, head = answer_head(server.port, 'GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n')
    checks.check(code == 200 and f'content-security-policy: {POLICY_START}'.lower() in head, f'GET /: {head!r}')
    checks.check(answer_head(server.port, 'GET / HTTP/1.1\r\nX: ' + 'a' * 9000 + '\r\n\r\n')[0] == 431, 'a head too long')

    checks.step('the page under its policy; each bad input says so and the page goes on')
    page = Page(chromium(1280, 900), 'page')
    page.driver.get(server.base + '/')
    page.wait_ready()
    page.wait('the name asked for', lambda: page.visible('nameBox'))

    def frames_go_on():
        before = page.stats()['frames']
        page.wait('the page\'s frames to go on', lambda: page.stats()['frames'] > before + 3, 10)
        return True

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

    # Rooms made by the hostile name: a seat left to the link keeps the game from beginning, and the
    # page says so (it once said every player was there); with the computer there it begins at once.
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

    server.kill()  # the page says the connection is lost, tries again, and keeps drawing
    page.wait('the lost connection told', lambda: 'lost' in (page.text('connection') or ''), 20)
    checks.check(frames_go_on(), 'the page stopped once the server was killed')
    page.screenshot(os.path.join(artifacts, 'server-killed.png'))
    print(f'   killed server: {page.text("connection")!r}', flush=True)

    checks.step('over HTTPS: the page, and its wss:// on the same port')
    cert, key = os.path.join(tmp, 'cert.pem'), os.path.join(tmp, 'key.pem')
    subprocess.run(['openssl', 'req', '-x509', '-newkey', 'rsa:2048', '-nodes', '-keyout', key, '-out', cert,
                    '-days', '2', '-subj', '/CN=127.0.0.1'], check=True, capture_output=True)
    tls_server = Server(bin_dir, os.path.join(tmp, 'server'), root, '--tls-cert', cert, '--tls-key', key)
    checks.check(tls_server.base.startswith('https://'), f'the server with a certificate: {tls_server.base}')
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
