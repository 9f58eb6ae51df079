// Songs for the stage page's tests and pictures, written as stage.json
// states. Chords are given inline, "[D]grace", and turned into a chord line
// over the lyric line, as songdesk shows them (chord lines padded with
// blanks to column 80).
'use strict';

function pair(inline) {
    let chord = '';
    let lyric = '';
    const re = /\[([^\]]*)\]|([^[]+)/g;
    let m;
    while ((m = re.exec(inline))) {
        if (m[1] !== undefined) {
            if (chord.length > lyric.length) throw new Error(`chords touch in: ${inline}`);
            chord = chord.padEnd(lyric.length) + m[1];
        } else {
            lyric += m[2];
        }
    }
    return [{ text: chord.padEnd(80), kind: 'chord' }, { text: lyric, kind: 'lyric' }];
}

const lyric = (text) => ({ text, kind: 'lyric' });
const label = (text) => ({ text, kind: 'label' });

function song(title, key, offset, body, extra = {}) {
    const lines = [lyric(' ')];
    for (const item of body) {
        if (Array.isArray(item)) lines.push(...item);
        else lines.push(item);
    }
    return { seq: 1, showing: 'song', title, offset, key, lines, set: [], at: null, ...extra };
}

// A hymn: labels, chord pairs, a lyric line without chords.
function amazingGrace(key = 'A', offset = 2, extra = {}) {
    const verse = [
        pair('  A[A]mazing [A7]grace, how [D]sweet the [A]sound'),
        pair('  That saved a [E]wretch like [E7]me'),
        pair('  I [A]once was lost, but [A7]now am [D]found,'),
        pair('  Was [A]blind, but [E]now I [A]see.'),
    ];
    return song('AMAZING GRACE', key, offset, [
        label('***** Verse 1 *****'), ...verse,
        lyric(' '),
        label('***** Verse 2 *****'),
        pair('  \'Twas [A]grace that [A7]taught my [D]heart to [A]fear,'),
        pair('  And grace my [E]fears re[E7]lieved;'),
        pair('  How [A]precious [A7]did that [D]grace ap[A]pear'),
        pair('  The [A]hour I [E]first be[A]lieved.'),
        lyric(' '),
        label('***** Verse 3 *****'),
        pair('  Through [A]many dangers, [A7]toils and [D]snares'),
        pair('  I [A]have al[F#m]ready [E]come;'),
        pair('  \'Tis [A]grace hath [A7]brought me [D]safe thus [A]far,'),
        pair('  And [A]grace will [E]lead me [A]home.'),
        lyric('  (repeat the first verse softly)'),
    ], extra);
}

// A song whose widest line has 97 columns: it wraps on a phone.
const WIDE_LINE = '  [G]When morning [D/F#]gilds the [Em]skies, my heart, a[C]waking, [G]cries: may Jesus Christ be [D]praised, a[G]men, a[C]men';
function wideSong(key = 'G', offset = 0, extra = {}) {
    const widest = pair(WIDE_LINE);
    if (widest[1].text.length !== 97) throw new Error(`the wide line has ${widest[1].text.length} columns`);
    const body = [label('***** Verse *****'), widest];
    for (let i = 0; i < 14; i++) {
        body.push(pair(`  [G]Alike at work and [C]prayer, to [D]Jesus I re[G]pair`));
        body.push(pair(`  [Em]May Jesus Christ be [D]praised`));
    }
    body.push(label('***** Ending *****'));
    body.push(widest);
    return song('WHEN MORNING GILDS', key, offset, body, extra);
}

const SET = [
    { title: 'Amazing Grace', change: 2 },
    { title: 'How Great', change: 0 },
    { title: 'When Morning Gilds', change: -1 },
];

module.exports = { pair, lyric, label, song, amazingGrace, wideSong, SET, WIDE_LINE };
