// Makes the README's pictures of the stage view, docs/stage-phone.png and
// docs/stage-tablet.png, from the page as the real songserv serves it, with
// a hymn and a running set list.
//   SONGSERV=build/native/server/songserv node tests/stage/make_pictures.js
'use strict';
const path = require('path');
const { StageServer, launchBrowser } = require('./harness.js');
const songs = require('./songs.js');

const DOCS = path.join(__dirname, '..', '..', 'docs');
const PICTURES = [
    { file: 'stage-phone.png', viewport: { width: 390, height: 844, deviceScaleFactor: 2, isMobile: true, hasTouch: true } },
    { file: 'stage-tablet.png', viewport: { width: 768, height: 1024, deviceScaleFactor: 1, isMobile: true, hasTouch: true } },
];

async function main() {
    const server = new StageServer();
    let browser;
    try {
        server.writeState({ ...songs.amazingGrace('A', 2, { set: songs.SET, at: 0 }), seq: 1 });
        await server.start();
        browser = await launchBrowser();
        for (const { file, viewport } of PICTURES) {
            const page = await browser.newPage();
            await page.setViewport(viewport);
            await page.goto(server.url, { waitUntil: 'load' });
            await page.waitForFunction(() => document.getElementById('title').textContent === 'AMAZING GRACE' &&
                                             document.getElementById('status').textContent === 'Live', { timeout: 5000 });
            await page.screenshot({ path: path.join(DOCS, file) });
            await page.close();
            console.log(`wrote docs/${file}`);
        }
    } finally {
        if (browser) await browser.close();
        try { await server.stop(); } finally { server.cleanUp(); }
    }
}

main().catch((error) => {
    console.error(error.message || error);
    process.exit(1);
});
