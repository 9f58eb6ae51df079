// The stage page's pure part: reading a stage state, choosing the font size
// and breaking chord/lyric pairs into rows that fit. Nothing here touches the
// DOM, so the same file runs in the page and under node's test runner.
'use strict';

// A state larger than this is not a song or a list that songdesk shows; the
// page keeps what it has rather than freeze a phone parsing and laying it out.
var STAGE_MAX_STATE_CHARS = 2 * 1024 * 1024;
// Songs have at most a few hundred lines; anything beyond is cut.
var STAGE_MAX_LINES = 5000;
var STAGE_MAX_LINE_COLUMNS = 4000;
var STAGE_MAX_LIST_ENTRIES = 20000;

function stageIsInteger(value) {
    return typeof value === 'number' && isFinite(value) && Math.floor(value) === value;
}

// A line's characters, one per column. Columns are code points (a character
// outside the BMP is one column, as songdesk counts it); control characters
// (tabs, stray CRs) become blanks so that they neither break the page nor
// shift the columns after them.
function stageColumns(text) {
    var chars = Array.from(String(text));
    if (chars.length > STAGE_MAX_LINE_COLUMNS) chars.length = STAGE_MAX_LINE_COLUMNS;
    for (var i = 0; i < chars.length; i++) {
        var code = chars[i].charCodeAt(0);
        if (code < 0x20 || (code >= 0x7f && code < 0xa0) || code === 0x2028 || code === 0x2029)
            chars[i] = ' ';
    }
    return chars;
}

// The number of columns a line takes, not counting trailing blanks (chord
// lines carry blanks up to column 80).
function stageVisibleLength(chars) {
    var n = chars.length;
    while (n > 0 && chars[n - 1] === ' ') n--;
    return n;
}

function stageText(value, limit) {
    if (typeof value !== 'string') return null;
    return value.length > limit ? value.slice(0, limit) : value;
}

function stageReadSet(value) {
    var set = [];
    if (!Array.isArray(value)) return set;
    for (var i = 0; i < value.length && set.length < STAGE_MAX_LIST_ENTRIES; i++) {
        var entry = value[i];
        if (!entry || typeof entry !== 'object') continue;
        var title = stageText(entry.title, 500);
        if (title === null) continue;
        set.push({ title: title, change: stageIsInteger(entry.change) ? entry.change : 0 });
    }
    return set;
}

// Reads one stage.json as the server sent it. Returns the state, or null for
// anything that is not a state songdesk writes (empty, not JSON, the wrong
// shape, far too large); the caller then keeps the last good one. Optional
// fields of the wrong type are dropped rather than refusing the whole state.
function stageParseState(raw) {
    if (typeof raw !== 'string' || raw.length === 0 || raw.length > STAGE_MAX_STATE_CHARS) return null;
    var data;
    try {
        data = JSON.parse(raw);
    } catch (e) {
        return null;
    }
    if (!data || typeof data !== 'object' || Array.isArray(data)) return null;
    var state = {
        seq: typeof data.seq === 'number' && isFinite(data.seq) ? data.seq : null,
        showing: data.showing,
        set: stageReadSet(data.set),
        at: null,
    };
    if (stageIsInteger(data.at) && data.at >= 0 && data.at < state.set.length) state.at = data.at;

    if (data.showing === 'song') {
        var title = stageText(data.title, 500);
        if (title === null || !Array.isArray(data.lines)) return null;
        var lines = [];
        for (var i = 0; i < data.lines.length && i < STAGE_MAX_LINES; i++) {
            var line = data.lines[i];
            if (!line || typeof line !== 'object' || typeof line.text !== 'string') return null;
            var kind = line.kind === 'chord' || line.kind === 'label' ? line.kind : 'lyric';
            lines.push({ text: stageText(line.text, STAGE_MAX_LINE_COLUMNS * 2), kind: kind });
        }
        state.title = title;
        state.lines = lines;
        state.offset = stageIsInteger(data.offset) && Math.abs(data.offset) <= 24 ? data.offset : 0;
        state.key = typeof data.key === 'string' && data.key.trim() !== '' ? data.key.trim().slice(0, 12) : null;
        return state;
    }
    if (data.showing === 'list') {
        if (!Array.isArray(data.songs)) return null;
        var songs = [];
        for (var j = 0; j < data.songs.length && songs.length < STAGE_MAX_LIST_ENTRIES; j++) {
            var song = stageText(data.songs[j], 500);
            if (song !== null) songs.push(song);
        }
        state.songs = songs;
        return state;
    }
    return null;
}

// "+2", "-1", "+0": a key change as musicians write it.
function stageSignedChange(change) {
    return (change < 0 ? '-' : '+') + Math.abs(change);
}

// "Key: A (+2)" when the key is known; otherwise only the change ("Key: +2"),
// or "Key: 0" for a song shown as written.
function stageKeyText(key, offset) {
    if (key) return 'Key: ' + key + ' (' + stageSignedChange(offset) + ')';
    return 'Key: ' + (offset === 0 ? '0' : stageSignedChange(offset));
}

// "Next: How Great (+0)" while a list runs and another song follows.
function stageNextText(state) {
    if (state.at === null) return null;
    var next = state.set[state.at + 1];
    if (!next) return 'Last song of the set';
    return 'Next: ' + next.title + ' (' + stageSignedChange(next.change) + ')';
}

// A label such as "***** Chorus *****" shown as the heading "Chorus".
function stageLabelText(text) {
    var bare = String(text).replace(/^[\s*#=~-]+|[\s*#=~-]+$/g, '');
    return bare === '' ? String(text).trim() : bare;
}

// The song's lines as blocks: a chord line with the lyric line right below it
// is one pair (wrapped together); a chord line with no lyric below, and a lyric
// line with no chord above, stand alone. Labels are headings and take no part
// in the width. Without chords, chord lines are left out.
function stagePairLines(lines, showChords) {
    var blocks = [];
    for (var i = 0; i < lines.length; i++) {
        var line = lines[i];
        if (line.kind === 'label') {
            blocks.push({ type: 'label', text: stageLabelText(line.text), line: i });
        } else if (line.kind === 'chord') {
            if (!showChords) continue;
            var below = lines[i + 1];
            if (below && below.kind === 'lyric') {
                blocks.push({ type: 'pair', chord: stageColumns(line.text), lyric: stageColumns(below.text), line: i });
                i++;
            } else {
                blocks.push({ type: 'pair', chord: stageColumns(line.text), lyric: null, line: i });
            }
        } else {
            blocks.push({ type: 'pair', chord: null, lyric: stageColumns(line.text), line: i });
        }
    }
    return blocks;
}

function stagePairLength(block) {
    return Math.max(block.chord ? stageVisibleLength(block.chord) : 0,
                    block.lyric ? stageVisibleLength(block.lyric) : 0);
}

// The widest line of the blocks, in columns.
function stageWidestColumns(blocks) {
    var widest = 0;
    for (var i = 0; i < blocks.length; i++)
        if (blocks[i].type === 'pair') widest = Math.max(widest, stagePairLength(blocks[i]));
    return widest;
}

// The largest font size, in CSS px and on a quarter-pixel grid, at which
// `columns` characters of `advance` px per px of font size fit in `width` px;
// never below `min` (the text wraps instead) nor above `max`.
function stageFitFontSize(columns, width, advance, min, max) {
    if (!(advance > 0) || !(width > 0)) return min;
    if (!(columns > 0)) return max;
    var size = Math.floor((width / (columns * advance)) * 4) / 4;
    return Math.max(min, Math.min(max, size));
}

// How many columns of `charWidth` px fit in `width` px (at least one).
function stageColumnsThatFit(width, charWidth) {
    if (!(charWidth > 0) || !(width > 0)) return 1;
    return Math.max(1, Math.floor(width / charWidth + 1e-6));
}

// Breaks a chord line and the lyric line under it into segments of at most
// `width` columns, both at the same column, so every chord keeps its place
// over its lyric character. A break goes where the lyric has a word boundary
// and no chord is cut; failing that where no chord is cut; failing that at
// the width. Blanks that both lines have at the start of a continuation are
// dropped together. Each segment says at which column of the original lines
// it starts.
function stageWrapPair(chord, lyric, width) {
    width = Math.max(1, Math.floor(width) || 1);
    var c = chord || [];
    var l = lyric || [];
    var length = Math.max(stageVisibleLength(c), stageVisibleLength(l));
    function lyricBlank(i) { return i >= l.length || l[i] === ' '; }
    function chordBlank(i) { return i >= c.length || c[i] === ' '; }
    function cutsChord(b) { return !chordBlank(b - 1) && !chordBlank(b); }
    function wordBoundary(b) { return lyricBlank(b) || lyricBlank(b - 1); }
    function piece(chars, from, to) {
        return chars.slice(from, to).join('').replace(/ +$/, '');
    }

    var segments = [];
    var start = 0;
    do {
        var end;
        if (length - start <= width) {
            end = length;
        } else {
            var limit = start + width;
            end = -1;
            for (var b = limit; b > start && end < 0; b--)
                if (wordBoundary(b) && !cutsChord(b)) end = b;
            for (b = limit; b > start && end < 0; b--)
                if (!cutsChord(b)) end = b;
            if (end < 0) end = limit;
        }
        segments.push({
            start: start,
            chord: chord ? piece(c, start, end) : null,
            lyric: lyric ? piece(l, start, end) : null,
        });
        start = end;
        while (start < length && lyricBlank(start) && chordBlank(start)) start++;
    } while (start < length);
    return segments;
}

// The rows the page shows for a song at `width` columns: each row is a chord
// or lyric text that fits, or a label; `line` is the index of the song line
// it comes from, so the reader's place survives a new layout.
function stageLayoutSong(lines, width, showChords) {
    var blocks = stagePairLines(lines, showChords);
    var rows = [];
    for (var i = 0; i < blocks.length; i++) {
        var block = blocks[i];
        if (block.type === 'label') {
            rows.push({ kind: 'label', text: block.text, line: block.line });
            continue;
        }
        var segments = stageWrapPair(block.chord, block.lyric, width);
        for (var s = 0; s < segments.length; s++) {
            var seg = segments[s];
            if (seg.chord !== null) rows.push({ kind: 'chord', text: seg.chord, line: block.line, start: seg.start });
            if (seg.lyric !== null)
                rows.push({ kind: 'lyric', text: seg.lyric, line: block.chord ? block.line + 1 : block.line, start: seg.start });
        }
    }
    return rows;
}

if (typeof module === 'object' && module.exports) {
    module.exports = {
        stageColumns: stageColumns,
        stageParseState: stageParseState,
        stageSignedChange: stageSignedChange,
        stageKeyText: stageKeyText,
        stageNextText: stageNextText,
        stageLabelText: stageLabelText,
        stagePairLines: stagePairLines,
        stageWidestColumns: stageWidestColumns,
        stageFitFontSize: stageFitFontSize,
        stageColumnsThatFit: stageColumnsThatFit,
        stageWrapPair: stageWrapPair,
        stageLayoutSong: stageLayoutSong,
        STAGE_MAX_STATE_CHARS: STAGE_MAX_STATE_CHARS,
    };
}
