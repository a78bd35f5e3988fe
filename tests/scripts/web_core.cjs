// The page's WebAssembly core under node, checked against the desktop build.
//   node web_core.cjs <web-dir> <capzel-sim> <record.json>...
// For every record:
//  - replayed by the core the page loads (capzel.js + capzel.wasm, the same
//    files), entry by entry, it prints exactly what the desktop build's
//    `capzel-sim --replay` prints: every hash and the final game equal;
//  - told to the page's client as a server tells it to a spectator (the
//    room joined, the game as it starts, each shot accepted), the client
//    plays every shot at the game's pace, frame by frame, and finds each
//    hash equal to the record's (the server's).
// Then the client takes hostile messages without stopping, and the page's
// files stay within their size budget.
'use strict';
const fs = require('fs');
const path = require('path');
const { execFileSync } = require('child_process');

const [webDir, sim, ...records] = process.argv.slice(2);
const failures = [];
const fail = (what) => failures.push(what);

function coreApi(M) {
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
            return M['_' + name](...values);
        } finally {
            held.forEach((p) => M._free(p));
        }
    };
    return { call, text: (name, ...args) => M.UTF8ToString(call(name, ...args)) };
}

async function freshCore() {
    const CapzelCore = require(path.resolve(webDir, 'capzel.js'));
    const M = await CapzelCore({ wasmBinary: fs.readFileSync(path.join(webDir, 'capzel.wasm')) });
    return coreApi(M);
}

// The record's shots as the client plays them from a server's messages.
function playAsSpectator(core, recordText, name) {
    const messages = JSON.parse(core.text('capzel_record_messages', recordText));
    if (messages.length < 3) return fail(`${name}: the core did not read the record`);
    const accepted = messages.map((m) => JSON.parse(m)).filter((m) => m.type === 'accepted');
    if (!core.call('capzel_connected', 'Watcher', '', 'REPLAY', '', 1)) return fail(`${name}: no room to join`);
    const hello = JSON.parse(core.text('capzel_outgoing'));
    if (hello.length !== 1 || JSON.parse(hello[0]).type !== 'hello') fail(`${name}: no hello sent`);
    for (const m of messages) core.call('capzel_received', m);
    const compared = [];
    let banner = 0;
    // Frames of 1/60 s until every shot was compared (a shot takes a few
    // seconds of game time; a record a few minutes).
    for (let frame = 0; frame < 2_000_000 && compared.length < accepted.length; ++frame) {
        core.call('capzel_frame', 1000 / 60);
        for (const e of JSON.parse(core.text('capzel_events'))) {
            if (e.kind === 'compared') compared.push(e);
            if (e.kind === 'banner') ++banner;
            if (e.kind === 'refused' || e.kind === 'lost') fail(`${name}: ${e.text}`);
        }
        if (frame % 997 === 0) JSON.parse(core.text('capzel_view'));
    }
    if (compared.length !== accepted.length) fail(`${name}: ${compared.length} of ${accepted.length} shots played`);
    compared.forEach((c, k) => {
        if (!c.same || c.hash !== accepted[k].hash || c.number !== k + 1)
            fail(`${name}: shot ${k + 1} gave ${c.hash}, the record ${accepted[k].hash}`);
    });
    if (accepted.length > 0 && banner === 0) fail(`${name}: the rules said nothing`);
    const view = JSON.parse(core.text('capzel_view'));
    if (!view.spectator || view.shots !== accepted.length || view.mismatches !== 0)
        fail(`${name}: the view ends at shot ${view.shots}, spectator ${view.spectator}, ${view.mismatches} mismatches`);
    return compared.length;
}

// Messages no server should send: each is refused or ignored, and the core
// goes on (an abort would throw here).
function hostileMessages(core) {
    const deep = (n) => '['.repeat(n) + ']'.repeat(n);
    const rows = [
        ['not JSON', '{'],
        ['not an object', 'null'],
        ['nested to the size limit', deep(8000)],
        ['over the size limit', JSON.stringify({ type: 'chat', protocol: 1, text: 'x'.repeat(17000), seat: 1 })],
        ['a state nested deep', `{"type":"state","protocol":1,"shotNumber":1,"snapshot":{"a":${deep(5000)}}}`],
        ['another version', '{"type":"state","protocol":99}'],
        ['a shot from nowhere', '{"type":"accepted","protocol":1,"seat":9,"shotNumber":-1}'],
        ['a chat with a control character', '{"type":"chat","protocol":1,"text":"a\\u0007b","seat":1}'],
        ['a chat as markup', '{"type":"chat","protocol":1,"text":"<img src=x onerror=alert(1)>","seat":1}'],
        ['seats of no room', '{"type":"seats","protocol":1,"seats":[]}'],
        ['an aim past the bar', '{"type":"aim","protocol":1,"seat":1,"aim":[0,0,1e39,0],"power":99999,"charging":true}'],
    ];
    core.call('capzel_connected', 'Ann', '', 'REPLAY', '', 1);
    core.call('capzel_received', '{"type":"welcome","protocol":1,"serverVersion":"x"}');
    for (const [what, text] of rows) {
        try {
            core.call('capzel_received', text);
            core.call('capzel_frame', 16);
            const events = JSON.parse(core.text('capzel_events'));
            JSON.parse(core.text('capzel_view'));
            const chat = events.find((e) => e.kind === 'chat');
            if (what === 'a chat as markup' && (!chat || chat.text !== '<img src=x onerror=alert(1)>'))
                fail('a chat line did not come through as the text it is');
        } catch (e) {
            fail(`the core stopped at ${what}: ${e}`);
            return;
        }
    }
}

function sizes() {
    const files = ['index.html', 'app.js', 'draw.js', 'style.css', 'capzel.js', 'capzel.wasm'];
    const total = files.reduce((sum, f) => sum + fs.statSync(path.join(webDir, f)).size, 0);
    if (total > 1024 * 1024) fail(`the page's files are ${total} bytes, over 1 MB`);
    return total;
}

(async () => {
    let shots = 0;
    for (const record of records) {
        const name = path.basename(record);
        const text = fs.readFileSync(record, 'utf8');
        let desktop;
        try {
            desktop = execFileSync(sim, ['--replay'], { input: text, maxBuffer: 64 << 20 }).toString();
        } catch (e) {
            fail(`${name}: the desktop build does not replay it (${e.status})`);
            continue;
        }
        const core = await freshCore();
        const web = core.text('capzel_replay', text);
        if (web !== desktop) {
            const a = web.split('\n'), b = desktop.split('\n');
            const k = a.findIndex((line, i) => line !== b[i]);
            fail(`${name}: line ${k + 1} differs: web "${(a[k] || '').slice(0, 120)}", desktop "${(b[k] || '').slice(0, 120)}"`);
        }
        const played = playAsSpectator(await freshCore(), text, name) || 0;
        shots += played;
        console.log(`${name}: ${desktop.split('\n').filter((l) => / ok$/.test(l)).length} entries equal, ${played} shots played by the page's client`);
    }
    hostileMessages(await freshCore());
    const total = sizes();
    for (const f of failures) console.log('FAIL ' + f);
    console.log(`web_core: ${records.length} records, ${shots} shots as the server sent them, page ${total} bytes: ` +
        (failures.length ? `${failures.length} failures` : 'ok'));
    process.exit(failures.length ? 1 : 0);
})();
