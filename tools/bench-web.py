#!/usr/bin/python3
"""The page's size and speed in headless Chromium on this machine.

    /usr/bin/python3 tools/bench-web.py [--build build] [--runs 5] [--shots 3] [--out DIR]

Serves a copy of <build>/web with capzel-server (--web-root) on its port
and, beside it, a game record to show (bench-demo.json, self-played by
<build>/bin/capzel-sim). Then, in headless Chromium (selenium and
chromedriver):
  - the page's files, uncompressed and gzipped;
  - first paint: the page loaded with the cache off, `runs` times in a
    fresh browser and again in the same browser once open: the browser's
    first paint and first contentful paint, and when the field was first
    drawn, in ms from the navigation's start (medians);
  - a shot: the page in its demo mode (?demo=bench-demo.json, the record's
    messages told to the client as a server tells them), at the game's own
    pace: frames per second while a shot animates, the longest frame, and
    the CPU that the browser's processes used meanwhile (all of them, from
    /proc) and its main thread's busy time (Chrome's TaskDuration);
  - screenshots of the game in progress at 1280x900 and 390x844 (a phone,
    3 device pixels a CSS pixel, touch) in DIR (default <build>/web-bench).
Prints one line per figure. Loopback only.
"""
import argparse
import gzip
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

PAGE_FILES = ['index.html', 'app.js', 'draw.js', 'style.css', 'capzel.js', 'capzel.wasm']


def sizes(web):
    raw = {f: os.path.getsize(os.path.join(web, f)) for f in PAGE_FILES}
    packed = {f: len(gzip.compress(open(os.path.join(web, f), 'rb').read(), 9)) for f in PAGE_FILES}
    for f in PAGE_FILES:
        print(f'size {f:12s} {raw[f]:8d} bytes, gzipped {packed[f]:7d}')
    print(f'size total        {sum(raw.values()):8d} bytes, gzipped {sum(packed.values()):7d} (budget 1048576)')


def demo_record(sim, folder):
    request = {"players": ["club", "novice"], "games": 1, "seed": 5, "threads": 1, "max_shots": 40, "records": folder}
    subprocess.run([sim, '--selfplay'], input=json.dumps(request).encode(), stdout=subprocess.DEVNULL, check=True)
    return os.path.join(folder, 'game-0001.json')


def browser(width, height, mobile=False):
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    for arg in ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage',
                '--no-first-run', '--disable-extensions', f'--window-size={width},{height}']:
        options.add_argument(arg)
    driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
    # The page's own size, whatever the window's frame takes.
    driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride',
                           {'width': width, 'height': height, 'deviceScaleFactor': 3 if mobile else 1, 'mobile': mobile})
    if mobile:
        driver.execute_cdp_cmd('Emulation.setTouchEmulationEnabled', {'enabled': True, 'maxTouchPoints': 5})
    driver.execute_cdp_cmd('Performance.enable', {})
    return driver


def wait_for(driver, script, seconds=60):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = driver.execute_script(script)
        if value:
            return value
        time.sleep(0.05)
    raise TimeoutError(script)


def browser_cpu_seconds(driver):
    """CPU time of chromedriver's browser and every process under it."""
    root = driver.service.process.pid
    children = {}
    for pid in os.listdir('/proc'):
        if not pid.isdigit():
            continue
        try:
            with open(f'/proc/{pid}/stat') as f:
                fields = f.read().rsplit(')', 1)[1].split()
            children.setdefault(int(fields[1]), []).append((int(pid), int(fields[11]) + int(fields[12])))
        except (OSError, IndexError):
            continue
    ticks, todo = 0, [root]
    while todo:
        for pid, t in children.get(todo.pop(), []):
            ticks += t
            todo.append(pid)
    return ticks / os.sysconf('SC_CLK_TCK')


def task_seconds(driver):
    metrics = driver.execute_cdp_cmd('Performance.getMetrics', {})['metrics']
    return {m['name']: m['value'] for m in metrics}.get('TaskDuration', 0.0)


def paint_times(driver, url):
    """A load of `url` with the cache off: first paint, first contentful
    paint and the field first drawn, in ms from the navigation's start."""
    driver.get(url)
    wait_for(driver, 'return window.capzelStats && window.capzelStats.firstField > 0')
    got = dict(driver.execute_script("return performance.getEntriesByType('paint').map(e => [e.name, e.startTime])"))
    return (got.get('first-paint', float('nan')), got.get('first-contentful-paint', float('nan')),
            driver.execute_script('return window.capzelStats.firstField'))


def first_paint(url, runs):
    """Each run starts a browser and loads the page twice, the cache off:
    once in the fresh browser (its first page: the renderer starts with
    it), once again in the same browser (the page's own time)."""
    cold, warm = [], []
    for _ in range(runs):
        driver = browser(1280, 900)
        try:
            driver.execute_cdp_cmd('Network.setCacheDisabled', {'cacheDisabled': True})
            cold.append(paint_times(driver, url))
            driver.get('about:blank')
            warm.append(paint_times(driver, url))
        finally:
            driver.quit()
    for name, loads in (('a fresh browser', cold), ('a browser already open', warm)):
        paint, contentful, field = (statistics.median(x[k] for x in loads) for k in range(3))
        print(f'first paint {paint:.0f} ms, first contentful paint {contentful:.0f} ms, field drawn {field:.0f} ms '
              f'in {name} (medians of {runs} loads, cache off; field: {", ".join(f"{x[2]:.0f}" for x in loads)})')
    print(f'load average {os.getloadavg()[0]:.1f}')


def shot_pace(url, shots):
    driver = browser(1280, 900)
    try:
        driver.get(url)
        wait_for(driver, 'return window.capzelStats && window.capzelStats.shots >= 1')
        start = driver.execute_script('return Object.assign({}, window.capzelStats)')
        cpu0, task0, wall0 = browser_cpu_seconds(driver), task_seconds(driver), time.monotonic()
        wait_for(driver, f'return window.capzelStats.shots >= {shots + 1}', 600)
        cpu1, task1, wall1 = browser_cpu_seconds(driver), task_seconds(driver), time.monotonic()
        end = driver.execute_script('return Object.assign({}, window.capzelStats)')
        frames = end['shotFrames'] - start['shotFrames']
        ms = end['shotMs'] - start['shotMs']
        wall = wall1 - wall0
        print(f'shot {shots} shots animated: {frames} frames in {ms / 1000:.1f} s of shots = {1000 * frames / ms:.1f} fps, '
              f'longest frame {end["longestShotFrame"]:.1f} ms; over {wall:.1f} s the browser used '
              f'{100 * (cpu1 - cpu0) / wall:.1f} % of a core (all its processes), its main thread was busy '
              f'{100 * (task1 - task0) / wall:.1f} %')
    finally:
        driver.quit()


def screenshots(url, out):
    for width, height, mobile, name in [(1280, 900, False, 'desktop-1280x900.png'), (390, 844, True, 'phone-390x844.png')]:
        driver = browser(width, height, mobile)
        try:
            driver.get(url)
            # In the middle of the second shot: the field, the banner, the table.
            wait_for(driver, 'return window.capzelStats && window.capzelStats.shots >= 2 && window.capzelStats.inShot')
            time.sleep(0.5)
            path = os.path.join(out, name)
            driver.save_screenshot(path)
            print(f'screenshot {path}')
        finally:
            driver.quit()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--build', default='build')
    parser.add_argument('--runs', type=int, default=5)
    parser.add_argument('--shots', type=int, default=3)
    parser.add_argument('--out')
    args = parser.parse_args()
    web = os.path.join(args.build, 'web')
    if not os.path.exists(os.path.join(web, 'capzel.wasm')):
        sys.exit(f'no page in {web}: make web')
    out = args.out or os.path.join(args.build, 'web-bench')
    os.makedirs(out, exist_ok=True)
    sizes(web)
    with tempfile.TemporaryDirectory() as folder:
        site = os.path.join(folder, 'site')
        shutil.copytree(web, site)
        shutil.copy(demo_record(os.path.join(args.build, 'bin', 'capzel-sim'), folder), os.path.join(site, 'bench-demo.json'))
        server = subprocess.Popen([os.path.join(args.build, 'bin', 'capzel-server'), '--port', '0', '--data-dir',
                                   os.path.join(folder, 'server'), '--web-root', site],
                                  stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        try:
            line = server.stdout.readline()
            if 'listening on' not in line:
                sys.exit(f'capzel-server did not start: {line}')
            port = int(line.split('0.0.0.0:')[1].split()[0])
            base = f'http://127.0.0.1:{port}/'
            first_paint(base + '?demo=bench-demo.json', args.runs)
            shot_pace(base + '?demo=bench-demo.json', args.shots)
            screenshots(base + '?demo=bench-demo.json', out)
        finally:
            server.terminate()
            server.wait()


if __name__ == '__main__':
    main()
