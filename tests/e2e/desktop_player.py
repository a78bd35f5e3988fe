"""The desktop program as an online player under Xvfb (`capzel --join`, xdotool, xpixels) against
capzel-server and a kept room; every wait is for what a program tells (output, boxes, the screen)."""
import json
import os
import subprocess
import sys
import time

MAIN_W = 730     # the main window is at least as wide as the field, every box narrower
MENU_BAR = 19
HERE = os.path.dirname(os.path.abspath(__file__))


def run(*args):
    return subprocess.run([str(a) for a in args], capture_output=True, text=True)


def until(what, condition, seconds=60, poll=0.02):
    end = time.monotonic() + seconds
    while not (answer := condition()):
        if time.monotonic() > end:
            raise TimeoutError(f'{what} did not come within {seconds} s')
        time.sleep(poll)
    return answer


class Checks:  # failures counted as they come; finish() tells
    def __init__(self, name):
        self.name, self.failures = name, 0

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


class Server:  # capzel-server on a free port (serving `web_root`), its output in <data_dir>.out
    def __init__(self, bin_dir, data_dir, web_root=None, *extra):
        args = [os.path.join(bin_dir, 'capzel-server'), '--port', '0', '--data-dir', data_dir]
        args += (['--web-root', web_root] if web_root else []) + list(extra)
        self.out = data_dir.rstrip('/') + '.out'
        with open(self.out, 'w') as out:
            self.proc = subprocess.Popen(args, stdout=out, stderr=subprocess.STDOUT)

        def listening():
            with open(self.out) as f:
                line = next((l for l in f if 'listening on' in l), None)
            if not line and self.proc.poll() is not None:
                raise RuntimeError('capzel-server ended: ' + open(self.out).read())
            return line
        line = until('capzel-server to listen', listening, 20)
        self.port = int(line.split('0.0.0.0:')[1].split()[0])
        self.tls = 'wss://' in line
        self.base = f'{"https" if self.tls else "http"}://127.0.0.1:{self.port}'

    def kill(self):
        self.proc.kill()
        self.proc.wait()


class Room:  # a kept room PLAY23 of Ann (seat 1) and Bob (seat 2), as online_room makes and plans it
    def __init__(self, bin_dir, data_dir):
        self.tool = os.path.join(bin_dir, 'online_room')
        self.dir = os.path.join(data_dir, 'rooms')
        os.makedirs(self.dir, exist_ok=True)

    def file(self):  # a room that has ended is moved among the finished ones
        kept = os.path.join(self.dir, 'PLAY23.room.json')
        return kept if os.path.exists(kept) else os.path.join(self.dir, 'finished', 'PLAY23.room.json')

    def new(self):  # its seats' tokens by seat
        out = subprocess.run([self.tool, 'new', os.path.join(self.dir, 'PLAY23.room.json')], capture_output=True,
                             text=True, check=True)
        return {int(w[1]): w[2] for w in (line.split() for line in out.stdout.splitlines()) if w[0] == 'token'}

    def plan(self):
        """The next shot (the bar stopped at its first tick or its top): turn, shots, aim x, y, ticks,
        the last shot's ticks, the piece's centre x0, y0, the last shot's announcements (told)."""
        out = subprocess.run([self.tool, 'plan', self.file(), 'strong'], capture_output=True, text=True)
        w = out.stdout.split()
        if out.returncode != 0 or not w:
            return None
        if w[0] == 'over':
            return {'over': True, 'told': int(w[2])}
        return {'over': False, 'turn': int(w[1]), 'shots': int(w[3]), 'x': float(w[5]), 'y': float(w[6]),
                'ticks': int(w[8]), 'last': int(w[10]), 'x0': float(w[12]), 'y0': float(w[13]), 'told': int(w[15])}

    def plan_after(self, shots):  # once the server has kept `shots` shots
        return until(f'the room after shot {shots}',
                     lambda: (p := self.plan()) and (p['over'] or p['shots'] == shots) and p, 60, 0.05)

    def hashes(self):  # each kept entry's
        with open(self.file()) as f:
            return [e['hash'] for e in json.load(f)['record']['entries']]


class DesktopPlayer:
    # How far the bar rises between the look and the click taking effect, learned from the ticks
    # the shots were really played with (one machine: shared).
    overshoot, clicked_at = 20, 0

    def __init__(self, bin_dir, home, name, x=0):
        self.bin, self.home, self.name, self.x = bin_dir, home, name, x  # x: its window's place
        self.boxes = os.path.join(home, 'boxes.txt')
        self.outs = []  # the output of each run of the program
        self.proc = None
        self.told = 0  # the boxes accounted for so far

    def keep_seat(self, port, token):  # as a game playing there keeps it; the steady bar, easier to follow
        os.makedirs(os.path.join(self.home, '.config', 'Capzel'), exist_ok=True)
        with open(os.path.join(self.home, '.config', 'Capzel', 'Capzel.ini'), 'w') as f:
            f.write(f'[General]\nbarPace=1\n[online]\nurl=ws://127.0.0.1:{port}\ncode=PLAY23\nname={self.name}\n'
                    f'token={token}\n')

    def start(self, *join):
        open(self.boxes, 'w').close()
        self.told = 0
        self.outs.append(os.path.join(self.home, f'out-{len(self.outs) + 1}.txt'))
        env = dict(os.environ, HOME=self.home, XDG_CONFIG_HOME=os.path.join(self.home, '.config'),
                   XDG_DATA_HOME=os.path.join(self.home, 'data'), CAPZEL_MESSAGE_LOG=self.boxes,
                   LSAN_OPTIONS=f'suppressions={HERE}/lsan.supp:print_suppressions=0')
        env.pop('QT_QPA_PLATFORM', None)
        with open(self.outs[-1], 'w') as out:
            self.proc = subprocess.Popen([os.path.join(self.bin, 'capzel'), '--join', *join, self.name], env=env,
                                         stdout=out, stderr=subprocess.STDOUT, cwd=self.home)

    def stop(self, hard=False):
        if self.proc and self.proc.poll() is None:
            self.proc.kill() if hard else self.proc.terminate()
            self.proc.wait()

    def lines(self, path=None):  # the program's output, or another file's lines
        with open(path or self.outs[-1]) as f:
            return f.read().splitlines()

    def box_lines(self):
        return self.lines(self.boxes)

    def shots(self):  # each shot judged and compared with the server's: (number, hash, same)
        return [(int(w[1]), w[2], w[3] == 'same') for w in (l.split() for l in self.lines() if l.startswith('shot '))]

    def judged(self, n):
        return (s := self.shots()) and s[-1][0] >= n

    def crashes(self):  # crash reports, sanitizer findings, Qt's complaints of deleted objects
        marks = ('ERROR: AddressSanitizer', 'runtime error:', 'Segmentation', 'Aborted', 'QObject::', 'deleted while')
        return [l for out in self.outs for l in open(out) if any(m in l for m in marks)]

    def windows(self):
        return run('xdotool', 'search', '--all', '--onlyvisible', '--pid', self.proc.pid, '--name', '^Capzel$').stdout.split()

    @staticmethod
    def geometry(window):
        out = run('xdotool', 'getwindowgeometry', '--shell', window).stdout
        return {k: int(v) for k, v in (l.split('=') for l in out.splitlines() if '=' in l and l[0] in 'XYWH')}

    def window(self, main):
        return next((w for w in self.windows() if (self.geometry(w).get('WIDTH', 0) >= MAIN_W) == main), None)

    def game_window(self):  # the main window once the game began in it (told, or its first box open)
        begun = any(l.startswith('playing PLAY23') for l in self.lines()) or self.box_lines()
        return begun and self.window(True)

    def placed(self):  # the game's window at (x, 0), moved there when found elsewhere
        w = self.game_window()
        if not w:
            return False
        g = self.geometry(w)
        if (g.get('X'), g.get('Y')) == (self.x, 0):
            return True
        run('xdotool', 'windowmove', w, self.x, 0)
        return False

    def answer_boxes(self):  # with Return, until none is open
        while (w := self.window(False)):
            run('xdotool', 'windowfocus', '--sync', w)
            run('xdotool', 'key', 'Return')
            until(f'{self.name}\'s box to close', lambda: w not in self.windows(), 30)

    def tells(self, count, seconds=120):  # `count` more announcements told in boxes, each answered
        want = self.told + count
        until(f'{self.name}\'s {count} announcement(s)', lambda: self.answer_boxes() or len(self.box_lines()) >= want,
              seconds)
        self.told = want
        self.answer_boxes()

    def pixels(self, x, y, w, h, *ranges, top=False):
        out = run(os.path.join(self.bin, 'xpixels'), self.x + x, MENU_BAR + y, w, h, *ranges,
                  *(['top'] if top else [])).stdout.strip()
        return int(out) if out.lstrip('-').isdigit() else -1

    def go_shown(self):  # "Go" (above the bar) is light where the field is black
        return self.pixels(6, 155, 26, 5, 179, 255, 179, 255, 179, 255) >= 120

    def bar_ticks(self):  # the bar fills with blue from the bottom, ten twips a tick
        top = self.pixels(18, 184, 1, 440, 0, 63, 0, 63, 205, 255, top=True)
        return 0 if top < 0 else (6585 - 15 * top) // 10

    def aim_shown_in(self, x, y, w, h):  # the dark red aim line
        return self.pixels(x, y, w, h, 166, 216, 0, 25, 0, 25) >= 2

    def press_aim(self, x, y, x0, y0):  # pressed on the piece (x0, y0), dragged to (x, y) in twips, held
        px, py, cx, cy = (int(v / 15 + 0.5) for v in (x, y, x0, y0))
        o, t = self.x, MENU_BAR
        run('xdotool', 'mousemove', o + cx, t + cy, 'mousedown', '1', 'mousemove', o + (cx + px) // 2,
            t + (cy + py) // 2, 'mousemove', o + px, t + py)

    @classmethod
    def learn(cls, intended, actual):
        # A click so late that the bar started again counts the rest of the bar and its pause (80 ticks).
        if not (0 < actual < 660 and intended < 660):
            return
        late = actual - cls.clicked_at
        if late < -100:
            late = 660 - cls.clicked_at + 80 + actual
        cls.overshoot = max(0, min(400, int((cls.overshoot + late) / 2)))

    def shoot(self, x, y, x0, y0, ticks, shot=None, while_held=None):
        """The aim dragged and let go until "Go" shows (again after a box took it, or after 10 s of
        neither: a release while the window was busy is dropped), then "Go" clicked at the planned
        ticks less the overshoot (the full bar holds at its top for 0.1 s only)."""
        until(f'{self.name}\'s window in place', self.placed)
        self.answer_boxes()
        for attempt in range(1, 6):
            self.press_aim(x, y, x0, y0)
            if while_held and attempt == 1:
                while_held()
            run('xdotool', 'mouseup', '1')
            try:
                until(f'{self.name}\'s bar', lambda: self.go_shown() or self.window(False), 10)
            except TimeoutError:
                print(f'   {self.name}\'s window took no release (attempt {attempt}): the aim again', flush=True)
                shot and shot(f'{self.name}-release-not-taken-{attempt}')
                continue
            if self.go_shown():
                break
            self.answer_boxes()
        else:
            raise TimeoutError(f'{self.name}\'s window never showed Go')
        want = max(1, min(645, (ticks if ticks < 660 else 640) - DesktopPlayer.overshoot))
        DesktopPlayer.clicked_at = want
        go = (self.x + 19, MENU_BAR + 166)
        run('xdotool', 'mousemove', *go)
        looks = 0

        def bar_there():  # looked at as fast as can be, now and then whether a box opened instead
            nonlocal looks
            looks += 1
            return self.bar_ticks() >= want or (looks % 25 == 0 and self.window(False))
        until(f'{self.name}\'s bar at {want} ticks', bar_there, poll=0)
        run('xdotool', 'click', '1')
        for _ in range(5):  # clicked again only when a box took it and "Go" still shows
            until(f'{self.name}\'s shot to start', lambda: not self.go_shown() or self.window(False))
            if not self.window(False):
                return
            self.answer_boxes()
            if not self.go_shown():
                return
            run('xdotool', 'mousemove', *go, 'click', '1')
        raise TimeoutError(f'{self.name}\'s window kept showing Go')
