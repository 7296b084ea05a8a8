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
    // Polled once a second, so that the watching takes nothing from the update.
    await page.waitForFunction(() => document.getElementById('esc-version').textContent === '3.0',
        { polling: 1000, timeout: 600000 });
    const requests = await page.evaluate(() => self.fakeHid.transcript());
    const allMoments = await page.evaluate(() => self.fakeHid.moments());
    await page.browserContext().close();
    const start = requests.findIndex((r) => r.bytes[1] === SYSTEM_LOCK && r.bytes[3] === 1);
    const update = requests.slice(start, start + 2044);
    const moments = allMoments.slice(start, start + 2044);
    const waits = [];
    for (let i = 0; i + 1 < update.length; ++i)
        if (update[i].bytes[1] === WRITE_BLOCK)
            waits.push(moments[i + 1].takenAt - moments[i].answeredAt);
    // On the worker's clock, and without the time the simulated unit itself took to
    // take each request and answer it, which a real unit spends on its own side.
    const total = moments.at(-1).answeredAt - moments[0].takenAt;
    const unitOwn = moments.reduce((sum, m) => sum + (m.answeredAt - m.takenAt), 0);
    return { visibility, total, unitOwn, waits };
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
const percent = (ms) => `${ms >= fixedWaitsMs ? '+' : ''}${(((ms - fixedWaitsMs) / fixedWaitsMs) * 100).toFixed(2)} %`;
console.log('run      tab      lock to release  vs 45,840 ms   the unit\'s own  without it  vs 45,840 ms'
    + '  wait after a block median/max');
for (const hidden of [false, true]) {
    const run = await update(browser, sites.demo, hidden);
    const ours = run.total - run.unitOwn;
    console.log(`${hidden ? 'hidden ' : 'visible'}  ${run.visibility.padEnd(7)}  ${run.total.toFixed(0).padStart(12)} ms`
        + `  ${percent(run.total).padStart(12)}  ${run.unitOwn.toFixed(0).padStart(11)} ms  ${ours.toFixed(0).padStart(7)} ms`
        + `  ${percent(ours).padStart(12)}  ${median(run.waits).toFixed(2)} / ${Math.max(...run.waits).toFixed(2)} ms`);
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
