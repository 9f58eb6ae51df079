// The real songserv for the stage page's browser tests and pictures: run in
// a scratch working folder, with a Wine prefix of its own whose WIN.INI names
// the stage port, driven by writing stage.json as songdesk does, and stopped
// as run.sh stops it. Also Debian's Chromium through puppeteer-core.
// SONGSERV names the program.
'use strict';
const fs = require('fs');
const http = require('http');
const net = require('net');
const os = require('os');
const path = require('path');
const { spawn } = require('child_process');

const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';
const SECTION = 'LYROVANT';

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// A songserv left running would hold port 80 for every later test: when the
// tests end abnormally (a failed assertion, ctest's timeout, Ctrl-C), the
// programs they started are killed by their pid.
const running = new Set();
const scratch = new Set();
process.on('exit', () => {
    for (const child of running) {
        try { process.kill(child.pid, 'SIGKILL'); } catch (e) { /* already gone */ }
    }
    for (const dir of scratch) fs.rmSync(dir, { recursive: true, force: true });
});
for (const signal of ['SIGINT', 'SIGTERM', 'SIGHUP'])
    process.once(signal, () => process.exit(128 + os.constants.signals[signal]));

function freePort() {
    return new Promise((resolve, reject) => {
        const server = net.createServer();
        server.unref();
        server.on('error', reject);
        server.listen(0, '127.0.0.1', () => {
            const { port } = server.address();
            server.close(() => resolve(port));
        });
    });
}

// One request; resolves with { status, headers, body } or rejects on a
// connection error or after `timeout` ms.
function request(port, urlPath, { timeout = 3000 } = {}) {
    return new Promise((resolve, reject) => {
        const req = http.get({ host: '127.0.0.1', port, path: urlPath, agent: false, timeout }, (res) => {
            let body = '';
            res.setEncoding('utf8');
            res.on('data', (chunk) => { body += chunk; });
            res.on('end', () => resolve({ status: res.statusCode, headers: res.headers, body }));
            res.on('error', reject);
        });
        req.on('timeout', () => req.destroy(new Error(`no answer on port ${port} within ${timeout} ms`)));
        req.on('error', reject);
    });
}

// Sets `key` in the [LYROVANT] section of a WIN.INI, keeping the rest, and
// puts the new file in place in one step (songserv reads it at any time).
function setProfileKey(iniPath, key, value) {
    let text = '';
    try { text = fs.readFileSync(iniPath, 'latin1'); } catch (e) { /* a new profile */ }
    const lines = text.split(/\r\n|\n/).filter((l, i, all) => !(i === all.length - 1 && l === ''));
    let section = -1;
    let end = lines.length;
    for (let i = 0; i < lines.length; i++) {
        const head = /^\s*\[(.*)\]\s*$/.exec(lines[i]);
        if (!head) continue;
        if (section >= 0) { end = i; break; }
        if (head[1].toUpperCase() === SECTION) section = i;
    }
    if (section < 0) {
        lines.push(`[${SECTION}]`);
        section = lines.length - 1;
        end = lines.length;
    }
    const at = lines.slice(section + 1, end).findIndex((l) => l.split('=')[0].trim().toUpperCase() === key.toUpperCase());
    if (at >= 0) lines[section + 1 + at] = `${key}=${value}`;
    else lines.splice(end, 0, `${key}=${value}`);
    fs.mkdirSync(path.dirname(iniPath), { recursive: true });
    fs.writeFileSync(iniPath + '.new', lines.join('\r\n') + '\r\n', 'latin1');
    fs.renameSync(iniPath + '.new', iniPath);
}

class StageServer {
    constructor() {
        this.root = fs.mkdtempSync(path.join(os.tmpdir(), 'stage-test-'));
        scratch.add(this.root);
        this.work = path.join(this.root, 'work');
        this.prefix = path.join(this.root, 'prefix');
        this.ini = path.join(this.prefix, 'drive_c', 'windows', 'win.ini');
        this.runs = 0;
        this.child = null;
        fs.mkdirSync(this.work);
        // Port 80 serves the remote page; the stop request reads it.
        fs.writeFileSync(path.join(this.work, 'index.html'), '<html><body>remote page</body></html>\r\n');
    }

    get url() { return `http://127.0.0.1:${this.port}/`; }

    // Starts songserv (again on the same stage port after a stop) and
    // resolves when the stage port answers.
    async start() {
        if (!this.port) this.port = await freePort();
        const program = process.env.SONGSERV;
        if (!program) throw new Error('SONGSERV must name the songserv program to test');
        if (!fs.existsSync(program)) throw new Error(`SONGSERV names ${program}, which does not exist`);
        fs.mkdirSync(path.dirname(this.ini), { recursive: true });
        fs.writeFileSync(this.ini, '');  // a profile of the stage port alone
        setProfileKey(this.ini, 'STAGEPORT', this.port);
        this.runs += 1;
        this.out = path.join(this.root, `songserv-${this.runs}.out`);
        this.err = path.join(this.root, `songserv-${this.runs}.err`);
        const out = fs.openSync(this.out, 'w');
        const err = fs.openSync(this.err, 'w');
        const child = spawn(program, [], {
            cwd: this.work,
            env: { ...process.env, WINEPREFIX: this.prefix },
            stdio: ['ignore', out, err],
        });
        fs.closeSync(out);
        fs.closeSync(err);
        this.child = child;
        this.gone = null;
        running.add(child);
        this.exited = new Promise((resolve) => {
            const end = (how) => { running.delete(child); this.gone = how; resolve(how); };
            child.on('exit', (code, signal) => end({ code, signal }));
            child.on('error', (error) => end({ code: null, signal: null, error }));
        });
        await this.waitForPort();
    }

    async waitForPort() {
        const deadline = Date.now() + 15000;
        let lastError = null;
        for (;;) {
            if (this.child && this.gone) throw new Error(this.exitText(this.gone));
            try {
                await request(this.port, '/', { timeout: 1000 });
                return;
            } catch (e) {
                lastError = e;
            }
            if (Date.now() > deadline)
                throw new Error(`songserv did not answer on stage port ${this.port} within 15 s (${lastError.message}); ${this.logs()}`);
            await sleep(50);
        }
    }

    exitText(gone) {
        const logs = this.logs();
        if (gone.error) return `songserv could not be started: ${gone.error.message}`;
        if (gone.code === 1 && /bind/i.test(logs))
            return `songserv could not listen (port 80, which it always binds, is probably taken by another program): ${logs}`;
        return `songserv ended early (exit code ${gone.code}, signal ${gone.signal}); ${logs}`;
    }

    logs() {
        const read = (file) => { try { return fs.readFileSync(file, 'utf8').trim(); } catch (e) { return ''; } };
        if (!this.out) return '';
        return `stdout: ${JSON.stringify(read(this.out).slice(-2000))} stderr: ${JSON.stringify(read(this.err).slice(-2000))}`;
    }

    // Asks songserv to stop as run.sh does and waits for it; kills it if it
    // has not ended within 10 s. Resolves with its exit code.
    async stop() {
        if (!this.child) return null;
        const child = this.child;
        this.child = null;
        setProfileKey(this.ini, 'TERMINATE', '1');
        try { await request(80, '/', { timeout: 5000 }); } catch (e) { /* the wait below tells */ }
        const gone = await Promise.race([this.exited, sleep(10000).then(() => null)]);
        if (gone) return gone.code;
        try { process.kill(child.pid, 'SIGKILL'); } catch (e) { /* already gone */ }
        await this.exited;
        throw new Error(`songserv did not stop within 10 s of TERMINATE=1 and a request on port 80; killed it. ${this.logs()}`);
    }

    // Writes stage.json as songdesk does: the whole file beside it, then
    // renamed over it.
    writeState(state) {
        const text = typeof state === 'string' ? state : JSON.stringify(state);
        const file = path.join(this.work, 'stage.json');
        fs.writeFileSync(file + '.new', text);
        fs.renameSync(file + '.new', file);
    }

    cleanUp() {
        fs.rmSync(this.root, { recursive: true, force: true });
    }
}

async function launchBrowser() {
    const puppeteer = require('puppeteer-core');
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'stage-chromium-'));
    scratch.add(profile);
    const browser = await puppeteer.launch({
        executablePath: CHROMIUM,
        ignoreDefaultArgs: true,
        args: [
            '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
            '--disable-background-networking', '--disable-component-update', '--disable-sync',
            `--user-data-dir=${profile}`,
        ],
        pipe: true,
        protocolTimeout: 60000,
    });
    const close = browser.close.bind(browser);
    browser.close = async () => {
        try { await close(); } finally { fs.rmSync(profile, { recursive: true, force: true }); }
    };
    return browser;
}

module.exports = { StageServer, launchBrowser, request, sleep, setProfileKey };
