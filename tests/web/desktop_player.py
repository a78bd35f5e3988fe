"""The desktop program as a player in the browser tests: `capzel --join`
with the invitation's link, under the Xvfb the test runs in, played with
the mouse (xdotool) as the online Xvfb test plays it. Every wait is for what
the program tells: its output lines, its boxes (CAPZEL_MESSAGE_LOG), its
window as the screen shows it (xpixels)."""
import os
import subprocess
import time

MAIN_W = 730     # the main window is at least as wide as the field
MENU_BAR = 19    # the field starts below the menu bar
TWIPS_PER_PIXEL = 15


def run(*args):
    return subprocess.run(list(args), capture_output=True, text=True)


def until(what, condition, seconds=60, poll=0.02):
    """Until `condition()` holds, asked again every `poll` seconds; past
    `seconds` it raises TimeoutError naming `what`."""
    end = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > end:
            raise TimeoutError(f'{what} did not come within {seconds} s')
        time.sleep(poll)


class DesktopPlayer:
    def __init__(self, bin_dir, home, name):
        self.bin = bin_dir
        self.home = home
        self.name = name
        self.out = os.path.join(home, 'out.txt')
        self.boxes = os.path.join(home, 'boxes.txt')
        self.proc = None
        self.told = 0  # the boxes accounted for so far

    def keep_seat(self, port, code, token):
        """The seat's token kept in the program's settings, as a game that
        was playing there keeps it; the steady bar."""
        os.makedirs(os.path.join(self.home, '.config', 'Capzel'), exist_ok=True)
        with open(os.path.join(self.home, '.config', 'Capzel', 'Capzel.ini'), 'w') as f:
            f.write(f'[General]\nbarPace=1\n[online]\nurl=ws://127.0.0.1:{port}\ncode={code}\nname={self.name}\n'
                    f'token={token}\n')

    def start(self, link):
        open(self.boxes, 'w').close()
        env = dict(os.environ, HOME=self.home, XDG_CONFIG_HOME=os.path.join(self.home, '.config'),
                   XDG_DATA_HOME=os.path.join(self.home, 'data'), CAPZEL_MESSAGE_LOG=self.boxes)
        env.pop('QT_QPA_PLATFORM', None)
        self.proc = subprocess.Popen([os.path.join(self.bin, 'capzel'), '--join', link, self.name], env=env,
                                     stdout=open(self.out, 'w'), stderr=subprocess.STDOUT, cwd=self.home)

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()

    def lines(self):
        try:
            with open(self.out) as f:
                return f.read().splitlines()
        except OSError:
            return []

    def box_lines(self):
        with open(self.boxes) as f:
            return f.read().splitlines()

    def last_shot(self):
        """The last shot the program judged and compared with the server's:
        (number, hash, same) or None."""
        shots = [l.split() for l in self.lines() if l.startswith('shot ')]
        return (int(shots[-1][1]), shots[-1][2], shots[-1][3] == 'same') if shots else None

    def judged(self, n):
        last = self.last_shot()
        return last is not None and last[0] >= n

    # ---- Windows ----------------------------------------------------------
    def windows(self):
        found = run('xdotool', 'search', '--all', '--onlyvisible', '--pid', str(self.proc.pid), '--name', '^Capzel$')
        return found.stdout.split()

    @staticmethod
    def geometry(window):
        out = run('xdotool', 'getwindowgeometry', '--shell', window).stdout
        return {k: int(v) for k, v in (l.split('=') for l in out.splitlines() if '=' in l and l[0] in 'XYWH')}

    def window(self, main):
        for w in self.windows():
            if (self.geometry(w).get('WIDTH', 0) >= MAIN_W) == main:
                return w
        return None

    def placed(self):
        """The game's window at the screen's top left (moved there again when
        found elsewhere)."""
        w = self.window(True)
        if not w:
            return False
        g = self.geometry(w)
        if g.get('X') == 0 and g.get('Y') == 0:
            return True
        run('xdotool', 'windowmove', w, '0', '0')
        return False

    def answer_boxes(self):
        while (w := self.window(False)):
            run('xdotool', 'windowfocus', '--sync', w)
            run('xdotool', 'key', 'Return')
            until(f'{self.name}\'s box to close', lambda: w not in self.windows(), 30)

    def tells(self, count, seconds=120):
        """The program tells `count` more announcements in boxes (it does
        once it has shown its own shot); each is answered."""
        want = self.told + count

        def told():
            self.answer_boxes()
            return len(self.box_lines()) >= want
        until(f'{self.name}\'s {count} announcement(s)', told, seconds)
        self.told = want
        self.answer_boxes()

    # ---- What the field shows ---------------------------------------------
    def pixels(self, x, y, w, h, *ranges, top=False):
        args = [os.path.join(self.bin, 'xpixels'), str(x), str(MENU_BAR + y), str(w), str(h)] + [str(r) for r in ranges]
        out = run(*(args + (['top'] if top else []))).stdout.strip()
        return int(out) if out.lstrip('-').isdigit() else -1

    def go_shown(self):
        return self.pixels(6, 155, 26, 5, 179, 255, 179, 255, 179, 255) >= 120

    def bar_ticks(self):
        top = self.pixels(18, 184, 1, 440, 0, 63, 0, 63, 205, 255, top=True)
        return 0 if top < 0 else (6585 - 15 * top) // 10

    # ---- A shot with the mouse ----------------------------------------------
    @staticmethod
    def px(twips):
        return int(twips / TWIPS_PER_PIXEL + 0.5)

    def press_aim(self, x, y, x0, y0):
        px, py, cx, cy = self.px(x), MENU_BAR + self.px(y), self.px(x0), MENU_BAR + self.px(y0)
        run('xdotool', 'mousemove', str(cx), str(cy), 'mousedown', '1', 'mousemove', str((cx + px) // 2),
            str((cy + py) // 2), 'mousemove', str(px), str(py))

    def shoot(self, x, y, x0, y0, ticks):
        """The aim dragged from the piece, let go until the window shows
        "Go" (a box that took the input is answered, and the aim made again),
        and "Go" clicked once the bar shows the ticks."""
        until(f'{self.name}\'s window in place', self.placed, 60)
        self.answer_boxes()
        for _ in range(5):
            self.press_aim(x, y, x0, y0)
            run('xdotool', 'mouseup', '1')
            try:
                until(f'{self.name}\'s bar', lambda: self.go_shown() or self.window(False), 10)
            except TimeoutError:
                continue
            if self.go_shown():
                break
            self.answer_boxes()
        else:
            raise TimeoutError(f'{self.name}\'s window never showed Go')
        run('xdotool', 'mousemove', '19', str(MENU_BAR + 166))
        until(f'{self.name}\'s bar at {ticks} ticks', lambda: self.bar_ticks() >= min(ticks, 645) or self.window(False),
              poll=0)
        run('xdotool', 'click', '1')
        for _ in range(5):
            until(f'{self.name}\'s shot to start', lambda: not self.go_shown() or self.window(False))
            if not self.window(False):
                return
            self.answer_boxes()
            if not self.go_shown():
                return
            run('xdotool', 'mousemove', '19', str(MENU_BAR + 166), 'click', '1')
        raise TimeoutError(f'{self.name}\'s window kept showing Go')
