// The stage page in Debian's Chromium, served by a real songserv and driven
// by writing stage.json as songdesk does: the fit on phones, tablets and a
// projector, chords over their syllables, the reader's place, the
// lyrics-only view, bad states, and the way back after songserv restarts.
'use strict';
const { describe, before, after, afterEach, test } = require('node:test');
const assert = require('node:assert/strict');
const http = require('http');

const { StageServer, launchBrowser, request, sleep } = require('./harness.js');
const songs = require('./songs.js');

const VIEWPORTS = [
    { name: 'phone', width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
    { name: 'tablet', width: 768, height: 1024, deviceScaleFactor: 2, isMobile: true, hasTouch: true },
    { name: 'tablet landscape', width: 1024, height: 768, deviceScaleFactor: 2, isMobile: true, hasTouch: true },
    { name: 'projector', width: 1920, height: 1080, deviceScaleFactor: 1, isMobile: false, hasTouch: false },
];
const PHONE = VIEWPORTS[0];
const WAIT = { timeout: 5000 };

let seq = 100;
const next = (state) => ({ ...state, seq: ++seq });

// The song a key change up of AMAZING GRACE shows: the same lines, every
// chord a whole step up (chord widths change, so columns are tested too).
function transposed(state, key, offset) {
    const up = { A: 'B', A7: 'B7', D: 'E', E: 'F#', E7: 'F#7', 'F#m': 'G#m' };
    const lines = state.lines.map((line) => line.kind !== 'chord' ? line : {
        kind: 'chord',
        text: line.text.replace(/\S+/g, (c) => (up[c] || c)),
    });
    return { ...state, key, offset, lines };
}

// Everything the tests read off the page about the song shown: the fit, and
// for each chord where it stands and what stands under it.
function readSong() {
    const lines = document.getElementById('lines');
    const rows = Array.from(lines.children);
    const charLeft = (row, i) => {
        const range = document.createRange();
        range.setStart(row.firstChild, i);
        range.setEnd(row.firstChild, i + 1);
        return range.getBoundingClientRect().left;
    };
    const chords = [];
    rows.forEach((row, k) => {
        if (!row.classList.contains('chord')) return;
        const below = rows[k + 1];
        const lyric = below && below.classList.contains('lyric') && below.dataset.start === row.dataset.start ? below : null;
        const re = /\S+/g;
        let m;
        while ((m = re.exec(row.textContent))) {
            const entry = { name: m[0], line: Number(row.dataset.line), column: Number(row.dataset.start) + m.index, left: charLeft(row, m.index) };
            if (lyric && m.index < lyric.textContent.length) {
                entry.under = lyric.textContent[m.index];
                entry.underLeft = charLeft(lyric, m.index);
                entry.gap = lyric.getBoundingClientRect().top - row.getBoundingClientRect().bottom;
            }
            chords.push(entry);
        }
    });
    // The smallest text anywhere on the page that is shown.
    let smallest = Infinity;
    const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
    for (let node = walker.nextNode(); node; node = walker.nextNode()) {
        if (!node.textContent.trim() || !node.parentElement.getClientRects().length) continue;
        smallest = Math.min(smallest, parseFloat(getComputedStyle(node.parentElement).fontSize));
    }
    return {
        fontSize: parseFloat(getComputedStyle(lines).fontSize),
        columns: Number(lines.dataset.columns),
        scrollWidth: document.documentElement.scrollWidth,
        innerWidth: window.innerWidth,
        smallest,
        rows: rows.map((r) => ({ kind: r.className, line: Number(r.dataset.line), start: Number(r.dataset.start), text: r.textContent })),
        chords,
        key: document.getElementById('key').textContent,
        next: document.getElementById('next').hidden ? null : document.getElementById('next').textContent,
    };
}

// The first song row in the window, and how far it is from the top.
function readPlace() {
    for (const row of document.getElementById('lines').children) {
        const rect = row.getBoundingClientRect();
        if (rect.bottom > 0) return { line: Number(row.dataset.line), top: Math.round(rect.top), scrollY: window.scrollY };
    }
    return null;
}

function showing(title) {
    const song = document.getElementById('song');
    return !song.hidden && document.getElementById('title').textContent === title;
}

// Every chord of `state` as the page shows it: the same chord, over the
// lyric character it stands over in the song, with its left edge at that
// character's left edge, right above that lyric row.
function checkChords(state, read, label) {
    const expected = [];
    state.lines.forEach((line, i) => {
        if (line.kind !== 'chord') return;
        const re = /\S+/g;
        let m;
        while ((m = re.exec(line.text))) expected.push({ line: i, column: m.index, name: m[0], under: state.lines[i + 1].text[m.index] });
    });
    const key = (c) => `${c.line}:${c.column}`;
    const shown = new Map(read.chords.map((c) => [key(c), c]));
    assert.equal(read.chords.length, expected.length, `${label}: every chord shown once`);
    for (const want of expected) {
        const got = shown.get(key(want));
        assert.ok(got, `${label}: ${want.name} of line ${want.line} column ${want.column} is missing`);
        assert.equal(got.name, want.name, `${label}: line ${want.line} column ${want.column}`);
        assert.equal(got.under, want.under, `${label}: ${want.name} of line ${want.line} stands over the wrong character`);
        assert.ok(Math.abs(got.left - got.underLeft) <= 0.5,
                  `${label}: ${want.name} of line ${want.line} is ${got.left - got.underLeft} px off its syllable`);
        assert.ok(got.gap >= -0.5 && got.gap < 20, `${label}: ${want.name} of line ${want.line} is not right above its lyric`);
    }
}

describe('the stage page served by songserv', () => {
    let server;
    let browser;
    const fontSizes = {};

    before(async () => {
        server = new StageServer();
        server.writeState(next(songs.amazingGrace('A', 2, { set: songs.SET, at: 0 })));
        await server.start();
        browser = await launchBrowser();
    });

    after(async () => {
        if (browser) await browser.close();
        if (server) {
            try {
                const code = await server.stop();
                assert.equal(code, 0, `songserv's exit code; ${server.logs()}`);
            } finally {
                server.cleanUp();
            }
        }
        if (Object.keys(fontSizes).length)
            console.log(`# font sizes chosen for the 97-column song: ${JSON.stringify(fontSizes)}`);
    });

    // Every page is closed after its test, passed or failed: each holds a
    // stream, and a browser opens only six connections to one server.
    const pages = [];
    afterEach(async () => {
        for (const page of pages.splice(0)) await page.close().catch(() => {});
    });

    async function open(viewport, query = '') {
        const page = await browser.newPage();
        pages.push(page);
        page.on('pageerror', (error) => { page.errors = (page.errors || []).concat(String(error)); });
        await page.setViewport(viewport);
        await page.goto(server.url + query, { waitUntil: 'load' });
        return page;
    }

    test('the stage port serves the page at / and nothing else', async () => {
        const page = await request(server.port, '/');
        assert.equal(page.status, 200);
        assert.match(page.headers['content-type'], /^text\/html/);
        assert.match(page.body, /<meta name="viewport" content="width=device-width, initial-scale=1">/);
        assert.match(page.body, /function stageWrapPair/);
        assert.doesNotMatch(page.body, /STAGE_STYLE|STAGE_SCRIPT/);
        // One page with everything in it: a stage has no internet.
        assert.equal((page.body.match(/<script>/g) || []).length, 1);
        assert.ok(page.body.indexOf('function stageWrapPair') < page.body.indexOf("new EventSource('/events')"));
        assert.doesNotMatch(page.body, /\b(src|href)\s*=|@import|url\(|https?:\/\//i);
        assert.equal((await request(server.port, '/?chords=off')).status, 200);
        for (const other of ['/nothing', '/index.html', '/stage.json', '/favicon.ico', '/events/more', '/stage'])
            assert.equal((await request(server.port, other)).status, 404, other);
    });

    test('the event stream sends the current state at once', async () => {
        const state = next(songs.amazingGrace('A', 2, { set: songs.SET, at: 0 }));
        server.writeState(state);
        await sleep(300);
        const text = await new Promise((resolve, reject) => {
            const req = http.get({ host: '127.0.0.1', port: server.port, path: '/events', agent: false }, (res) => {
                assert.match(res.headers['content-type'], /^text\/event-stream/);
                let got = '';
                res.setEncoding('utf8');
                res.on('data', (chunk) => {
                    got += chunk;
                    if (/\n\n/.test(got.slice(got.indexOf('data:')))) { req.destroy(); resolve(got); }
                });
            });
            req.on('error', reject);
            setTimeout(() => { req.destroy(); reject(new Error('no state within 3 s')); }, 3000);
        });
        assert.match(text, /^retry: ?1000$/m);
        assert.match(text, new RegExp(`^id: ?${state.seq}$`, 'm'));
        const data = text.split('\n').filter((l) => l.startsWith('data:')).map((l) => l.replace(/^data: ?/, '')).join('\n');
        assert.deepEqual(JSON.parse(data), state);
    });

    for (const viewport of VIEWPORTS) {
        test(`${viewport.name} ${viewport.width}x${viewport.height}: the song fits, with every chord over its syllable`, async () => {
            const state = next(songs.wideSong('G', 0, { set: songs.SET, at: 1 }));
            server.writeState(state);
            const page = await open(viewport);
            await page.waitForFunction(showing, WAIT, state.title);
            const read = await page.evaluate(readSong);
            fontSizes[`${viewport.width}x${viewport.height}`] = read.fontSize;
            const label = viewport.name;

            assert.ok(read.scrollWidth <= read.innerWidth, `${label}: ${read.scrollWidth} px wide in a ${read.innerWidth} px window`);
            assert.ok(read.fontSize >= 16, `${label}: the song at ${read.fontSize} px`);
            assert.ok(read.smallest >= 16, `${label}: text at ${read.smallest} px`);
            assert.ok(read.rows.every((r) => r.text.length <= read.columns), `${label}: a row longer than ${read.columns} columns`);
            const wrapped = read.rows.some((r) => r.start > 0);
            if (read.columns >= 97) {
                assert.ok(!wrapped, `${label}: the song fits, yet it was wrapped`);
                assert.ok(read.fontSize > 16, `${label}: the song fits at ${read.fontSize} px, no larger`);
            } else {
                assert.ok(wrapped, `${label}: ${read.columns} columns and nothing wrapped`);
                assert.equal(read.fontSize, 16, `${label}: wrapped, yet not at the smallest size`);
            }
            checkChords(state, read, label);
            assert.equal(read.key, 'Key: G (+0)');
            assert.equal(read.next, 'Next: When Morning Gilds (-1)');
            assert.deepEqual(page.errors || [], []);
            });
    }

    test('turning the phone refits the song', async () => {
        const state = next(songs.wideSong());
        server.writeState(state);
        const page = await open(PHONE);
        await page.waitForFunction(showing, WAIT, state.title);
        const upright = await page.evaluate(readSong);
        await page.setViewport({ ...PHONE, width: PHONE.height, height: PHONE.width });
        await page.waitForFunction((columns) => Number(document.getElementById('lines').dataset.columns) > columns,
                                   WAIT, upright.columns);
        const turned = await page.evaluate(readSong);
        assert.ok(turned.scrollWidth <= turned.innerWidth);
        checkChords(state, turned, 'turned');
        await page.setViewport(PHONE);
        await page.waitForFunction((columns) => Number(document.getElementById('lines').dataset.columns) === columns,
                                   WAIT, upright.columns);
        assert.ok((await page.evaluate(readSong)).scrollWidth <= PHONE.width);
    });

    test('the projector gets the largest size at which the widest line fits', async () => {
        const state = next(songs.wideSong());
        server.writeState(state);
        const page = await open(VIEWPORTS[3]);
        await page.waitForFunction(showing, WAIT, state.title);
        const fit = await page.evaluate(() => {
            const lines = document.getElementById('lines');
            const widest = Array.from(lines.querySelectorAll('.ln')).reduce((a, r) => (r.textContent.length > a.textContent.length ? r : a));
            const range = document.createRange();
            range.selectNodeContents(widest);
            const size = parseFloat(getComputedStyle(lines).fontSize);
            return { size, width: range.getBoundingClientRect().width, room: lines.getBoundingClientRect().width };
        });
        assert.ok(fit.width <= fit.room, `the widest line is ${fit.width} px in ${fit.room} px`);
        // A step larger would not fit: quarter pixels are the page's step.
        assert.ok(fit.width * (fit.size + 0.5) / fit.size > fit.room, `${fit.size} px leaves room: ${fit.width} of ${fit.room} px`);
    });

    test('a new song opens at its top; a key change keeps the reader\'s place', async () => {
        const grace = next(songs.amazingGrace('A', 2, { set: songs.SET, at: 0 }));
        server.writeState(grace);
        const page = await open(PHONE);
        await page.waitForFunction(showing, WAIT, grace.title);
        await page.evaluate(() => window.scrollTo(0, 400));
        await sleep(100);
        const before = await page.evaluate(readPlace);
        assert.ok(before.scrollY >= 300, `the phone could not scroll down (${before.scrollY})`);

        const up = next(transposed(grace, 'B', 4));
        server.writeState(up);
        await page.waitForFunction(() => document.getElementById('key').textContent === 'Key: B (+4)', WAIT);
        const after = await page.evaluate(readPlace);
        assert.equal(after.line, before.line, 'another line is at the top after the key change');
        assert.ok(Math.abs(after.top - before.top) <= 1, `the line moved from ${before.top} to ${after.top}`);
        checkChords(up, await page.evaluate(readSong), 'transposed');

        const wide = next(songs.wideSong('G', 0, { set: songs.SET, at: 2 }));
        server.writeState(wide);
        await page.waitForFunction(showing, WAIT, wide.title);
        assert.equal(await page.evaluate(() => window.scrollY), 0);
        assert.equal((await page.evaluate(readSong)).next, 'Last song of the set');
    });

    test('the list while songdesk shows it, with the running set marked', async () => {
        const markup = '<img src=x onerror="document.title=1">Sneaky & <b>bold</b>';
        const list = next({ showing: 'list', songs: ['Amazing Grace', 'How Great', 'When Morning Gilds', markup], set: songs.SET, at: 1 });
        server.writeState(list);
        const page = await open(PHONE);
        await page.waitForFunction(() => !document.getElementById('list').hidden, WAIT);
        const shown = await page.evaluate(() => ({
            songs: Array.from(document.querySelectorAll('#songs li'), (li) => li.textContent),
            set: Array.from(document.querySelectorAll('#setlist li'), (li) => [li.textContent, li.className]),
            songHidden: document.getElementById('song').hidden,
            scrollWidth: document.documentElement.scrollWidth,
            markup: document.querySelectorAll('main img, main b').length,
        }));
        assert.deepEqual(shown.songs, list.songs);
        assert.equal(shown.markup, 0, 'a title was taken as HTML');
        assert.deepEqual(shown.set, [['Amazing Grace (+2)', ''], ['How Great (+0)', 'current'], ['When Morning Gilds (-1)next', 'next']]);
        assert.ok(shown.songHidden);
        assert.ok(shown.scrollWidth <= PHONE.width);
    });

    test('chords=off shows lyrics only; the control and the device\'s choices hold', async () => {
        const state = next(songs.amazingGrace());
        server.writeState(state);
        const page = await open(VIEWPORTS[2], '?chords=off');
        await page.waitForFunction(showing, WAIT, state.title);
        const count = () => page.evaluate(() => ({
            chords: document.querySelectorAll('#lines .ln.chord').length,
            lyrics: document.querySelectorAll('#lines .ln.lyric').length,
        }));
        const off = await count();
        assert.equal(off.chords, 0);
        assert.equal(off.lyrics, state.lines.filter((l) => l.kind === 'lyric').length);

        await page.click('#chords');
        assert.equal((await count()).chords, state.lines.filter((l) => l.kind === 'chord').length);
        checkChords(state, await page.evaluate(readSong), 'chords back on');

        // Light theme and a larger size are this device's, kept over a reload.
        const sizeBefore = (await page.evaluate(readSong)).fontSize;
        await page.click('#theme');
        await page.click('#larger');
        const chosen = await page.evaluate(readSong);
        assert.ok(chosen.fontSize > sizeBefore, `A+ left the size at ${chosen.fontSize} px`);
        assert.ok(chosen.scrollWidth <= chosen.innerWidth);
        checkChords(state, chosen, 'larger');
        await page.reload({ waitUntil: 'load' });
        await page.waitForFunction(showing, WAIT, state.title);
        const kept = await page.evaluate(() => ({
            theme: document.documentElement.dataset.theme,
            background: getComputedStyle(document.documentElement).backgroundColor,
            fontSize: parseFloat(getComputedStyle(document.getElementById('lines')).fontSize),
        }));
        assert.equal(kept.theme, 'light');
        assert.equal(kept.background, 'rgb(255, 255, 255)');
        assert.equal(kept.fontSize, chosen.fontSize);
    });

    test('bad states keep the last good one on the screen with a note; good ones clear it', async () => {
        const good = next(songs.amazingGrace());
        server.writeState(good);
        const page = await open(PHONE);
        await page.waitForFunction(showing, WAIT, good.title);
        const banner = () => page.evaluate(() => {
            const b = document.getElementById('banner');
            return b.hidden ? '' : b.textContent;
        });

        for (const bad of ['', 'not json', '{"seq":5,"showing":"song","title":"BROKEN"}', '[1,2,3]']) {
            server.writeState(next(good));  // a good state between the bad ones clears the note
            await page.waitForFunction(() => document.getElementById('banner').hidden, WAIT);
            server.writeState(bad);
            if (bad === '') {
                // Nothing to show and nothing to read: songdesk between writes.
                await sleep(500);
            } else {
                await page.waitForFunction(() => /waiting/i.test(document.getElementById('banner').textContent) &&
                                                 !document.getElementById('banner').hidden, WAIT);
            }
            assert.ok(await page.evaluate(showing, good.title), `the last good song is gone after ${JSON.stringify(bad)}`);
        }
        assert.match(await banner(), /waiting/i);

        // A state of 10 MB: not songdesk's; the page stays as it was and answers.
        server.writeState(JSON.stringify(songs.song('HUGE', 'C', 0, [{ text: 'la '.repeat(3.5e6), kind: 'lyric' }])));
        await sleep(1500);
        assert.ok(await page.evaluate(showing, good.title));

        // A burst of states as fast as the disk takes them: the last one shows.
        let last;
        for (let i = 0; i < 300; i++) {
            last = next(songs.song(`BURST ${i}`, 'C', 0, [{ text: `line ${i}`, kind: 'lyric' }]));
            server.writeState(last);
        }
        await page.waitForFunction(showing, WAIT, last.title);
        assert.equal(await banner(), '');
        assert.deepEqual(page.errors || [], []);
    });

    test('after songserv stops and starts again the page shows the current state by itself', async () => {
        const before = next(songs.amazingGrace());
        server.writeState(before);
        const page = await open(PHONE);
        await page.waitForFunction(showing, WAIT, before.title);
        await page.waitForFunction(() => document.getElementById('status').textContent === 'Live', WAIT);

        assert.equal(await server.stop(), 0, `songserv's exit code; ${server.logs()}`);
        await page.waitForFunction(() => /reconnecting/i.test(document.getElementById('status').textContent), WAIT);
        assert.ok(await page.evaluate(showing, before.title), 'the song went away with the server');
        const meanwhile = next(songs.wideSong('A', 2));
        server.writeState(meanwhile);
        await sleep(2500);  // the browser has given up a few times by now

        await server.start();
        const started = Date.now();
        await page.waitForFunction(showing, { timeout: 3000 }, meanwhile.title);
        await page.waitForFunction(() => document.getElementById('status').textContent === 'Live', { timeout: Math.max(1, 3000 - (Date.now() - started)) });
        assert.deepEqual(page.errors || [], []);
    });
});
