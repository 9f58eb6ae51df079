// The stage page's pure part under node's test runner: reading states,
// choosing the font size, and wrapping chord/lyric pairs so that every chord
// stays over its lyric character.
'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('fs');
const path = require('path');

const L = require('../../server/stage_page/stage_layout.js');
const songs = require('./songs.js');

const cols = (text) => L.stageColumns(text);

// Puts the segments back at their columns; with the blanks trimmed off both
// ends of the comparison, this must give the original line exactly. It also
// checks that segments fit, do not overlap, and that what was dropped between
// them is blank in both lines.
function checkSegments(chord, lyric, width, segments) {
    const c = chord === null ? null : cols(chord);
    const l = lyric === null ? null : cols(lyric);
    const rebuilt = { chord: [], lyric: [] };
    let end = 0;
    for (const seg of segments) {
        assert.ok(seg.start >= end, `segments overlap at column ${seg.start}`);
        for (const [name, text] of [['chord', seg.chord], ['lyric', seg.lyric]]) {
            if (text === null) continue;
            const chars = cols(text);
            assert.ok(chars.length <= width, `${name} segment "${text}" is wider than ${width}`);
            assert.notEqual(chars[chars.length - 1], ' ', 'segments carry no trailing blanks');
            chars.forEach((ch, i) => { rebuilt[name][seg.start + i] = ch; });
            end = Math.max(end, seg.start + chars.length);
        }
        assert.equal(seg.chord === null, chord === null);
        assert.equal(seg.lyric === null, lyric === null);
    }
    const same = (original, back) => {
        const want = original.join('').replace(/ +$/, '');
        const got = Array.from(back, (ch) => ch || ' ').join('').replace(/ +$/, '');
        assert.equal(got, want);
    };
    if (c) same(c, rebuilt.chord);
    if (l) same(l, rebuilt.lyric);
}

// The chord tokens of a line: [column, text].
function tokens(text) {
    const found = [];
    const re = /\S+/g;
    let m;
    while ((m = re.exec(text))) found.push([m.index, m[0]]);
    return found;
}

test('the font size is the largest on a quarter-pixel grid at which the widest line fits', () => {
    // 40 columns of 0.6 px per px of size in 390 px: 390 / 24 = 16.25.
    assert.equal(L.stageFitFontSize(40, 390, 0.6, 10, 72), 16.25);
    // 97 columns in 1896 px: 32.57... rounds down, never up.
    const size = L.stageFitFontSize(97, 1896, 0.6, 16, 72);
    assert.equal(size, 32.5);
    assert.ok(97 * 0.6 * size <= 1896);
    // Clamped: a phone gets the minimum (the text wraps), a short line the maximum.
    assert.equal(L.stageFitFontSize(97, 366, 0.6, 16, 72), 16);
    assert.equal(L.stageFitFontSize(5, 1920, 0.6, 16, 72), 72);
    // Nothing to fit, or nothing measured: no division by zero, no NaN.
    assert.equal(L.stageFitFontSize(0, 390, 0.6, 16, 72), 72);
    assert.equal(L.stageFitFontSize(40, 0, 0.6, 16, 72), 16);
    assert.equal(L.stageFitFontSize(40, 390, 0, 16, 72), 16);
    assert.equal(L.stageFitFontSize(40, 390, NaN, 16, 72), 16);
});

test('the columns that fit never overshoot the width', () => {
    assert.equal(L.stageColumnsThatFit(366, 9.63), 38);
    assert.equal(L.stageColumnsThatFit(100, 10), 10);  // exactly full
    assert.equal(L.stageColumnsThatFit(99.9, 10), 9);
    assert.equal(L.stageColumnsThatFit(5, 10), 1);     // at least one, or nothing would ever be shown
    assert.equal(L.stageColumnsThatFit(0, 10), 1);
    assert.equal(L.stageColumnsThatFit(100, 0), 1);
});

test('the widest line ignores chord-line padding and labels, and chord lines when chords are off', () => {
    const lines = [
        { text: ' ', kind: 'lyric' },
        { text: '*'.repeat(90), kind: 'label' },
        { text: '  A          D'.padEnd(80), kind: 'chord' },
        { text: '  Amazing grace', kind: 'lyric' },
        { text: '  Bb                  F7', kind: 'chord' },
    ];
    assert.equal(L.stageWidestColumns(L.stagePairLines(lines, true)), 24);
    assert.equal(L.stageWidestColumns(L.stagePairLines(lines, false)), 15);
    assert.equal(L.stageWidestColumns([]), 0);
});

test('chord lines pair with the lyric line below; lone lines stand alone', () => {
    const lines = [
        { text: ' ', kind: 'lyric' },
        { text: 'A', kind: 'chord' },
        { text: 'one', kind: 'lyric' },
        { text: 'D', kind: 'chord' },           // no lyric below: a label follows
        { text: '** Chorus **', kind: 'label' },
        { text: 'E', kind: 'chord' },
        { text: 'F', kind: 'chord' },           // two chord lines: the first stands alone
        { text: 'two', kind: 'lyric' },
        { text: 'three', kind: 'lyric' },       // no chord above
        { text: 'G', kind: 'chord' },           // the last line
    ];
    const blocks = L.stagePairLines(lines, true).map((b) =>
        b.type === 'label' ? ['label', b.text, b.line]
                           : [b.chord && b.chord.join(''), b.lyric && b.lyric.join(''), b.line]);
    assert.deepEqual(blocks, [
        [null, ' ', 0], ['A', 'one', 1], ['D', null, 3], ['label', 'Chorus', 4],
        ['E', null, 5], ['F', 'two', 6], [null, 'three', 8], ['G', null, 9],
    ]);
    const rows = L.stageLayoutSong(lines, 80, false);
    assert.deepEqual(rows.map((r) => [r.kind, r.text, r.line]), [
        ['lyric', '', 0], ['lyric', 'one', 2], ['label', 'Chorus', 4], ['lyric', 'two', 7], ['lyric', 'three', 8],
    ]);
});

test('a pair that fits stays one row each, with padding trimmed', () => {
    const segs = L.stageWrapPair(cols('  A        D'.padEnd(80)), cols('  Amazing grace'), 40);
    assert.deepEqual(segs, [{ start: 0, chord: '  A        D', lyric: '  Amazing grace' }]);
});

test('wrapping breaks between words, and every chord keeps its lyric character', () => {
    const [chord, lyric] = songs.pair(songs.WIDE_LINE).map((l) => l.text);
    for (let width = 1; width <= 100; width++) {
        const segs = L.stageWrapPair(cols(chord), cols(lyric), width);
        checkSegments(chord, lyric, width, segs);
        // Each chord whole in one segment, over the same lyric character.
        for (const [col, name] of tokens(chord)) {
            const seg = segs.find((s) => s.start <= col && col < s.start + cols(s.chord).length);
            if (width < name.length) continue;  // a chord wider than the screen is cut
            assert.equal(seg.chord.substr(col - seg.start, name.length), name, `width ${width}: ${name}`);
            assert.equal(seg.lyric[col - seg.start], lyric[col], `width ${width}: ${name} over ${lyric[col]}`);
        }
    }
    // At a phone's 38 columns the lyric breaks only between words.
    const words = new Set(lyric.trim().split(/\s+/));
    for (const seg of L.stageWrapPair(cols(chord), cols(lyric), 38))
        for (const word of seg.lyric.trim().split(/\s+/)) assert.ok(words.has(word), `"${word}" is a broken word`);
});

test('a break that would cut a chord moves before the chord, even mid-word', () => {
    // The only word boundary near the width sits under a chord.
    const chord = '          Cmaj7';
    const lyric = 'aaaaaaaaaaa bbbbbbbbbbbbbbbbbbbbbbbbbb';
    const segs = L.stageWrapPair(cols(chord), cols(lyric), 13);
    checkSegments(chord, lyric, 13, segs);
    assert.deepEqual(segs.slice(0, 2), [
        { start: 0, chord: '', lyric: 'aaaaaaaaaa' },
        { start: 10, chord: 'Cmaj7', lyric: 'a bbbbbbbbbbb' },
    ]);
});

test('lines without blanks break hard at the width; lone lines wrap too', () => {
    const long = 'x'.repeat(250);
    const segs = L.stageWrapPair(null, cols(long), 40);
    assert.deepEqual(segs.map((s) => s.lyric.length), [40, 40, 40, 40, 40, 40, 10]);
    assert.ok(segs.every((s) => s.chord === null));
    checkSegments(null, long, 40, segs);

    const chordsOnly = 'A   D   E   A   D   E   A   D   E   A';
    const alone = L.stageWrapPair(cols(chordsOnly), null, 10);
    checkSegments(chordsOnly, null, 10, alone);
    assert.ok(alone.every((s) => s.lyric === null));

    // A chord line longer than its lyric (chords after the last word) and
    // a lyric longer than its chord line.
    for (const [c, l] of [['A    D    E    F#m  Bm   E7   A', 'la la'], ['G', 'a b c d e f g h i j k l m n o p']])
        for (let w = 1; w < 35; w++) checkSegments(c, l, w, L.stageWrapPair(cols(c), cols(l), w));
});

test('hostile lines are laid out safely', () => {
    // Empty lines still give a row (the blank line 0 of every song).
    assert.deepEqual(L.stageWrapPair(null, cols(''), 10), [{ start: 0, chord: null, lyric: '' }]);
    assert.deepEqual(L.stageWrapPair(cols('   '), cols(' '), 10), [{ start: 0, chord: '', lyric: '' }]);
    // A width of zero or nonsense is one column, not an endless loop.
    for (const w of [0, -5, NaN, 0.5]) {
        const segs = L.stageWrapPair(cols('A B'), cols('abc'), w);
        checkSegments('A B', 'abc', 1, segs);
    }
    // Control characters are blanks of one column; a character outside the
    // BMP is one column.
    assert.deepEqual(cols('a\tb\r\u0000c'), ['a', ' ', 'b', ' ', ' ', 'c']);
    const segs = L.stageWrapPair(cols(' G'), cols('🎵🎵 x'), 2);
    assert.deepEqual(segs.map((s) => [s.start, s.chord, s.lyric]), [[0, ' G', '🎵🎵'], [3, '', 'x']]);
    // A line longer than any song's is cut rather than laid out for ever.
    assert.equal(cols('y'.repeat(1e6)).length, 4000);
});

test('200 lines of 100 columns lay out quickly at any width', { timeout: 10000 }, () => {
    const lines = [{ text: ' ', kind: 'lyric' }];
    for (let i = 0; i < 100; i++) {
        lines.push({ text: ('  C    G/B    Am7   ' + i).repeat(5).slice(0, 100), kind: 'chord' });
        lines.push({ text: ('  words of the song go here ' + i).repeat(4).slice(0, 100), kind: 'lyric' });
    }
    for (const width of [20, 38, 60, 100, 200]) {
        const rows = L.stageLayoutSong(lines, width, true);
        assert.ok(rows.every((r) => cols(r.text).length <= width));
        assert.ok(rows.length >= 201);
    }
});

test('the layout of a whole song keeps the line each row came from', () => {
    const state = songs.amazingGrace();
    const rows = L.stageLayoutSong(state.lines, 20, true);
    for (const row of rows) {
        const source = state.lines[row.line];
        if (row.kind === 'label') {
            assert.equal(source.kind, 'label');
        } else {
            assert.equal(source.kind, row.kind);
            assert.equal(cols(source.text).slice(row.start, row.start + cols(row.text).length).join(''), row.text);
        }
    }
});

const good = () => JSON.stringify(songs.amazingGrace('A', 2, { set: songs.SET, at: 0 }));

test('a state as songdesk writes it is read whole', () => {
    const state = L.stageParseState(good());
    assert.equal(state.showing, 'song');
    assert.equal(state.title, 'AMAZING GRACE');
    assert.equal(state.key, 'A');
    assert.equal(state.offset, 2);
    assert.equal(state.lines.length, songs.amazingGrace().lines.length);
    assert.equal(state.at, 0);
    assert.deepEqual(state.set, songs.SET);

    const list = L.stageParseState('{"seq":13,"showing":"list","songs":["Amazing Grace","How Great"],"set":[],"at":null}');
    assert.deepEqual([list.showing, list.songs, list.set, list.at], ['list', ['Amazing Grace', 'How Great'], [], null]);
});

test('anything but a state is refused, so the page keeps its last good one', () => {
    const bad = [
        '', ' ', 'not json', '{"seq":1', 'null', '42', '"song"', '[]', '{}',
        '{"seq":1,"showing":"nothing"}',
        '{"seq":1,"showing":"song","title":"T"}',                              // no lines
        '{"seq":1,"showing":"song","title":7,"lines":[]}',
        '{"seq":1,"showing":"song","title":"T","lines":[{"kind":"lyric"}]}',  // a line without text
        '{"seq":1,"showing":"song","title":"T","lines":[null]}',
        '{"seq":1,"showing":"list","songs":"Amazing Grace"}',
        '{"seq":1,"showing":"list"}',
        undefined, null, 12,
        // 10 MB: a valid state, far beyond any song
        JSON.stringify(songs.song('BIG', 'C', 0, [{ text: 'z'.repeat(10 * 1024 * 1024), kind: 'lyric' }])),
    ];
    for (const raw of bad) assert.equal(L.stageParseState(raw), null, String(raw).slice(0, 60));
});

test('optional fields of the wrong type are dropped, not trusted', () => {
    const state = L.stageParseState(JSON.stringify({
        seq: 'x', showing: 'song', title: 'T', offset: '2', key: 5,
        lines: [{ text: 'a', kind: 'weird' }, { text: 'b', kind: 'chord' }],
        set: [{ title: 'One', change: 'up' }, 'Two', null, { change: 1 }, { title: 'Three', change: 3 }],
        at: 9,
    }));
    assert.equal(state.seq, null);
    assert.equal(state.offset, 0);
    assert.equal(state.key, null);
    assert.deepEqual(state.lines.map((l) => l.kind), ['lyric', 'chord']);
    assert.deepEqual(state.set, [{ title: 'One', change: 0 }, { title: 'Three', change: 3 }]);
    assert.equal(state.at, null);  // out of the set's range
    assert.equal(L.stageParseState(JSON.stringify({ ...JSON.parse(good()), at: 1.5 })).at, null);
});

test('the key and the next song are written as musicians read them', () => {
    assert.equal(L.stageKeyText('A', 2), 'Key: A (+2)');
    assert.equal(L.stageKeyText('F#m', -3), 'Key: F#m (-3)');
    assert.equal(L.stageKeyText('C', 0), 'Key: C (+0)');
    assert.equal(L.stageKeyText(null, 2), 'Key: +2');
    assert.equal(L.stageKeyText(null, 0), 'Key: 0');
    const state = L.stageParseState(good());
    assert.equal(L.stageNextText(state), 'Next: How Great (+0)');
    assert.equal(L.stageNextText({ ...state, at: 1 }), 'Next: When Morning Gilds (-1)');
    assert.equal(L.stageNextText({ ...state, at: 2 }), 'Last song of the set');
    assert.equal(L.stageNextText({ ...state, at: null }), null);
    assert.equal(L.stageLabelText('***** Chorus *****'), 'Chorus');
    assert.equal(L.stageLabelText('*****'), '*****');
});

test('the page template has one place for the style and one for the scripts', () => {
    const dir = path.join(__dirname, '..', '..', 'server', 'stage_page');
    const html = fs.readFileSync(path.join(dir, 'stage.html'), 'utf8');
    const lines = html.split('\n').map((l) => l.trim());
    assert.equal(lines.filter((l) => l === '<!--STAGE_STYLE-->').length, 1);
    assert.equal(lines.filter((l) => l === '<!--STAGE_SCRIPT-->').length, 1);
    assert.ok(lines.indexOf('<!--STAGE_STYLE-->') < lines.indexOf('</head>'));
    assert.equal(lines[lines.indexOf('<!--STAGE_SCRIPT-->') + 1], '</body>');
    // Inlined code must not end its own element early.
    for (const name of ['stage_layout.js', 'stage_app.js'])
        assert.doesNotMatch(fs.readFileSync(path.join(dir, name), 'utf8'), /<\/script|<!--/i, name);
    assert.doesNotMatch(fs.readFileSync(path.join(dir, 'stage.css'), 'utf8'), /<\/style/i);
});
