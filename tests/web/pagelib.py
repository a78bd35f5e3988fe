"""The page in headless Chromium: it tells what it shows through window.capzelView, capzelStats (every
shot compared with the server's) and capzelLayout; input goes through DevTools as a mouse or finger's."""
from desktop_player import until  # tests/e2e, on the path of the scripts importing this
from selenium import webdriver
from selenium.webdriver.chrome.service import Service

POLICY_START = "default-src 'self'"


def chromium(width=1280, height=900, phone=False):
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    for a in ('--headless=new', '--no-sandbox', '--disable-dev-shm-usage', '--hide-scrollbars',
              '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
              f'--window-size={width},{height}'):
        options.add_argument(a)
    if phone:
        options.add_experimental_option('mobileEmulation', {
            'deviceMetrics': {'width': 390, 'height': 844, 'pixelRatio': 3.0, 'touch': True},
            'userAgent': 'Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 (KHTML, like Gecko) '
                         'Chrome/156.0 Mobile Safari/537.36'})
    options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
    options.set_capability('acceptInsecureCerts', True)
    return webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)


class Page:
    def __init__(self, driver, name):
        self.driver, self.name = driver, name

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
        return until(f'{self.name}: {what}', condition, seconds, 0.05)

    def wait_ready(self, seconds=30):
        self.wait('the page\'s core', lambda: self.js('return !!window.capzelLayout'), seconds)

    def keep(self, key, value):
        self.js('localStorage.setItem(arguments[0], arguments[1])', key, value)

    def screenshot(self, path):
        self.driver.save_screenshot(path)

    def field_point(self, x, y):
        return self.js('''
            const r = document.getElementById('field').getBoundingClientRect(), l = window.capzelLayout;
            return [r.left + arguments[0] / l.width * r.width, r.top + arguments[1] / l.height * r.height];''', x, y)

    def mouse(self, kind, x, y, buttons=1):
        self.driver.execute_cdp_cmd('Input.dispatchMouseEvent', {
            'type': kind, 'x': x, 'y': y, 'button': 'left', 'buttons': buttons, 'clickCount': 1,
            'pointerType': 'mouse'})

    def aim_with_mouse(self, x, y):
        """Pressed a little beside the aim point (field twips), dragged onto it and let go."""
        px, py = self.field_point(x, y)
        self.mouse('mouseMoved', px + 8, py + 8, 0)
        self.mouse('mousePressed', px + 8, py + 8)
        self.mouse('mouseMoved', px + 4, py + 4)
        self.mouse('mouseMoved', px, py)
        self.mouse('mouseReleased', px, py, 0)

    def aim_with_touch(self, x, y):
        px, py = self.field_point(x, y)
        self.driver.execute_cdp_cmd('Emulation.setTouchEmulationEnabled', {'enabled': True, 'maxTouchPoints': 1})
        for kind, dx in (('touchStart', 8), ('touchMove', 4), ('touchMove', 0)):
            self.driver.execute_cdp_cmd('Input.dispatchTouchEvent', {
                'type': kind, 'touchPoints': [{'x': px + dx, 'y': py + dx, 'id': 1}]})
        self.driver.execute_cdp_cmd('Input.dispatchTouchEvent', {'type': 'touchEnd', 'touchPoints': []})

    def go_at_ticks(self, ticks, seconds=20):
        """"Go" pressed as the bar reaches `ticks`, timed within the page's frame in which it would
        pass them (the top only once there); the ticks the view shows then."""
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
        # Errors and refused loads (a Content-Security-Policy violation among them).
        return [e['message'] for e in self.driver.get_log('browser') if e.get('level') in ('SEVERE', 'ERROR')]
