// What the page's tests and the benchmark share: Debian's chromium headless, the sites
// served on localhost, a page opened with a fake WebHID set up before its scripts, the
// page's texts from the string tables, and reading what the page shows.
import puppeteer from 'puppeteer-core';
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

export async function serveSites() {
    const demo = await serve(join(root, 'build/web-demo'));
    const product = await serve(join(root, 'build/web'));
    return {
        demo: `http://localhost:${demo.address().port}/`,
        product: `http://localhost:${product.address().port}/`,
        close: () => { demo.close(); product.close(); },
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
