// What the page's tests and the benchmark share: Debian's chromium headless, the sites
// served on localhost, a page opened with a fake WebHID set up before its scripts, the
// page's texts from the string tables, and reading what the page shows.
import puppeteer from 'puppeteer-core';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { before, after } from 'node:test';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { serve } from '../../scripts/serve-web.mjs';

export const root = join(dirname(fileURLToPath(import.meta.url)), '../..');
export const image = readFileSync(join(root, 'build/web-build/generated/firmware.bin'));

// Puppeteer switches background throttling off by default, which would let a hidden tab
// run at full speed whatever the page does: those switches are dropped.
export async function openBrowser() {
    return puppeteer.launch({
        executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
        headless: true,
        args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
            '--disable-component-update', '--disable-sync', '--disable-quic'],
        ignoreDefaultArgs: ['--disable-background-timer-throttling',
            '--disable-backgrounding-occluded-windows', '--disable-renderer-backgrounding'],
    });
}

// One browser and the two sites for a file's tests, opened before them and closed after.
export function browserForTests() {
    const run = {};
    before(async () => {
        run.browser = await openBrowser();
        run.sites = await serveSites();
    });
    after(async () => {
        await run.browser.close();
        run.sites.close();
    });
    return run;
}

// `olderBrowser`: the demo site also as a browser without JSPI sees it, served without
// cross-origin isolation, where the core is suspended by Asyncify and the clock is coarse.
export async function serveSites({ isolated = true } = {}) {
    const demo = await serve(join(root, 'build/web-demo'), 0, { isolated });
    const product = await serve(join(root, 'build/web'), 0, { isolated });
    const older = await serve(join(root, 'build/web-demo'), 0, { isolated: false,
        prelude: { '/worker.js': 'delete WebAssembly.Suspending;\n' } });
    return {
        demo: `http://localhost:${demo.address().port}/`,
        product: `http://localhost:${product.address().port}/`,
        olderBrowser: `http://localhost:${older.address().port}/`,
        close: () => {
            for (const server of [demo, product, older]) {
                server.close();
                server.closeAllConnections();
            }
        },
    };
}

// A page in a context of its own (its own grants and storage). `setup` is the fake's
// (units, granted, chooser); `languages` what the browser prefers; `withoutHid` takes
// WebHID away from the page, as a browser without it.
export async function openPage(browser, url, { setup = {}, languages = ['en-US', 'en'], withoutHid = false } = {}) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    page.errors = [];
    page.on('pageerror', (error) => page.errors.push(error.message));
    await page.setViewport({ width: 760, height: 720 });
    await page.evaluateOnNewDocument((setup, languages, withoutHid) => {
        self.fakeHidSetup = setup;
        Object.defineProperty(Navigator.prototype, 'languages', { get: () => languages });
        if (withoutHid)
            delete Navigator.prototype.hid;
    }, setup, languages, withoutHid);
    await page.goto(url);
    return page;
}

export function until(page, predicate, arg, timeout = 30000) {
    return page.waitForFunction(predicate, { polling: 'mutation', timeout }, arg);
}

// The view as the page shows it.
export function shown(page) {
    return page.evaluate(() => {
        const text = (id) => document.getElementById(id).textContent;
        const box = document.getElementById('box');
        return {
            title: text('title'),
            unitLabel: text('unit-label'), unitVersion: text('unit-version'),
            bootloaderLabel: text('bootloader-label'), bootloaderVersion: text('bootloader-version'),
            escLabel: text('esc-label'), escVersion: text('esc-version'),
            versionsGreyed: document.getElementById('versions').classList.contains('disabled'),
            hint: text('hint'), outcome: document.getElementById('hint').dataset.outcome,
            updateEnabled: !document.getElementById('update').disabled,
            connect: text('connect'), update: text('update'),
            box: box.open ? { id: box.dataset.id, caption: text('box-caption'), text: text('box-text'),
                accept: text('box-accept'), decline: document.getElementById('box-decline').hidden ? null : text('box-decline') } : null,
            progressOpen: document.getElementById('progress').open,
            notice: document.getElementById('notice').hidden ? null : text('notice'),
            unsupported: document.getElementById('unsupported').hidden ? null : text('unsupported'),
        };
    });
}

// Whether leaving or reloading the page now asks first.
export function leavingAsks(page) {
    return page.evaluate(() => {
        const event = new Event('beforeunload', { cancelable: true });
        window.dispatchEvent(event);
        return event.defaultPrevented;
    });
}

// From now on, whether leaving asked first at the moment `dialog` opened or closed, in
// the page's own order of events: self.guardAt[dialog + ' ' + 'open'|'close'].
export function recordGuard(page, dialog) {
    return page.evaluate((dialog) => {
        self.guardAt = self.guardAt || {};
        const asks = () => {
            const event = new Event('beforeunload', { cancelable: true });
            window.dispatchEvent(event);
            return event.defaultPrevented;
        };
        const element = document.getElementById(dialog);
        new MutationObserver(() => {
            self.guardAt[`${dialog} ${element.open ? 'open' : 'close'}`] = asks();
        }).observe(element, { attributes: true, attributeFilter: ['open'] });
    }, dialog);
}

export async function ready(page) {
    await until(page, () => document.body.dataset.ready === 'true' || !document.getElementById('unsupported').hidden);
}

export async function boxOpen(page, timeout) {
    await until(page, () => document.getElementById('box').open, undefined, timeout);
    return (await shown(page)).box;
}

export async function answer(page, accept) {
    await page.evaluate((accept) => document.getElementById(accept ? 'box-accept' : 'box-decline').click(), accept);
}

// The texts of the string tables by name, as the page shows them: lines broken by "\n".
function stringTable(file) {
    const table = {};
    const source = readFileSync(join(root, 'resources', file), 'utf8');
    for (const match of source.matchAll(/^\s+(IDS_\w+)\s+"((?:[^"]|"")*)"\s*$/gm))
        table[match[1]] = match[2].replace(/""/g, '"').replace(/\\r\\n/g, '\n').replace(/\\r/g, '')
            .replace(/\\n/g, '\n').replace(/\\t/g, '\t').replace(/\\\\/g, '\\');
    return table;
}
function dialogTexts(file) {
    const table = {};
    const source = readFileSync(join(root, 'resources', file), 'utf8');
    for (const match of source.matchAll(/CONTROL\s+"([^"]*)",\s*(-?\w+),/g))
        table[match[2]] = match[1];
    return table;
}
export const texts = {
    en: Object.assign(stringTable('strings.en.rc'), dialogTexts('dialog.en.rc')),
    de: Object.assign(stringTable('strings.de.rc'), dialogTexts('dialog.de.rc')),
};
export const withInstructions = (t, name) => `${t[name]}\n\n${t.IDS_HINT_INSTRUCTIONS}`;

// "%08x"-style code line of a failure.
export function codeLine(t, code, lastError) {
    const hex = (n) => (n >>> 0).toString(16).padStart(8, '0');
    return t.IDS_ERROR_CODE_LINE.replace('%08x', hex(code)).replace('%08x', hex(lastError));
}

// A whole update as the unit must receive it.
const SYSTEM_LOCK = 0x0b;
const WRITE_PROTECT = 0x20;
const ERASE = 0x1e;
const SET_ADDRESS = 0x1f;
const WRITE_BLOCK = 0x1b;
const key = [0x91, 0x5c, 0x7e, 0x3a];
export const blocks = Math.ceil(image.length / 48);

export function report(...bytes) {
    const whole = new Array(60).fill(0);
    bytes.forEach((b, i) => { whole[i] = b; });
    return whole;
}

// What the unit must receive from the lock to its release: 4 + 2,038 + 2 reports.
export function expectedRequests() {
    const requests = [report(1, SYSTEM_LOCK, 1, 1), report(1, WRITE_PROTECT, 1, 0),
        report(1, ERASE, 4, 0, ...key), report(1, SET_ADDRESS, 9, 1, 0, 0, 0, 0, ...key)];
    for (let i = 0; i < blocks; ++i) {
        const data = [...image.subarray(48 * i, 48 * i + 48)];
        const count = data.length;
        while (data.length < 48)
            data.push(0xff); // the filler of a short last block
        requests.push(report(1, WRITE_BLOCK, count, 0, ...data));
    }
    requests.push(report(1, WRITE_PROTECT, 1, 1), report(1, SYSTEM_LOCK, 1, 0));
    return requests;
}

export async function pressUpdateAndConfirm(page) {
    await page.evaluate(() => document.getElementById('update').click());
    const box = await boxOpen(page);
    assert.equal(box.id, 'confirm-update');
    await answer(page, true);
}

// How the page's core waits for the browser: whether its page is cross-origin isolated and
// whether JSPI suspends it (else Asyncify).
export async function coreWay(page) {
    const [worker] = page.workers();
    return { isolated: await page.evaluate(() => self.crossOriginIsolated),
        stackSwitching: await worker.evaluate(() => self.orcaStackSwitching) };
}

export async function checkWritten(page) {
    const all = await page.evaluate(() => self.fakeHid.transcript());
    const start = all.findIndex((r) => r.bytes[1] === SYSTEM_LOCK && r.bytes[3] === 1);
    const written = all.slice(start, start + 4 + blocks + 2).map((r) => r.bytes);
    const expected = expectedRequests();
    assert.equal(written.length, expected.length);
    for (let i = 0; i < expected.length; ++i)
        assert.deepEqual(written[i], expected[i], `request ${i} of the update`);
    // On the worker's own clock, which the fake device shares: no request leaves before the
    // waits after the last one's answer are over (after the erase two in a row), however
    // the waits end.
    const moments = (await page.evaluate(() => self.fakeHid.moments())).slice(start, start + written.length);
    const waits = [20, 20, 4000 + 20, 20, ...Array(blocks).fill(20), 0];
    for (let i = 0; i + 1 < moments.length; ++i)
        assert.ok(moments[i + 1].takenAt - moments[i].answeredAt >= waits[i], `the wait before request ${i + 1}`);
    const unit = await page.evaluate(() => self.fakeHid.state(0));
    assert.deepEqual(unit.flash.slice(0, image.length), [...image]);
    assert.equal(unit.violations, 0);
    assert.equal(unit.lockHeld, false);
}

