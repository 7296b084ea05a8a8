// The browser edition in headless chromium against the fake device in real time, which
// answers in a microtask: a whole update with the tab visible and hidden, served
// cross-origin isolated and not, from the lock to its release on the worker's clock,
// against the 45,840 ms of fixed waits, and where each block's time goes; the page's
// first view, online and offline; and what the site weighs, gzipped as a server sends
// it. Prints figures, tests nothing.
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
    const pageIsolated = page.evaluate(() => self.crossOriginIsolated);
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
    const toEvent = [];
    const past = [];
    const toCore = [];
    for (let i = 0; i + 1 < update.length; ++i)
        if (update[i].bytes[1] === WRITE_BLOCK) {
            waits.push(moments[i + 1].takenAt - moments[i].answeredAt);
            toEvent.push(moments[i].eventAt - moments[i].answeredAt);
            past.push(moments[i + 1].takenAt - moments[i].eventAt - 20);
            if (moments[i].coreTookAt !== null)
                toCore.push(moments[i].coreTookAt - moments[i].answeredAt);
        }
    // On the worker's clock, and without the time the simulated unit itself took to
    // take each request and answer it, which a real unit spends on its own side.
    const total = moments.at(-1).answeredAt - moments[0].takenAt;
    const unitOwn = moments.reduce((sum, m) => sum + (m.answeredAt - m.takenAt), 0);
    const isolated = await pageIsolated;
    const mean = (values) => values.reduce((sum, v) => sum + v, 0) / values.length;
    return { visibility, total, unitOwn, waits, isolated, toEvent: mean(toEvent), past: mean(past),
        toCore: mean(toCore) };
}

// From the start of navigation to the versions of the unit on the page; `offline`: a
// second load with the service worker in control and the server gone.
async function firstView(browser, url, offline, stopServer) {
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
    if (offline) {
        await page.evaluate(async () => {
            await navigator.serviceWorker.ready;
            if (navigator.serviceWorker.controller === null)
                await new Promise((resolve) =>
                    navigator.serviceWorker.addEventListener('controllerchange', resolve, { once: true }));
        });
        stopServer();
        await page.reload();
        await until(page, () => self.firstViewAt !== undefined);
    }
    const at = await page.evaluate(() => self.firstViewAt);
    await context.close();
    return at;
}

const browser = await openBrowser();
const percent = (ms) => `${ms >= fixedWaitsMs ? '+' : ''}${(((ms - fixedWaitsMs) / fixedWaitsMs) * 100).toFixed(2)} %`;
console.log('served        tab      lock to release  vs 45,840 ms  the unit\'s own  without it  vs 45,840 ms'
    + '  per block beyond 20 ms (to the answer\'s event + the next report past the wait)  answer to core'
    + '  wait after a block median/max');
for (const isolated of [true, false]) {
    const sites = await serveSites({ isolated });
    for (const hidden of [false, true]) {
        const run = await update(browser, sites.demo, hidden);
        const ours = run.total - run.unitOwn;
        const beyond = run.waits.reduce((sum, w) => sum + (w - 20), 0) / run.waits.length;
        console.log(`${(run.isolated ? 'isolated' : 'not isolated').padEnd(12)}  ${run.visibility.padEnd(7)}`
            + `  ${run.total.toFixed(0).padStart(12)} ms  ${percent(run.total).padStart(12)}`
            + `  ${run.unitOwn.toFixed(0).padStart(11)} ms  ${ours.toFixed(0).padStart(7)} ms  ${percent(ours).padStart(12)}`
            + `  ${(beyond * 1000).toFixed(0).padStart(6)} us (${(run.toEvent * 1000).toFixed(0)} + ${(run.past * 1000).toFixed(0)} us)`
            + `${''.padStart(44)}  ${(run.toCore * 1000).toFixed(0).padStart(7)} us`
            + `  ${median(run.waits).toFixed(2)} / ${Math.max(...run.waits).toFixed(2)} ms`);
    }
    sites.close();
}
console.log('(per block beyond 20 ms: the mean of each block\'s answer to the next request, less the 20 ms wait;'
    + ' of it the way to the answer\'s event, from which the wait counts, then the next report\'s leaving past'
    + ' the wait\'s end. The answer to core, the write\'s promise settling and the core resumed, passes'
    + ' inside the wait)');
const online = [];
const offline = [];
for (let i = 0; i < 5; ++i) {
    const sites = await serveSites();
    online.push(await firstView(browser, sites.demo, false));
    offline.push(await firstView(browser, sites.demo, true, () => sites.close()));
    sites.close();
}
console.log(`first view (versions shown) after navigation, 5 loads each: online median ${median(online).toFixed(0)} ms,`
    + ` max ${Math.max(...online).toFixed(0)} ms; offline median ${median(offline).toFixed(0)} ms,`
    + ` max ${Math.max(...offline).toFixed(0)} ms`);
await browser.close();

const site = join(root, 'build/web');
const offlineFiles = new Set(['service_worker.js', 'manifest.webmanifest', 'icon-192.png', 'icon-512.png',
    'icon-maskable-512.png']);
let plain = 0;
let gzipped = 0;
let offlinePart = 0;
const files = readdirSync(site).sort();
for (const name of files) {
    const bytes = readFileSync(join(site, name));
    const packed = gzipSync(bytes, { level: 9 }).length;
    plain += bytes.length;
    gzipped += packed;
    if (offlineFiles.has(name))
        offlinePart += packed;
    console.log(`  ${name.padEnd(22)} ${String(bytes.length).padStart(8)} B  gzipped ${String(packed).padStart(7)} B`);
}
console.log(`site: ${files.length} files, ${plain} B, gzipped ${gzipped} B (${(gzipped / 1024).toFixed(1)} KiB),`
    + ` of which the service worker, manifest and install icons ${offlinePart} B gzipped`);
