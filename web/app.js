// The page around the WebAssembly core: the WebSocket to the server it was
// loaded from, the player's input on the field, the animation frames that
// move the game on, and the panels (the rules' banner, the status table,
// the chat, the forms to name oneself, join or make a room). Every rule,
// position and message of the game comes from the core (capzel.js); this
// script draws what it is given and passes on what the player does.
// Whatever a player or the server wrote is shown as text, never as markup.
'use strict';

(() => {
    const $ = (id) => document.getElementById(id);
    const params = new URLSearchParams(location.search);
    const store = {
        get: (key) => { try { return localStorage.getItem(key) || ''; } catch (e) { return ''; } },
        set: (key, value) => { try { localStorage.setItem(key, value); } catch (e) { /* private mode */ } },
        remove: (key) => { try { localStorage.removeItem(key); } catch (e) { /* private mode */ } },
    };
    const tokenKey = (code) => 'capzel.token.' + code;
    // What a benchmark or a test reads from outside: timings, and every
    // shot compared with the server's.
    const stats = { loaded: performance.now(), firstField: 0, frames: 0, shotFrames: 0, shotMs: 0, longestShotFrame: 0, shots: 0, compared: [] };
    window.capzelStats = stats;

    let core = null;       // the WebAssembly core's calls
    let layout = null;     // the field's fixed layout
    let view = null;       // the client's state as last read
    let drawField = null;

    // ---- The core ------------------------------------------------------
    function coreCalls(M) {
        const call = (name, ...args) => {
            const held = [];
            const values = args.map((a) => {
                if (typeof a !== 'string') return a;
                const n = M.lengthBytesUTF8(a) + 1;
                const p = M._malloc(n);
                M.stringToUTF8(a, p, n);
                held.push(p);
                return p;
            });
            try {
                return M['_capzel_' + name](...values);
            } finally {
                held.forEach((p) => M._free(p));
            }
        };
        return { call, text: (name, ...args) => M.UTF8ToString(call(name, ...args)) };
    }

    function stopped(why) {
        running = false;
        notice('The game stopped in this page: ' + why + '\nReload the page to play on.');
    }

    // ---- Notices and the banner -----------------------------------------
    function notice(text) {
        $('noticeText').textContent = text;
        $('notice').hidden = false;
    }
    $('noticeClose').addEventListener('click', () => { $('notice').hidden = true; });

    function connection(text, trouble) {
        $('connection').textContent = text;
        $('connection').classList.toggle('trouble', !!trouble);
    }

    // The rules' messages: a few shown at a time, in order; each goes when
    // clicked, or when the next aim starts once it has been up 2 s.
    const SHOWN_AT_ONCE = 3, READING_MS = 2000;
    const queue = [];
    function post(text) {
        queue.push({ text, shownAt: 0 });
        showBanner();
    }
    function showBanner() {
        const box = $('messages');
        box.replaceChildren();
        const now = performance.now();
        queue.slice(0, SHOWN_AT_ONCE).forEach((m, k) => {
            if (!m.shownAt) m.shownAt = now;
            const line = document.createElement('div');
            line.textContent = m.text;
            line.title = 'Click to dismiss';
            line.addEventListener('click', () => { queue.splice(k, 1); showBanner(); });
            box.appendChild(line);
        });
        // The strip keeps its height: when the lines overflow it, the newest
        // stay in sight (the older ones scroll above).
        box.parentElement.scrollTop = box.parentElement.scrollHeight;
    }
    function aimStarted() {
        const now = performance.now();
        let k = 0;
        while (k < Math.min(queue.length, SHOWN_AT_ONCE)) {
            if (now - queue[k].shownAt >= READING_MS) queue.splice(k, 1);
            else ++k;
        }
        showBanner();
    }

    // ---- The connection --------------------------------------------------
    let name = store.get('capzel.name');
    let room = null;          // {code, watch} once known
    let choices = '';         // the room to make, as the core reads it
    let socket = null;
    let joinedOnce = false;
    let attempts = 0;
    let retryTimer = 0;
    let giveUp = false;

    const serverUrl = () => (location.protocol === 'https:' ? 'wss://' : 'ws://') + location.host + '/';

    function flush() {
        const out = JSON.parse(core.text('outgoing'));
        if (socket && socket.readyState === WebSocket.OPEN) out.forEach((m) => socket.send(m));
        for (const e of JSON.parse(core.text('events'))) event(e);
    }

    function connect() {
        clearTimeout(retryTimer);
        giveUp = false;
        connection(attempts ? `Connecting again (attempt ${attempts + 1})…` : 'Connecting…', attempts > 0);
        const ws = new WebSocket(serverUrl());
        socket = ws;
        ws.addEventListener('open', () => {
            if (ws !== socket) return;
            const token = room ? store.get(tokenKey(room.code)) : '';
            const ok = core.call('connected', name, choices, room ? room.code : '', token, room && room.watch ? 1 : 0);
            if (!ok) return stopped('the room asked for cannot be asked for');
            flush();
        });
        ws.addEventListener('message', (m) => {
            if (ws !== socket || typeof m.data !== 'string') return;
            core.call('received', m.data);
            flush();
        });
        ws.addEventListener('close', () => {
            if (ws !== socket) return;
            socket = null;
            core.call('disconnected');
            flush();
            if (giveUp) return;
            // Retried with the seat's token, sooner at first.
            const wait = Math.min(10, 2 ** Math.min(attempts, 3));
            attempts += 1;
            connection(joinedOnce
                ? `The connection to the server was lost. Trying again in ${wait} s (attempt ${attempts + 1})…`
                : `The server cannot be reached. Trying again in ${wait} s…`, true);
            retryTimer = setTimeout(connect, wait * 1000);
        });
    }

    function leaveWith(text) {
        giveUp = true;
        if (socket) socket.close();
        connection('Not connected', true);
        notice(text);
    }

    function event(e) {
        switch (e.kind) {
        case 'welcomed':
            connection('Connected, joining…');
            break;
        case 'joined': {
            const wasCreated = choices !== '';
            choices = '';
            joinedOnce = true;
            attempts = 0;
            room = { code: e.code, watch: !e.token };
            if (e.token) store.set(tokenKey(e.code), e.token);
            if (wasCreated || params.get('room') !== e.code) {
                const url = new URL(location.href);
                url.search = '?room=' + encodeURIComponent(e.code) + (room.watch ? '&watch' : '');
                history.replaceState(null, '', url);
            }
            connection(room.watch ? 'Watching' : 'Connected');
            showRoom();
            break;
        }
        case 'refused':
            if (e.forgetToken && room) store.remove(tokenKey(room.code));
            leaveWith(e.text);
            if (!joinedOnce) showStart();
            break;
        case 'lost':
            leaveWith(e.text);
            break;
        case 'banner':
            post(e.text);
            break;
        case 'refusal':
            // The game acts on what concerns it (a shot refused: the
            // server's game is asked for); the rest is for the console.
            console.info('The server refused: ' + e.text);
            break;
        case 'chat':
            chatLine(e.who, e.text);
            break;
        case 'compared':
            stats.compared.push({ number: e.number, hash: e.hash, same: e.same });
            $('hash').textContent = `Shot ${e.number}: ${e.hash} ` + (e.same ? '(the same as the server’s)' : '(not the server’s: the server’s game is taken)');
            $('hash').classList.toggle('differs', !e.same);
            break;
        }
    }

    function showRoom() {
        $('room').textContent = 'Room ' + room.code + (room.watch ? ' (watching)' : '');
        const link = new URL(location.href);
        link.search = '?room=' + encodeURIComponent(room.code);
        $('inviteLink').textContent = link.href;
        $('inviteLink').href = link.href;
        $('invite').hidden = false;
        $('chat').hidden = false;
    }
    $('copy').addEventListener('click', () => {
        if (navigator.clipboard) navigator.clipboard.writeText($('inviteLink').href).catch(() => {});
    });

    function chatLine(who, text) {
        const li = document.createElement('li');
        const w = document.createElement('span');
        w.className = 'who';
        w.textContent = who + ': ';
        li.append(w, document.createTextNode(text));
        const list = $('chatLines');
        list.appendChild(li);
        while (list.children.length > 200) list.firstChild.remove();
        list.scrollTop = list.scrollHeight;
    }
    $('chatForm').addEventListener('submit', (ev) => {
        ev.preventDefault();
        const text = $('chatText').value;
        if (!text.trim()) return;
        if (core.call('say', text)) $('chatText').value = '';
        else post('That line cannot be sent: at most 300 characters, no control characters, and only in a room.');
        flush();
    });

    // ---- Demo: a record told as a server tells it, with no server -------
    async function demo(file) {
        if (!/^[\w./-]+$/.test(file) || file.includes('..') || file.startsWith('/')) return notice('A demo is a file beside this page.');
        let text;
        try {
            const reply = await fetch(file, { cache: 'no-store' });
            if (!reply.ok) throw new Error(reply.status);
            text = await reply.text();
        } catch (e) {
            return notice('The demo ' + file + ' cannot be read.');
        }
        let messages;
        try {
            const parsed = JSON.parse(text);
            messages = Array.isArray(parsed) ? parsed.filter((m) => typeof m === 'string') : JSON.parse(core.text('record_messages', text));
        } catch (e) {
            messages = [];
        }
        if (!messages.length) return notice('The demo ' + file + ' holds no game.');
        room = { code: 'REPLAY', watch: true };
        core.call('connected', name || 'Demo', '', room.code, '', 1);
        JSON.parse(core.text('outgoing'));
        messages.forEach((m) => core.call('received', m));
        flush();
        connection('Demo: a recorded game');
        showRoom();
        $('invite').hidden = true;
    }

    // ---- Forms: the name, joining, making a room --------------------------
    function askName(then) {
        $('nameText').value = name;
        $('nameBox').hidden = false;
        $('nameText').focus();
        $('nameForm').onsubmit = (ev) => {
            ev.preventDefault();
            const typed = $('nameText').value;
            const problem = core.text('name_problem', typed);
            $('nameProblem').textContent = problem;
            if (problem) return;
            name = typed.trim();
            store.set('capzel.name', name);
            $('nameBox').hidden = true;
            $('rename').hidden = false;
            then();
        };
    }
    $('rename').addEventListener('click', () => askName(() => {}));

    const WHO = [['here', 'This page'], ['link', 'Joins by link'], ['computer', 'Computer']];
    function seatRow(k) {
        const tr = document.createElement('tr');
        const number = document.createElement('td');
        number.textContent = String(k + 1);
        const who = document.createElement('select');
        WHO.forEach(([value, label]) => who.add(new Option(label, value)));
        who.value = k === 0 ? 'here' : 'link';
        const seatName = document.createElement('input');
        seatName.value = k === 0 ? name : '';
        const level = document.createElement('select');
        layout.computerLevels.forEach((l) => level.add(new Option(l, l)));
        const cells = [number, who, seatName, level].map((el, i) => {
            if (i === 0) return el;
            const td = document.createElement('td');
            td.appendChild(el);
            return td;
        });
        tr.append(...cells);
        const sync = () => {
            seatName.disabled = who.value === 'link';
            seatName.placeholder = who.value === 'link' ? 'whoever joins' : '';
            level.disabled = who.value !== 'computer';
            if (who.value === 'computer' && !seatName.value) seatName.value = 'Computer ' + (k + 1);
            checkHost();
        };
        who.addEventListener('change', sync);
        seatName.addEventListener('input', checkHost);
        tr.read = () => ({ who: who.value, name: seatName.value, level: level.value });
        tr.sync = sync;
        return tr;
    }
    let seatRows = [];
    function hostChoices() {
        const n = Number($('seatCount').value);
        return JSON.stringify({ walls: $('walls').checked, seats: seatRows.slice(0, n).map((r) => r.read()) });
    }
    function checkHost() {
        const n = Number($('seatCount').value);
        seatRows.forEach((r, k) => { r.hidden = k >= n; });
        const problem = core.text('room_problem', hostChoices());
        $('hostProblem').textContent = problem;
        $('make').disabled = problem !== '';
    }

    function showStart() {
        $('start').hidden = false;
        if (!seatRows.length) {
            for (let k = 1; k <= layout.maxPlayers; ++k) $('seatCount').add(new Option(String(k), String(k)));
            $('seatCount').value = '2';
            seatRows = Array.from({ length: layout.maxPlayers }, (_, k) => seatRow(k));
            $('seats').tBodies[0].append(...seatRows);
            seatRows.forEach((r) => r.sync());
            $('seatCount').addEventListener('change', checkHost);
            $('walls').addEventListener('change', checkHost);
        }
        checkHost();
    }
    function join(watch) {
        const code = core.text('room_code', $('codeText').value);
        if (!code) return void ($('joinProblem').textContent = 'A room’s code is 6 letters and digits.');
        location.search = '?room=' + encodeURIComponent(code) + (watch ? '&watch' : '');
    }
    $('joinForm').addEventListener('submit', (ev) => { ev.preventDefault(); join(false); });
    $('watchButton').addEventListener('click', () => join(true));
    $('hostForm').addEventListener('submit', (ev) => {
        ev.preventDefault();
        choices = hostChoices();
        if (core.text('room_problem', choices)) return;
        $('start').hidden = true;
        room = null;
        connect();
    });

    // ---- Input on the field ---------------------------------------------
    const canvas = $('field');
    let pointerDown = false, placing = false, spaceHeld = false, fastOn = false;

    function twips(ev) {
        const r = canvas.getBoundingClientRect();
        return [(ev.clientX - r.left) / r.width * layout.width, (ev.clientY - r.top) / r.height * layout.height];
    }
    function inGo([x, y]) {
        const b = layout.go;
        return view && view.go && x >= b.left && x <= b.left + b.width && y >= b.top && y <= b.top + b.height;
    }
    // The core's clock brought to this moment before an input, so that the
    // bar starts when the button is let go and stops when Go is pressed,
    // not at the last frame.
    function catchUp() {
        const now = performance.now();
        if (running && lastTime && now > lastTime) {
            core.call('frame', now - lastTime);
            lastTime = now;
        }
    }
    function afterInput() {
        flush();
        frameDue = true;
    }
    canvas.addEventListener('pointerdown', (ev) => {
        if (!core || ev.button !== 0) return;
        catchUp();
        const at = twips(ev);
        if (inGo(at)) {
            core.call('go');
            return afterInput();
        }
        pointerDown = true;
        canvas.setPointerCapture(ev.pointerId);
        if (placing) core.call('mouse_move', 0, 1, at[0], at[1]);
        else core.call('mouse_move', 1, ev.shiftKey ? 1 : 0, at[0], at[1]);
        afterInput();
        ev.preventDefault();
    });
    canvas.addEventListener('pointermove', (ev) => {
        if (!core) return;
        const at = twips(ev);
        if (pointerDown && placing) core.call('mouse_move', 0, 1, at[0], at[1]);
        else if (pointerDown) core.call('mouse_move', 1, ev.shiftKey ? 1 : 0, at[0], at[1]);
        else if (ev.pointerType === 'mouse') core.call('mouse_move', ev.buttons & 1, ev.shiftKey ? 1 : 0, at[0], at[1]);
        else return;
        afterInput();
    });
    const release = (ev) => {
        if (!core || !pointerDown) return;
        catchUp();
        pointerDown = false;
        if (placing) {
            placing = false;
            $('place').setAttribute('aria-pressed', 'false');
        } else if (ev.type === 'pointerup') {
            core.call('mouse_up');
        }
        afterInput();
    };
    canvas.addEventListener('pointerup', release);
    canvas.addEventListener('pointercancel', release);
    canvas.addEventListener('contextmenu', (ev) => ev.preventDefault());

    function setFast() { core && core.call('set_fast', spaceHeld || fastOn ? 1 : 0); }
    $('go').addEventListener('click', () => { catchUp(); core.call('go'); afterInput(); });
    $('fast').addEventListener('click', () => {
        fastOn = !fastOn;
        $('fast').setAttribute('aria-pressed', String(fastOn));
        setFast();
    });
    $('place').addEventListener('click', () => {
        placing = !placing;
        $('place').setAttribute('aria-pressed', String(placing));
    });
    $('cancel').addEventListener('click', () => { core.call('escape'); afterInput(); });
    const typing = (ev) => ev.target instanceof HTMLInputElement || ev.target instanceof HTMLSelectElement;
    document.addEventListener('keydown', (ev) => {
        if (!core || typing(ev)) return;
        catchUp();
        if (ev.key === ' ') {
            ev.preventDefault();
            if (ev.repeat) return;
            spaceHeld = true;
            setFast();
            core.call('go');
        } else if (ev.key === 'Enter') {
            core.call('go');
        } else if (ev.key === 'Escape') {
            core.call('escape');
        } else {
            return;
        }
        afterInput();
    });
    document.addEventListener('keyup', (ev) => {
        if (ev.key === ' ' && core) {
            spaceHeld = false;
            setFast();
        }
    });
    window.addEventListener('blur', () => { spaceHeld = false; setFast(); });

    // ---- Drawing ----------------------------------------------------------
    function fitField() {
        // A resize before the core has loaded: the field is fitted once it has.
        if (!layout) return;
        const box = $('fieldBox');
        const narrow = window.matchMedia('(max-width: 820px)').matches;
        const width = box.clientWidth;
        const height = narrow ? Infinity : box.clientHeight;
        const aspect = layout.width / layout.height;
        const cssWidth = Math.max(120, Math.floor(Math.min(width, height * aspect)));
        const cssHeight = Math.floor(cssWidth / aspect);
        const dpr = window.devicePixelRatio || 1;
        canvas.style.width = cssWidth + 'px';
        canvas.style.height = cssHeight + 'px';
        canvas.width = Math.round(cssWidth * dpr);
        canvas.height = Math.round(cssHeight * dpr);
        frameDue = true;
    }
    window.addEventListener('resize', fitField);

    function statusTable(v) {
        const body = $('status').tBodies[0];
        body.replaceChildren(...v.status.map((r) => {
            const tr = document.createElement('tr');
            tr.classList.toggle('turn', r.turn);
            tr.classList.toggle('out', r.out);
            const cell = (text, cls) => {
                const td = document.createElement('td');
                td.textContent = text;
                if (cls) td.className = cls;
                return td;
            };
            const first = cell(r.turn ? '▶ ' : '');
            if (r.color) {
                const swatch = document.createElement('span');
                swatch.className = 'swatch';
                swatch.style.background = r.color;
                first.appendChild(swatch);
            }
            const presence = cell('');
            if (r.presence) {
                const dot = document.createElement('span');
                dot.className = 'dot ' + r.presence;
                presence.title = { computer: 'The computer plays this seat', open: 'Nobody has taken this seat yet' }[r.presence] || r.presence;
                presence.appendChild(dot);
            }
            const who = cell(r.open ? 'open' : r.name + (r.mine ? ' (you)' : ''), r.open ? 'name open' : 'name');
            who.title = r.open ? 'Whoever follows the link takes this seat' : who.textContent;
            tr.append(first, cell(String(r.number)), who, cell(r.position),
                cell(r.direction), cell(String(r.score), 'score'), presence);
            return tr;
        }));
        $('presence').textContent = v.waiting || (v.inRoom ? 'Online: every player is here' : '');
    }

    // Only what changed is touched: a page that writes its text at every
    // frame lays itself out again at every frame.
    const shown = new Map();
    function put(id, what, value) {
        const key = id + '.' + what;
        if (shown.get(key) === value) return;
        shown.set(key, value);
        if (what === 'text') $(id).textContent = value;
        else $(id)[what] = value;
    }

    let lastPhase = '', lastStatus = '';
    function showView(v) {
        const aiming = v.phase === 'aiming';
        if (aiming && lastPhase !== 'aiming') aimStarted();
        lastPhase = v.phase;
        put('waiting', 'text', v.waiting);
        put('waiting', 'hidden', !v.waiting);
        put('go', 'disabled', !v.go || v.remoteShot || v.spectator || !(v.myTurn || v.charging));
        put('go', 'hidden', !!v.spectator);
        put('place', 'hidden', !v.canPlace);
        put('cancel', 'hidden', !(v.myTurn || v.charging) || v.remoteShot || !(v.phase === 'aiming' || v.phase === 'charging'));
        let hint = '';
        if (v.spectator) hint = 'Watching';
        else if (v.myTurn && v.phase === 'idle') hint = 'Your turn: drag back from your piece, release, then Go';
        else if (v.myTurn && v.phase === 'aiming') hint = 'Release to charge the bar';
        else if (v.charging && !v.remoteShot) hint = 'Go (or Space) shoots';
        put('hint', 'text', hint);
        const status = JSON.stringify([v.status, v.waiting, v.inRoom]);
        if (status !== lastStatus) {
            lastStatus = status;
            statusTable(v);
        }
    }

    // ---- The frames -------------------------------------------------------
    let running = true, frameDue = true, lastTime = 0, revision = -1;
    function frame(time) {
        if (!running) return;
        // A frame's time may precede an input's catch-up: never counted twice.
        const elapsed = lastTime ? Math.max(0, time - lastTime) : 0;
        lastTime = Math.max(lastTime, time);
        try {
            const rev = core.call('frame', elapsed);
            flush();
            if (rev !== revision || frameDue) {
                revision = rev;
                frameDue = false;
                view = JSON.parse(core.text('view'));
                window.capzelView = view;
                drawField(view);
                showView(view);
                if (!stats.firstField) {
                    stats.firstField = performance.now();
                    performance.mark('capzel-field');
                }
            }
            const shooting = view && view.phase === 'shooting';
            if (shooting) {
                stats.shotFrames += 1;
                stats.shotMs += elapsed;
                stats.longestShotFrame = Math.max(stats.longestShotFrame, elapsed);
            }
            if (shooting && !stats.inShot) stats.shots += 1;
            stats.inShot = shooting;
            stats.frames += 1;
        } catch (e) {
            return stopped(String(e && e.message || e));
        }
        requestAnimationFrame(frame);
    }

    // ---- Start ------------------------------------------------------------
    function begin() {
        const demoFile = params.get('demo');
        if (demoFile) return demo(demoFile);
        const code = params.get('room');
        if (code !== null) {
            const valid = core.text('room_code', code);
            if (!valid) {
                notice('"' + code.slice(0, 20) + '" is not a room’s code (6 letters and digits).');
                return showStart();
            }
            room = { code: valid, watch: params.has('watch') };
            return connect();
        }
        showStart();
    }

    window.addEventListener('load', () => {
        CapzelCore({ onAbort: (why) => stopped(String(why)) }).then((M) => {
            core = coreCalls(M);
            layout = JSON.parse(core.text('layout'));
            window.capzelLayout = layout;
            drawField = CapzelDraw.field(canvas, layout);
            fitField();
            requestAnimationFrame(frame);
            // A kept name the game would refuse is asked for again.
            if (name && core.text('name_problem', name)) name = '';
            $('rename').hidden = !name;
            if (!name && !params.get('demo')) askName(begin);
            else begin();
        }, (e) => notice('The game could not start in this browser: ' + e));
    });
})();
