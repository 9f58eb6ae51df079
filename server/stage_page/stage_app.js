// The stage page in the browser: follows songserv's event stream, shows the
// song (or the list) songdesk shows, fitted to this device, and keeps this
// device's choices (theme, text size, chords) in localStorage.
(function () {
    'use strict';

    var MIN_PX = 16;        // readable on a phone held at arm's length
    var MAX_FIT_PX = 72;    // a short song on a projector need not be larger
    var MAX_PX = 144;
    var STEP = 1.15;        // one press of A+ or A-
    var MIN_STEP = -6;
    var MAX_STEP = 10;
    var RECONNECT_MS = 1000;
    var STALL_MS = 4000;    // a connection attempt that long is given up and made anew

    var el = {};
    ['status', 'chords', 'smaller', 'larger', 'theme', 'waiting', 'song', 'title', 'key', 'next',
     'lines', 'set', 'setlist', 'list', 'songs', 'banner'].forEach(function (id) {
        el[id] = document.getElementById(id);
    });

    // ---- this device's choices -------------------------------------------

    function readPref(name, fallback) {
        try {
            var value = window.localStorage.getItem('stage.' + name);
            return value === null ? fallback : value;
        } catch (e) {
            return fallback;  // storage off (private mode, a locked-down projector PC)
        }
    }
    function writePref(name, value) {
        try {
            window.localStorage.setItem('stage.' + name, String(value));
        } catch (e) { /* kept for this visit only */ }
    }

    var prefs = {
        theme: readPref('theme', 'dark') === 'light' ? 'light' : 'dark',
        step: Math.max(MIN_STEP, Math.min(MAX_STEP, parseInt(readPref('step', '0'), 10) || 0)),
        chords: readPref('chords', 'on') !== 'off',
    };
    // The projector's address says it: /?chords=off (or on) wins over the
    // device's last choice.
    var asked = null;
    try {
        asked = new URLSearchParams(window.location.search).get('chords');
    } catch (e) { asked = null; }
    if (asked === 'off') prefs.chords = false;
    if (asked === 'on') prefs.chords = true;

    function showPrefs() {
        document.documentElement.setAttribute('data-theme', prefs.theme);
        el.theme.setAttribute('aria-pressed', prefs.theme === 'light' ? 'true' : 'false');
        el.chords.setAttribute('aria-pressed', prefs.chords ? 'true' : 'false');
        el.smaller.disabled = prefs.step <= MIN_STEP;
        el.larger.disabled = prefs.step >= MAX_STEP;
    }

    // ---- connection state and the banner ----------------------------------

    var status = 'connecting';
    var stale = false;   // the last update could not be read

    function showStatus() {
        var words = { live: 'Live', connecting: 'Connecting…', reconnecting: 'Reconnecting…' };
        el.status.className = 'status ' + status;
        el.status.textContent = words[status];
        var note = '';
        if (status !== 'live') note = 'Reconnecting to songserv…';
        if (stale) note = 'Waiting for songdesk: its last update could not be read.';
        if (note && shown) note += ' Showing the last good state.';
        el.banner.textContent = note;
        el.banner.hidden = note === '';
    }

    function setStatus(next) {
        if (next === status) return;
        status = next;
        showStatus();
    }

    // ---- measuring the font ------------------------------------------------

    var advances = {};
    var probeText = new Array(65).join('n');

    // The width of one column at `size` px, in px: the widest of the normal
    // and the bold face (chord lines are bold), measured, since at small
    // sizes browsers round glyph advances to whole pixels.
    function advanceAt(size) {
        var cacheKey = size + '@' + (window.devicePixelRatio || 1);
        if (advances[cacheKey]) return advances[cacheKey];
        var box = document.createElement('div');
        box.className = 'probe-box';
        var widest = 0;
        ['400', '700'].forEach(function (weight) {
            var probe = document.createElement('span');
            probe.className = 'probe';
            probe.style.fontSize = size + 'px';
            probe.style.fontWeight = weight;
            probe.textContent = probeText;
            box.appendChild(probe);
        });
        el.lines.appendChild(box);
        for (var i = 0; i < box.childNodes.length; i++)
            widest = Math.max(widest, box.childNodes[i].getBoundingClientRect().width);
        el.lines.removeChild(box);
        var advance = widest / probeText.length;
        if (advance > 0) advances[cacheKey] = advance;
        return advance || size * 0.6;
    }

    // The font size for a song whose widest line has `columns` columns in a
    // column of `width` px, and how many columns fit at that size.
    function chooseSize(columns, width) {
        var size = stageFitFontSize(columns, width, advanceAt(100) / 100, MIN_PX, MAX_FIT_PX);
        for (var i = 0; i < 200 && size > MIN_PX && advanceAt(size) * columns > width; i++)
            size = Math.max(MIN_PX, size - 0.25);
        size = Math.round(size * Math.pow(STEP, prefs.step) * 4) / 4;
        size = Math.max(MIN_PX, Math.min(MAX_PX, size));
        return { size: size, columns: stageColumnsThatFit(width, advanceAt(size)) };
    }

    // ---- rendering -------------------------------------------------------

    var state = null;     // the last good state
    var shown = null;     // the state on the screen
    var laidOutWidth = -1;

    function text(tag, className, content) {
        var node = document.createElement(tag);
        if (className) node.className = className;
        node.textContent = content;
        return node;
    }

    // The first song row at least partly below the top of the window, and
    // where it is, so a new layout can put the same line back there.
    function readersPlace() {
        if (!shown || shown.showing !== 'song' || window.scrollY <= 0) return null;
        var rows = el.lines.children;
        for (var i = 0; i < rows.length; i++) {
            var rect = rows[i].getBoundingClientRect();
            if (rect.bottom > 0) return { line: Number(rows[i].getAttribute('data-line')), top: rect.top };
        }
        return { line: Infinity, top: 0 };
    }

    function restorePlace(place) {
        if (!place) return;
        var rows = el.lines.children;
        for (var i = 0; i < rows.length; i++) {
            if (Number(rows[i].getAttribute('data-line')) >= place.line) {
                window.scrollBy(0, rows[i].getBoundingClientRect().top - place.top);
                return;
            }
        }
        window.scrollTo(0, document.documentElement.scrollHeight);
    }

    function layOutLines(song) {
        var width = Math.floor(el.lines.getBoundingClientRect().width);
        var blocks = stagePairLines(song.lines, prefs.chords);
        var fit = chooseSize(stageWidestColumns(blocks), width);
        var rows = stageLayoutSong(song.lines, fit.columns, prefs.chords);
        var frag = document.createDocumentFragment();
        for (var i = 0; i < rows.length; i++) {
            var row = rows[i];
            var node = row.kind === 'label' ? text('h2', 'label', row.text) : text('div', 'ln ' + row.kind, row.text);
            node.setAttribute('data-line', String(row.line));
            if (row.kind !== 'label') node.setAttribute('data-start', String(row.start));
            frag.appendChild(node);
        }
        el.lines.style.fontSize = fit.size + 'px';
        el.lines.setAttribute('data-columns', String(fit.columns));
        el.lines.replaceChildren(frag);
        laidOutWidth = width;
    }

    function renderSet(s, inSong) {
        var running = s.at !== null;
        el.set.hidden = inSong ? !running : s.set.length === 0;
        if (el.set.hidden) return;
        var frag = document.createDocumentFragment();
        for (var i = 0; i < s.set.length; i++) {
            var item = text('li', '', s.set[i].title + ' (' + stageSignedChange(s.set[i].change) + ')');
            if (running && i === s.at) {
                item.className = 'current';
                item.setAttribute('aria-current', 'true');
            } else if (running && i === s.at + 1) {
                item.className = 'next';
                item.appendChild(text('span', 'tag', 'next'));
            }
            frag.appendChild(item);
        }
        el.setlist.replaceChildren(frag);
    }

    function render(s) {
        var sameSong = shown && shown.showing === 'song' && s.showing === 'song' && shown.title === s.title;
        var sameList = shown && shown.showing === 'list' && s.showing === 'list';
        var place = sameSong ? readersPlace() : null;
        var scrollY = window.scrollY;

        el.waiting.hidden = true;
        el.song.hidden = s.showing !== 'song';
        el.list.hidden = s.showing !== 'list';
        if (s.showing === 'song') {
            el.title.textContent = s.title;
            el.key.textContent = stageKeyText(s.key, s.offset);
            var next = stageNextText(s);
            el.next.hidden = next === null;
            el.next.textContent = next || '';
            document.title = s.title + ' · Stage';
            layOutLines(s);
        } else {
            var frag = document.createDocumentFragment();
            for (var i = 0; i < s.songs.length; i++) frag.appendChild(text('li', '', s.songs[i]));
            el.songs.replaceChildren(frag);
            el.lines.replaceChildren();
            document.title = 'Songs · Stage';
        }
        renderSet(s, s.showing === 'song');
        shown = s;

        if (sameSong) restorePlace(place);
        else if (sameList) window.scrollTo(0, scrollY);
        else window.scrollTo(0, 0);
    }

    // Lays the shown song out again (new width, text size or chords), with
    // the reader's place kept.
    function relayout() {
        if (!shown || shown.showing !== 'song') return;
        var place = readersPlace();
        layOutLines(shown);
        restorePlace(place);
    }

    // Updates can come far faster than a screen can show them: only the
    // latest is drawn, once per frame.
    var frameAsked = false;
    var frameTimer = null;
    function drawSoon() {
        if (frameAsked) return;
        frameAsked = true;
        var draw = function () {
            if (!frameAsked) return;
            frameAsked = false;
            clearTimeout(frameTimer);
            try {
                if (state && state !== shown) render(state);
            } catch (e) {
                // A layout failure must not stop the page from following later updates.
                if (window.console) console.error(e);
            }
            showStatus();
        };
        window.requestAnimationFrame(draw);
        frameTimer = setTimeout(draw, 250);  // no frames while the page is hidden
    }

    var layoutAsked = false;
    function relayoutSoon() {
        if (layoutAsked) return;
        layoutAsked = true;
        window.requestAnimationFrame(function () {
            layoutAsked = false;
            try { relayout(); } catch (e) { if (window.console) console.error(e); }
        });
    }

    // ---- the event stream ----------------------------------------------

    var source = null;
    var retryTimer = null;
    var attemptSince = 0;

    function onMessage(event) {
        try {
            var next = stageParseState(event.data);
            if (!next) {
                stale = true;
                showStatus();
                return;
            }
            stale = false;
            setStatus('live');
            if (state && shown === state && event.data === state.raw) return;
            next.raw = event.data;
            state = next;
            drawSoon();
        } catch (e) {
            stale = true;
            showStatus();
        }
    }

    function connect() {
        clearTimeout(retryTimer);
        retryTimer = null;
        if (source) {
            source.onopen = source.onmessage = source.onerror = null;
            source.close();
        }
        attemptSince = Date.now();
        try {
            source = new EventSource('/events');
        } catch (e) {
            source = null;
            retryTimer = setTimeout(connect, RECONNECT_MS);
            return;
        }
        source.onopen = function () {
            setStatus('live');
        };
        source.onmessage = onMessage;
        source.onerror = function () {
            setStatus(shown || state ? 'reconnecting' : 'connecting');
            attemptSince = Date.now();
            // The browser retries by itself after network errors; after a
            // refusal (a wrong answer, the server gone mid-start) it gives up,
            // and the page starts anew.
            if (source && source.readyState === EventSource.CLOSED && !retryTimer)
                retryTimer = setTimeout(connect, RECONNECT_MS);
        };
    }

    // An attempt that hangs (Wi-Fi gone without the connection being closed)
    // is replaced instead of waited out.
    setInterval(function () {
        if (!source || source.readyState === EventSource.OPEN || retryTimer) return;
        if (Date.now() - attemptSince > STALL_MS) connect();
    }, 1000);

    window.addEventListener('online', connect);
    var hiddenSince = 0;
    document.addEventListener('visibilitychange', function () {
        if (document.hidden) {
            hiddenSince = Date.now();
        } else if (hiddenSince && Date.now() - hiddenSince > 10000) {
            connect();  // a phone that slept may hold a connection that is long dead
        }
    });

    // ---- controls and fitting ----------------------------------------------

    el.chords.addEventListener('click', function () {
        prefs.chords = !prefs.chords;
        writePref('chords', prefs.chords ? 'on' : 'off');
        showPrefs();
        relayout();
    });
    el.smaller.addEventListener('click', function () {
        prefs.step = Math.max(MIN_STEP, prefs.step - 1);
        writePref('step', prefs.step);
        showPrefs();
        relayout();
    });
    el.larger.addEventListener('click', function () {
        prefs.step = Math.min(MAX_STEP, prefs.step + 1);
        writePref('step', prefs.step);
        showPrefs();
        relayout();
    });
    el.theme.addEventListener('click', function () {
        prefs.theme = prefs.theme === 'light' ? 'dark' : 'light';
        writePref('theme', prefs.theme);
        showPrefs();
    });

    window.addEventListener('resize', relayoutSoon);
    window.addEventListener('orientationchange', relayoutSoon);
    if (window.ResizeObserver) {
        new ResizeObserver(function () {
            if (Math.floor(el.lines.getBoundingClientRect().width) !== laidOutWidth) relayoutSoon();
        }).observe(el.lines);
    }
    if (document.fonts && document.fonts.ready) {
        document.fonts.ready.then(function () {
            advances = {};
            relayoutSoon();
        });
    }

    showPrefs();
    showStatus();
    if (typeof EventSource === 'function') {
        connect();
    } else {
        el.waiting.textContent = 'This browser cannot follow songserv (no EventSource).';
    }
})();
