"""A whole online game: Ann in Chromium (the mouse, once a finger; her page reloaded midway), Bob in
the desktop program joined by the page's link, a phone-sized spectator; all end on the server's hash."""
import os
import shutil
import sys
import tempfile
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'e2e'))
from desktop_player import Checks, DesktopPlayer, Room, Server, until  # noqa: E402
from pagelib import Page, chromium  # noqa: E402

bin_dir, web_dir, artifacts = (os.path.abspath(a) for a in sys.argv[1:4])
os.makedirs(artifacts, exist_ok=True)
checks = Checks('web_play')
tmp = tempfile.mkdtemp(prefix='capzel-web-play-')
room = Room(bin_dir, os.path.join(tmp, 'server'))


def page_for(name, link, phone=False):
    page = Page(chromium(phone=phone), name)
    page.driver.get(link.split('?')[0])
    page.wait_ready()
    page.keep('capzel.name', name)
    return page


def compared(page):
    return (page.stats() or {}).get('compared') or []


server = bob = ann = watcher = None
try:
    checks.step('a kept room of Ann and Bob; the server serves the page; Bob joins from the desktop by its link')
    tokens = room.new()
    server = Server(bin_dir, os.path.join(tmp, 'server'), web_dir)
    link = f'{server.base}/?room=PLAY23'
    bob = DesktopPlayer(bin_dir, os.path.join(tmp, 'Bob'), 'Bob')
    bob.keep_seat(server.port, tokens[2])
    bob.start(link)

    checks.step('Ann opens the link in a browser with her kept token; a phone watches')
    ann = page_for('Ann', link)
    ann.keep('capzel.token.PLAY23', tokens[1])
    ann.driver.get(link)
    ann.wait('Ann in her seat', lambda: (v := ann.view()) and v['inRoom'] and v['status'][0]['mine'])
    watcher = page_for('Watcher', link, phone=True)
    watcher.driver.get(link + '&watch')
    watcher.wait('the watcher in the room', lambda: (v := watcher.view()) and v['inRoom'] and v['spectator'])
    until('Bob\'s game window', lambda: 'room PLAY23 seats 2' in bob.lines() and bob.placed())

    done = intended = 0
    shooter = None
    touch_done = False
    while True:
        plan = room.plan_after(done)
        if done == 0 or shooter == 'Bob':
            bob.tells(plan['told'])  # the shooter's program (at the start: both) tells them
        if plan['over'] or not checks.check(done < 150, f'no winner after {done} shots'):
            break
        if plan['turn'] == 1:
            shooter = 'Ann'
            ann.wait('Ann\'s turn', lambda: (v := ann.view()) and v['myTurn'] and v['phase'] == 'idle')
            how = 'touch' if not touch_done and done >= 2 else 'mouse'
            (ann.aim_with_touch if how == 'touch' else ann.aim_with_mouse)(plan['x'], plan['y'])
            touch_done = touch_done or how == 'touch'
            ann.wait('Ann\'s bar', lambda: ann.view()['charging'], 20)
            at = ann.go_at_ticks(plan['ticks'])
            print(f'   shot {done + 1}: Ann ({how}) aimed {plan["x"]} {plan["y"]}, Go at {at} ticks '
                  f'(planned {plan["ticks"]})', flush=True)
        else:
            if shooter == 'Bob':
                DesktopPlayer.learn(intended, plan['last'])
            shooter, intended = 'Bob', plan['ticks']
            bob.shoot(plan['x'], plan['y'], plan['x0'], plan['y0'], intended)
            print(f'   shot {done + 1}: Bob (desktop) aimed {plan["x"]} {plan["y"]}, {intended} ticks', flush=True)
        done += 1
        for page in (ann, watcher):
            page.wait(f'shot {done} compared', lambda: (c := compared(page)) and c[-1]['number'] >= done, 120)
        until(f'Bob\'s program to judge shot {done}', lambda: bob.judged(done), 120)
        if done == 4:
            ann.screenshot(os.path.join(artifacts, 'desktop-size-mid-game.png'))
            watcher.screenshot(os.path.join(artifacts, 'phone-size-mid-game.png'))
            checks.step('Ann\'s page reloaded mid-game: her seat comes back')
            ann.driver.refresh()
            ann.wait('Ann back in her seat',
                     lambda: (v := ann.view()) and v['inRoom'] and v['status'][0]['mine'] and v['shots'] == done)

    checks.step('the same last hash at the browser, the watcher, the desktop and the server')
    hashes = room.hashes()
    last = (len(hashes), hashes[-1]) if hashes else None
    for page in (ann, watcher):
        c = compared(page)
        checks.check(c and all(s['same'] for s in c), f'{page.name}: a shot differed from the server\'s')
        checks.check(c and (c[-1]['number'], c[-1]['hash']) == last, f'{page.name} ends at {c[-1:]}, the server at {last}')
        checks.check(page.view()['mismatches'] == 0, f'{page.name}: the game was replaced by the server\'s')
        checks.check(not page.view()['running'], f'{page.name}: the game still runs after its winner')
    shots = bob.shots()
    checks.check(shots and all(s[2] for s in shots), 'Bob: a shot differed from the server\'s')
    checks.check(shots and shots[-1][:2] == last, f'Bob ends at {shots[-1:]}, the server at {last}')
    print(f'   {done} shots; the server\'s last: {last}; Ann compared {len(compared(ann))} since the reload, '
          f'the watcher {len(compared(watcher))}', flush=True)
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
        bob.stop(hard=True)
        shutil.copy(bob.outs[-1], os.path.join(artifacts, 'Bob-out.txt'))
        shutil.copy(bob.boxes, os.path.join(artifacts, 'Bob-boxes.txt'))
    if server:
        server.kill()
    shutil.rmtree(tmp, ignore_errors=True)
checks.finish()
