"""An online game of Ann and Bob played whole with the mouse in two real windows against capzel-server
(online_play_xvfb.sh), the aim where online_room plans it. Midway Bob's program is killed and takes his
seat back; all end on the server's hash. Then the server killed: both say so and play on."""
import hashlib
import os
import shutil
import sys
import tempfile
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop_player import Checks, DesktopPlayer, Room, Server, run, until  # noqa: E402

bin_dir, artifacts = (os.path.abspath(a) for a in sys.argv[1:3])  # a fresh folder, XDG_RUNTIME_DIR set
checks = Checks('online play under Xvfb')
tmp = tempfile.mkdtemp(prefix='capzel-online-')
room = Room(bin_dir, os.path.join(tmp, 'server'))
ann, bob = (DesktopPlayer(bin_dir, os.path.join(tmp, n), n) for n in ('Ann', 'Bob'))
seats = {1: ann, 2: bob}
server = None
taken = 0


def shot(name):
    global taken
    taken += 1
    run('import', '-window', 'root', os.path.join(artifacts, f'{taken:02d}-{name}.png'))


def place_windows():  # Ann's window at the left, Bob's beside it (an online window holds the chat too)
    until('Ann\'s window at the left', ann.placed)
    bob.x = DesktopPlayer.geometry(ann.game_window())['WIDTH'] + 10
    until('Bob\'s window beside it', bob.placed)


def start(player):
    player.start(f'ws://127.0.0.1:{server.port}', 'PLAY23')
    until(f'{player.name}\'s game window', player.game_window)


def open_room():
    global server
    tokens = room.new()
    server = Server(bin_dir, os.path.join(tmp, 'server'))
    for seat, player in seats.items():
        player.keep_seat(server.port, tokens[seat])
        start(player)
    place_windows()


def comes_back(player, seat, shots):
    player.stop(hard=True)
    until(f'{player.name}\'s window to go', lambda: not player.windows(), 30)
    shot(f'{player.name}-gone')
    start(player)
    until(f'{player.name}\'s game to go on',  # once the boxes of its beginning are answered
          lambda: player.answer_boxes() or any(l.startswith('playing PLAY23') for l in player.lines()))
    place_windows()
    checks.check(f'room PLAY23 seats {seat}' in player.lines(), f'{player.name} did not come back to the seat')
    checks.check(f'playing PLAY23 from shot {shots}' in player.lines(), f'{player.name}\'s game did not go on from {shots}')
    player.told = len(player.box_lines())  # its boxes from here on are those of the shots to come


def judged_by_both(n):  # the boxes a shot brings are answered as they come
    return (ann.judged(n) and bob.judged(n)) or (ann.answer_boxes() or bob.answer_boxes() or
                                                 (ann.judged(n) and bob.judged(n)))


try:
    checks.step('a new room; both players take their seats')
    open_room()
    shot('joined')

    checks.step('the players shoot with the mouse until the killer wins; a program is killed midway')
    done = intended = 0
    shooter = None
    while True:
        plan = room.plan_after(done)
        for player in (ann, bob) if done == 0 else (shooter,):
            player.tells(plan['told'])
        if plan['over']:
            break
        DesktopPlayer.learn(intended, plan['last'])
        assert done < 150, f'no winner after {done} shots'
        shooter, other, intended, began = seats[plan['turn']], seats[3 - plan['turn']], plan['ticks'], time.monotonic()
        aim = (plan['x'], plan['y'], plan['x0'], plan['y0'])
        held = None
        if done == 3:
            # The player not on turn comes back; its window shows the other's aim as it is dragged.
            comes_back(other, 3 - plan['turn'], done)
            for player in (ann, bob):
                player.answer_boxes()
            mx, my = (int(plan['x0']) + int(plan['x'])) // 30, (int(plan['y0']) + int(plan['y'])) // 30

            def held():
                until(f'{other.name}\'s window to show the aim', lambda: other.aim_shown_in(mx - 12, my - 12, 24, 24))
                shot(f'{shooter.name}-aims-at-{other.name}-s')
        place_windows()
        shooter.shoot(*aim, intended, shot, held)
        done += 1
        until(f'shot {done} judged by both', lambda: judged_by_both(done), 120)
        print(f'   shot {done}: {shooter.name} aimed {plan["x"]} {plan["y"]}, {intended} ticks (the shot before: '
              f'{plan["last"]}; overshoot {DesktopPlayer.overshoot}, {time.monotonic() - began:.0f} s)', flush=True)
        if done % 10 == 0:
            shot(f'shot-{done}')
    checks.check(any('WON' in l for p in (ann, bob) for l in p.box_lines()), 'the game ended with no winner\'s message')
    shot('won')

    checks.step('the same final state at both programs and the server')
    hashes = room.hashes()
    last = (len(hashes), hashes[-1], True)
    print(f'   Ann: {ann.shots()[-1]}   Bob: {bob.shots()[-1]}   server: {last[:2]}', flush=True)
    for player in (ann, bob):
        checks.check(all(s[2] for s in player.shots()), f'{player.name}: a shot differed from the server\'s')
        checks.check(player.shots()[-1] == last, f'{player.name} ends at {player.shots()[-1]}, the server at {last}')
        player.stop()

    checks.step('the server killed mid-game: both programs say so and play on')
    server.kill()
    open_room()
    server.kill()  # while both wait for the answer to the game's first box
    for player in (ann, bob):
        until(f'{player.name}\'s box', lambda: any('connection to the server was lost' in l for l in player.box_lines())
              or player.answer_boxes(), 60)
    shot('server-gone')
    for player in (ann, bob):
        player.answer_boxes()
    plan = room.plan()
    autosave = os.path.join(ann.home, 'data', 'capzel', 'autosave.CSG')

    def kept():
        with open(autosave, 'rb') as f:
            return hashlib.md5(f.read()).digest()
    before = kept()  # every seat is Ann's now: her program keeps the game
    ann.shoot(plan['x'], plan['y'], plan['x0'], plan['y0'], plan['ticks'], shot)
    until('the game to go on at Ann\'s', lambda: kept() != before)
    shot('hot-seat')
    ann.answer_boxes()
    for player in (ann, bob):
        checks.check(player.proc.poll() is None, f'{player.name}\'s program is gone')
except Exception:
    traceback.print_exc()
    checks.check(False, 'the game did not reach its end')
    shot('failure')
finally:
    for player in (ann, bob):
        checks.check(not player.crashes(), f'{player.name}\'s program reported an error: {player.crashes()[:3]}')
        player.stop()
        for i, out in enumerate(player.outs, 1):
            shutil.copy(out, os.path.join(artifacts, f'{player.name}-out-{i}.txt'))
        if os.path.exists(player.boxes):
            shutil.copy(player.boxes, os.path.join(artifacts, f'{player.name}-boxes.txt'))
    if server:
        server.kill()
        shutil.copy(server.out, os.path.join(artifacts, 'server.out'))
    shutil.rmtree(tmp, ignore_errors=True)
checks.finish()
