"""What the browser tests share: a capzel-server serving the built page, the
page in headless Chromium (Debian's chromium, chromium-driver and
python3-selenium), and waiting for what the page or a program tells.

The page tells through what it exposes for this (app.js): window.capzelView
(the client's view, as drawn), window.capzelStats (timings and every shot
compared with the server's) and window.capzelLayout (the field's layout).
Input goes through the browser's own input pipeline (DevTools' Input
domain), as a mouse or a finger would.
"""
import json
import os
import select
import signal
import subprocess
import sys
import time

from selenium import webdriver
from selenium.common.exceptions import TimeoutException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait

# How the policy every answer of the server carries begins.
POLICY_START = "default-src 'self'"
PHONE = {'width': 390, 'height': 844, 'pixelRatio': 3.0, 'touch': True}


class Checks:
    """Failures counted as they come; the run goes on and finish() tells."""

    def __init__(self, name):
        self.name = name
        self.failures = 0

    def check(self, ok, what):
        if not ok:
            self.failures += 1
            print(f'FAIL: {what}', file=sys.stderr, flush=True)
        return ok

    def step(self, what):
        print(f'-- {what}', flush=True)

    def finish(self):
        if self.failures == 0:
            print(f'{self.name}: all checks passed', flush=True)
        sys.exit(1 if self.failures else 0)


def read_line_until(stream, pattern, seconds):
    """The first line of a program's output holding `pattern`, or None once
    the program has said nothing like it for `seconds` or has ended."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        ready, _, _ = select.select([stream], [], [], max(0.0, end - time.monotonic()))
        if not ready:
            break
        line = stream.readline()
        if not line:
            return None
        if pattern in line:
            return line
    return None


class Server:
    """capzel-server on a free port, serving `web_root`."""

    def __init__(self, bin_dir, data_dir, web_root=None, *extra):
        args = [os.path.join(bin_dir, 'capzel-server'), '--port', '0', '--data-dir', data_dir]
        if web_root:
            args += ['--web-root', web_root]
        self.proc = subprocess.Popen(list(args) + list(extra), stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                     text=True, bufsize=1)
        line = read_line_until(self.proc.stdout, 'listening on', 20)
        if not line:
            raise RuntimeError('capzel-server did not start')
        self.port = int(line.split('0.0.0.0:')[1].split()[0])
        self.tls = 'wss://' in line
        self.base = f'{"https" if self.tls else "http"}://127.0.0.1:{self.port}'

    def kill(self):
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGKILL)
            self.proc.wait()


def chromium(width=1280, height=900, phone=False):
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    for a in ('--headless=new', '--no-sandbox', '--disable-dev-shm-usage', '--hide-scrollbars',
              '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
              f'--window-size={width},{height}'):
        options.add_argument(a)
    if phone:
        options.add_experimental_option('mobileEmulation', {
            'deviceMetrics': PHONE,
            'userAgent': 'Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 (KHTML, like Gecko) '
                         'Chrome/156.0 Mobile Safari/537.36'})
    options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
    # The HTTPS rows serve the page with a certificate made for the test.
    options.set_capability('acceptInsecureCerts', True)
    return webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)


class Page:
    def __init__(self, driver, name):
        self.driver = driver
        self.name = name

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def view(self):
        return self.js('return window.capzelView || null')

    def stats(self):
        return self.js('return window.capzelStats || null')

    def text(self, element_id):
        return self.js('const e = document.getElementById(arguments[0]); return e ? e.textContent : null', element_id)

    def visible(self, element_id):
        return self.js('const e = document.getElementById(arguments[0]); return !!e && !e.closest("[hidden]")',
                       element_id)

    def wait(self, what, condition, seconds=60):
        """Until `condition()` holds (it is asked again at every 50 ms), or
        raises TimeoutException naming `what`."""
        try:
            return WebDriverWait(self.driver, seconds, poll_frequency=0.05).until(lambda _: condition())
        except TimeoutException:
            raise TimeoutException(f'{self.name}: {what} did not come within {seconds} s') from None

    def wait_ready(self, seconds=30):
        self.wait('the page\'s core', lambda: self.js('return !!window.capzelLayout'), seconds)

    def keep(self, key, value):
        self.js('localStorage.setItem(arguments[0], arguments[1])', key, value)

    def screenshot(self, path):
        self.driver.save_screenshot(path)

    # ---- Input: field twips to the page's pixels -----------------------------
    def field_point(self, x, y):
        return self.js('''
            const r = document.getElementById('field').getBoundingClientRect(), l = window.capzelLayout;
            return [r.left + arguments[0] / l.width * r.width, r.top + arguments[1] / l.height * r.height];''', x, y)

    def mouse(self, kind, x, y, buttons=1):
        self.driver.execute_cdp_cmd('Input.dispatchMouseEvent', {
            'type': kind, 'x': x, 'y': y, 'button': 'left', 'buttons': buttons, 'clickCount': 1,
            'pointerType': 'mouse'})

    def aim_with_mouse(self, x, y):
        """The button pressed a little beside the aim point (field twips),
        dragged onto it and let go, as in the desktop's test."""
        px, py = self.field_point(x, y)
        self.mouse('mouseMoved', px + 8, py + 8, 0)
        self.mouse('mousePressed', px + 8, py + 8)
        self.mouse('mouseMoved', px + 4, py + 4)
        self.mouse('mouseMoved', px, py)
        self.mouse('mouseReleased', px, py, 0)

    def aim_with_touch(self, x, y):
        """The same drag with a finger."""
        px, py = self.field_point(x, y)
        self.driver.execute_cdp_cmd('Emulation.setTouchEmulationEnabled', {'enabled': True, 'maxTouchPoints': 1})
        for kind, dx in (('touchStart', 8), ('touchMove', 4), ('touchMove', 0)):
            self.driver.execute_cdp_cmd('Input.dispatchTouchEvent', {
                'type': kind, 'touchPoints': [{'x': px + dx, 'y': py + dx, 'id': 1}]})
        self.driver.execute_cdp_cmd('Input.dispatchTouchEvent', {'type': 'touchEnd', 'touchPoints': []})

    def go_at_ticks(self, ticks, seconds=20):
        """"Go" pressed as the bar reaches `ticks`: the page's own frames
        watch the bar, and the press is timed within the frame in which the
        bar would pass that count; the bar's top (its last tick, where it
        pauses a tenth of a second) only once it is there. Returns the ticks
        the view shows then."""
        return self.driver.execute_async_script('''
            const [target, done] = [arguments[0], arguments[arguments.length - 1]];
            let last = null;
            const press = () => { document.getElementById('go').click(); done(window.capzelView.barTicks); };
            const watch = (time) => {
                const v = window.capzelView;
                if (v && v.charging) {
                    const ticks = v.barTicks;
                    if (ticks >= target) return press();
                    if (last && ticks > last.ticks && target < window.capzelLayout.maxBarTicks) {
                        const perMs = (ticks - last.ticks) / Math.max(1, time - last.time);
                        const ms = (target - ticks) / perMs;
                        if (ms < 20) return void setTimeout(press, Math.max(0, ms));
                    }
                    last = { ticks, time };
                }
                requestAnimationFrame(watch);
            };
            requestAnimationFrame(watch);''', ticks)

    def console_problems(self):
        """The browser's console lines that tell of an error or a refused
        load (a Content-Security-Policy violation among them)."""
        return [e['message'] for e in self.driver.get_log('browser') if e.get('level') in ('SEVERE', 'ERROR')]


def room_plan(bin_dir, room_file, strong=False):
    """The next shot of a kept room as online_room plans it (`strong`: at
    the bar's first tick or at its top, whichever does better): a dict with
    turn, shots, the aim point x, y, ticks, the piece's centre x0, y0 and
    the announcements the last shot made (told); {'over': True, 'told': n}
    once the game has its winner."""
    args = [os.path.join(bin_dir, 'online_room'), 'plan', room_file] + (['strong'] if strong else [])
    out = subprocess.run(args, capture_output=True, text=True)
    words = out.stdout.split()
    if out.returncode != 0 or not words:
        return None
    if words[0] == 'over':
        return {'over': True, 'told': int(words[2])}
    return {'over': False, 'turn': int(words[1]), 'shots': int(words[3]), 'x': float(words[5]),
            'y': float(words[6]), 'ticks': int(words[8]), 'x0': float(words[12]), 'y0': float(words[13]),
            'told': int(words[15])}


def new_room(bin_dir, room_file):
    """A kept room PLAY23 of Ann (seat 1) and Bob (seat 2): their tokens."""
    out = subprocess.run([os.path.join(bin_dir, 'online_room'), 'new', room_file], capture_output=True, text=True,
                         check=True)
    return {int(w[1]): w[2] for w in (line.split() for line in out.stdout.splitlines()) if w[0] == 'token'}


def server_record_hashes(room_file):
    """Each entry's hash in the server's kept room, in order."""
    with open(room_file) as f:
        room = json.load(f)
    return [e['hash'] for e in room['record']['entries']]
