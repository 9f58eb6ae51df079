// Opens the stage page in Debian's Chromium (headless, through
// puppeteer-core) and notes, with the page's own Date.now(), every change of
// the song title it shows: the title element is watched by a
// MutationObserver, which runs as the page's drawing code sets the text,
// in the frame that paints it.
//
//   node watch_titles.js URL FIRST_TITLE LAST_TITLE SECONDS
//
// Prints "BROWSER_PID <pid>" at once (for the caller's clean-up), "READY"
// once the page shows FIRST_TITLE, then, when it has shown LAST_TITLE or
// SECONDS have passed, "CHANGE <ms since 1970> <title>" for each change.
// NODE_PATH names the node_modules folder holding puppeteer-core.
'use strict';
const path = require('path');
// Chromium is started as the stage page's own tests start it.
const { launchBrowser, sleep } = require(path.join(__dirname, '../../tests/stage/harness.js'));

const [url, firstTitle, lastTitle, seconds] = process.argv.slice(2);

async function main() {
    const deadline = Date.now() + Number(seconds) * 1000;
    let browser = null;
    try {
        browser = await launchBrowser();
        console.log(`BROWSER_PID ${browser.process().pid}`);
        const page = await browser.newPage();
        await page.setViewport({ width: 1024, height: 768 });
        await page.goto(url, { waitUntil: 'load', timeout: 30000 });
        await page.waitForFunction((want) => {
            const title = document.getElementById('title');
            return title && title.textContent === want;
        }, { timeout: 30000, polling: 'raf' }, firstTitle);
        await page.evaluate(() => {
            const title = document.getElementById('title');
            window.benchChanges = [];
            let last = title.textContent;
            new MutationObserver(() => {
                if (title.textContent === last) return;
                last = title.textContent;
                window.benchChanges.push([Date.now(), last]);
            }).observe(title, { childList: true, characterData: true, subtree: true });
        });
        console.log('READY');
        let changes = [];
        while (Date.now() < deadline) {
            changes = await page.evaluate(() => window.benchChanges);
            if (changes.some(([, title]) => title === lastTitle)) break;
            await sleep(200);
        }
        for (const [at, title] of changes) console.log(`CHANGE ${at} ${title}`);
    } finally {
        if (browser) await browser.close().catch(() => {});
    }
}

main().catch((error) => {
    console.error(`watch_titles: ${error.message}`);
    process.exit(1);
});
