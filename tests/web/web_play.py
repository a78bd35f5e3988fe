"""A whole online game, browser against desktop: Ann plays in headless
Chromium on the page capzel-server serves, Bob in the desktop program
(`capzel --join` with the page's link, under Xvfb), from the first shot to
the winner. Ann aims with the mouse, and once with a finger; a phone-sized
page watches the game as a spectator. Midway Ann's page is reloaded and
takes her seat back. Every shot's hash is compared with the server's by
every page and by the program, and all end on the server's last hash.
Screenshots of both pages in the middle of the game are kept.

    /usr/bin/python3 tests/web/web_play.py <bin-dir> <web-dir> <artifacts-dir>
(run under Xvfb: tests/scripts/web_play_xvfb.sh)"""
import os
import shutil
import sys
import tempfile
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop_player import DesktopPlayer, until  # noqa: E402
from pagelib import Checks, Page, Server, chromium, new_room, room_plan, server_record_hashes  # noqa: E402

bin_dir, web_dir, artifacts = (os.path.abspath(a) for a in sys.argv[1:4])
os.makedirs(artifacts, exist_ok=True)
checks = Checks('web_play')
tmp = tempfile.mkdtemp(prefix='capzel-web-play-')
rooms = os.path.join(tmp, 'server', 'rooms')
os.makedirs(rooms)
room_file = os.path.join(rooms, 'PLAY23.room.json')


def kept_room():
    finished = os.path.join(rooms, 'finished', 'PLAY23.room.json')
    return room_file if os.path.exists(room_file) else finished


def plan_after(shots):
    """The room's next shot once the server has kept `shots` shots."""
    found = {}

    def ready():
        p = room_plan(bin_dir, kept_room(), strong=True)
        if p and (p['over'] or p['shots'] == shots):
            found.update(p)
            return True
        return False
    until(f'the room after shot {shots}', ready, 60, poll=0.05)
    return found


def page_for(name, link, phone=False):
    page = Page(chromium(phone=phone) if phone else chromium(1280, 900), name)
    page.driver.get(link.split('?')[0])
    page.wait_ready()
    page.keep('capzel.name', name)
    return page


def judged_by(page, n):
    compared = (page.stats() or {}).get('compared') or []
    return bool(compared) and compared[-1]['number'] >= n


server = bob = ann = watcher = None
try:
    checks.step('a kept room of Ann and Bob; the server serves the page; Bob joins from the desktop by its link')
    tokens = new_room(bin_dir, room_file)
    server = Server(bin_dir, os.path.join(tmp, 'server'), web_dir)
    link = f'{server.base}/?room=PLAY23'
    bob = DesktopPlayer(bin_dir, os.path.join(tmp, 'Bob'), 'Bob')
    bob.keep_seat(server.port, 'PLAY23', tokens[2])
    bob.start(link)

    checks.step('Ann opens the link in a browser with her kept token; a phone watches')
    ann = page_for('Ann', link)
    ann.keep('capzel.token.PLAY23', tokens[1])
    ann.driver.get(link)
    ann.wait('Ann in her seat', lambda: (v := ann.view()) and v['inRoom'] and v['status'][0]['mine'])
    watcher = page_for('Watcher', link, phone=True)
    watcher.driver.get(link + '&watch')
    watcher.wait('the watcher in the room', lambda: (v := watcher.view()) and v['inRoom'] and v['spectator'])
    until('Bob\'s game window', lambda: any(l.startswith('room PLAY23 seats 2') for l in bob.lines()) and bob.placed())

    done = 0
    shooter = None
    touch_done = reloaded = False
    while True:
        plan = plan_after(done)
        # The program of the player who shot (at the start: both) tells the
        # announcements in boxes once it has shown them.
        if done == 0 or shooter == 'Bob':
            bob.tells(plan['told'])
        if plan['over']:
            break
        checks.check(done < 150, f'no winner after {done} shots')
        if done >= 150:
            break
        if plan['turn'] == 1:
            shooter = 'Ann'
            ann.wait('Ann\'s turn', lambda: (v := ann.view()) and v['myTurn'] and v['phase'] == 'idle')
            if not touch_done and done >= 2:
                ann.aim_with_touch(plan['x'], plan['y'])
                touch_done = True
                how = 'touch'
            else:
                ann.aim_with_mouse(plan['x'], plan['y'])
                how = 'mouse'
            ann.wait('Ann\'s bar', lambda: ann.view()['charging'], 20)
            at = ann.go_at_ticks(plan['ticks'])
            print(f'   shot {done + 1}: Ann ({how}) aimed {plan["x"]} {plan["y"]}, Go at {at} ticks '
                  f'(planned {plan["ticks"]})', flush=True)
        else:
            shooter = 'Bob'
            bob.shoot(plan['x'], plan['y'], plan['x0'], plan['y0'], plan['ticks'])
            print(f'   shot {done + 1}: Bob (desktop) aimed {plan["x"]} {plan["y"]}, {plan["ticks"]} ticks', flush=True)
        done += 1
        for page in (ann, watcher):
            page.wait(f'shot {done} compared', lambda: judged_by(page, done), 120)
        until(f'Bob\'s program to judge shot {done}', lambda: bob.judged(done), 120)
        if done == 4 and not reloaded:
            ann.screenshot(os.path.join(artifacts, 'desktop-size-mid-game.png'))
            watcher.screenshot(os.path.join(artifacts, 'phone-size-mid-game.png'))
            checks.step('Ann\'s page reloaded mid-game: her seat comes back')
            ann.driver.refresh()
            ann.wait('Ann back in her seat',
                     lambda: (v := ann.view()) and v['inRoom'] and v['status'][0]['mine'] and v['shots'] == done)
            reloaded = True

    checks.step('the same last hash at the browser, the watcher, the desktop and the server')
    server_hashes = server_record_hashes(kept_room())
    last = (len(server_hashes), server_hashes[-1]) if server_hashes else None
    for page in (ann, watcher):
        compared = page.stats()['compared']
        checks.check(compared and all(c['same'] for c in compared), f'{page.name}: a shot differed from the server\'s')
        checks.check(compared and (compared[-1]['number'], compared[-1]['hash']) == last,
                     f'{page.name} ends at {compared[-1] if compared else None}, the server at {last}')
        checks.check(page.view()['mismatches'] == 0, f'{page.name}: the game was replaced by the server\'s')
    shots = [l.split() for l in bob.lines() if l.startswith('shot ')]
    checks.check(shots and all(s[3] == 'same' for s in shots), 'Bob: a shot differed from the server\'s')
    checks.check(bob.last_shot() and bob.last_shot()[:2] == last, f'Bob ends at {bob.last_shot()}, the server at {last}')
    for page in (ann, watcher):
        checks.check(not page.view()['running'], f'{page.name}: the game still runs after its winner')
    print(f'   {done} shots; the server\'s last: {last}; Ann compared {len(ann.stats()["compared"])} since the reload, '
          f'the watcher {len(watcher.stats()["compared"])}', flush=True)
    ann.screenshot(os.path.join(artifacts, 'desktop-size-won.png'))
    for page in (ann, watcher):
        problems = page.console_problems()
        checks.check(not problems, f'{page.name}\'s console: {problems[:3]}')
except Exception:
    traceback.print_exc()
    checks.check(False, 'the game did not reach its end')
    for page in (ann, watcher):
        if page:
            page.screenshot(os.path.join(artifacts, f'failure-{page.name}.png'))
finally:
    for page in (ann, watcher):
        if page:
            page.driver.quit()
    if bob:
        bob.stop()
        shutil.copy(bob.out, os.path.join(artifacts, 'Bob-out.txt'))
        shutil.copy(bob.boxes, os.path.join(artifacts, 'Bob-boxes.txt'))
    if server:
        server.kill()
    shutil.rmtree(tmp, ignore_errors=True)
checks.finish()
