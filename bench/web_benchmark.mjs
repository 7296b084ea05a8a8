// The browser edition in headless chromium against the fake device in real time: a whole
// update with the tab visible and hidden, from the lock to its release on the unit's
// clock, against the 45,840 ms of fixed waits; the page's first view; and what the page
// weighs, gzipped as a server sends it. Prints figures, tests nothing.
// Run after make web: node bench/web_benchmark.mjs
import { gzipSync } from 'node:zlib';
import { readdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import { openBrowser, serveSites, openPage, until, root } from '../tests/web/harness.mjs';

const fixedWaitsMs = 45840;
const SYSTEM_LOCK = 0x0b;
const WRITE_BLOCK = 0x1b;

function median(values) {
    const sorted = [...values].sort((a, b) => a - b);
    return sorted[Math.floor(sorted.length / 2)];
}

async function update(browser, url, hidden) {
    const page = await openPage(browser, url, { setup: { granted: [0] } });
    await until(page, () => !document.getElementById('update').disabled);
    if (hidden)
        await (await page.browserContext().newPage()).bringToFront();
    const visibility = await page.evaluate(() => document.visibilityState);
    await page.evaluate(() => document.getElementById('update').click());
    await until(page, () => document.getElementById('box').open);
    await page.evaluate(() => document.getElementById('box-accept').click());
    // The new firmware's version once the update has ended.
    await until(page, () => document.getElementById('esc-version').textContent === '3.0', undefined, 600000);
    const requests = await page.evaluate(() => self.fakeHid.transcript());
    await page.browserContext().close();
    const start = requests.findIndex((r) => r.bytes[1] === SYSTEM_LOCK && r.bytes[3] === 1);
    const update = requests.slice(start, start + 2044);
    const waits = [];
    for (let i = 0; i + 1 < update.length; ++i)
        if (update[i].bytes[1] === WRITE_BLOCK)
            waits.push(update[i + 1].writtenAt - update[i].readAt);
    return { visibility, total: update.at(-1).readAt - update[0].writtenAt, waits };
}

// From the start of navigation to the versions of the unit on the page.
async function firstView(browser, url) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.evaluateOnNewDocument(() => {
        self.fakeHidSetup = { granted: [0] };
        new MutationObserver(() => {
            if (self.firstViewAt === undefined && document.getElementById('esc-version')?.textContent === '2.5')
                self.firstViewAt = performance.now();
        }).observe(document, { subtree: true, childList: true, characterData: true });
    });
    await page.goto(url);
    await until(page, () => self.firstViewAt !== undefined);
    const at = await page.evaluate(() => self.firstViewAt);
    await context.close();
    return at;
}

const browser = await openBrowser();
const sites = await serveSites();
const views = [];
for (let i = 0; i < 5; ++i)
    views.push(await firstView(browser, sites.demo));
console.log('run      tab      lock to release  vs 45,840 ms  wait after a block median/max');
for (const hidden of [false, true]) {
    const run = await update(browser, sites.demo, hidden);
    const over = ((run.total - fixedWaitsMs) / fixedWaitsMs) * 100;
    console.log(`${hidden ? 'hidden ' : 'visible'}  ${run.visibility.padEnd(7)}  ${String(run.total).padStart(12)} ms`
        + `  ${(over >= 0 ? '+' : '') + over.toFixed(2)} %`.padStart(12)
        + `  ${median(run.waits)} / ${Math.max(...run.waits)} ms`.padStart(20));
}
console.log(`first view (versions shown), 5 loads: median ${median(views).toFixed(0)} ms, `
    + `max ${Math.max(...views).toFixed(0)} ms after navigation`);
await browser.close();
sites.close();

const site = join(root, 'build/web');
let plain = 0;
let gzipped = 0;
const files = readdirSync(site).sort();
for (const name of files) {
    const bytes = readFileSync(join(site, name));
    const packed = gzipSync(bytes, { level: 9 }).length;
    plain += bytes.length;
    gzipped += packed;
    console.log(`  ${name.padEnd(16)} ${String(bytes.length).padStart(8)} B  gzipped ${String(packed).padStart(7)} B`);
}
console.log(`page: ${files.length} files, ${plain} B, gzipped ${gzipped} B (${(gzipped / 1024).toFixed(1)} KiB)`);
