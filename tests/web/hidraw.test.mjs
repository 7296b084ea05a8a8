// The page through the browser's own WebHID: Chromium's HID service opens a virtual
// hidraw node (umockdev's preload in its environment), behind which the simulated unit
// answers in real time, and a managed policy grants the page the programming units. A
// whole update byte for byte, a failing erase, a unit pulled during the blocks, the
// connection outcomes, and a second page that must keep off the unit another one holds. The policy needs root (CI is root); it is removed afterwards.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { createInterface } from 'node:readline';
import { existsSync, mkdirSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';
import { serve } from '../../scripts/serve-web.mjs';
import { root, until, shown, boxOpen, answer, texts, withInstructions, codeLine, blocks,
    pressUpdateAndConfirm, expectedRequests } from './harness.mjs';

const serverProgram = join(root, 'build/native/tests/linux/hidraw_unit_server');
const policyFile = '/etc/chromium/policies/managed/orca-75-lx-updater-tests.json';
const runnable = process.getuid() === 0 && existsSync(serverProgram);

const bounded = (promise, ms, what) => {
    let timer;
    return Promise.race([promise, new Promise((resolve, reject) => {
        timer = setTimeout(() => reject(new Error(`${what}: no end within ${ms} ms`)), ms);
    })]).finally(() => clearTimeout(timer));
};

// One line a command: the server answers each with its lines.
function startServer() {
    const child = spawn(serverProgram, [], { stdio: ['pipe', 'pipe', 'inherit'] });
    const exited = new Promise((resolve) => child.on('exit', resolve));
    const lines = createInterface({ input: child.stdout });
    const waiting = [];
    const got = [];
    lines.on('line', (line) => (waiting.length > 0 ? waiting.shift()(line) : got.push(line)));
    const next = () => new Promise((resolve) => (got.length > 0 ? resolve(got.shift()) : waiting.push(resolve)));
    return {
        next: () => bounded(next(), 30000, 'the virtual unit\'s answer'),
        async send(command, answerLines = 1) {
            child.stdin.write(`${command}\n`);
            const out = [];
            for (let i = 0; i < answerLines; ++i)
                out.push(await this.next());
            return out;
        },
        async stop() {
            child.stdin.end();
            await bounded(exited, 10000, 'the virtual unit\'s end').catch(() => child.kill('SIGKILL'));
        },
    };
}

const launchOptions = (dir) => ({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    timeout: 30000,
    protocolTimeout: 60000,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
        '--disable-component-update', '--disable-sync'],
    env: { ...process.env, LD_PRELOAD: 'libumockdev-preload.so.0', UMOCKDEV_DIR: dir },
});

// Every process that carries this testbed in its environment: the browser and all it
// started, whether still in its process group or not.
function processesOf(dir) {
    const mark = `\0UMOCKDEV_DIR=${dir}\0`;
    const pids = [];
    for (const entry of readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
        try {
            if (`\0${readFileSync(`/proc/${entry}/environ`, 'latin1')}`.includes(mark))
                pids.push(Number(entry));
        } catch (ignored) {
            // ended meanwhile
        }
    }
    return pids;
}

const killQuietly = (pid) => {
    try {
        process.kill(pid, 'SIGKILL');
    } catch (ignored) {
        // gone already
    }
};

// However the close went (it may not end in time), the browser's process group is
// killed, and so is any of its processes that outlived it in another group: a process
// left behind holds the browser's output open and keeps this run from ending. On a
// failed start its two crash handlers, each in a session of its own, were seen to stay.
async function closeBrowser(browser, dir) {
    const pid = browser.process()?.pid;
    await bounded(browser.close(), 15000, 'the browser\'s close').catch(() => {});
    if (pid !== undefined)
        killQuietly(-pid);
    const left = processesOf(dir);
    if (left.length > 0)
        console.log(`${left.length} of the browser's processes outlived it: killed`);
    left.forEach(killQuietly);
}

// A unit behind its own testbed and a browser started for it, whose page is handed to
// `use`. Each case plugs its unit in afresh: umockdev fails to announce a virtual node's
// removal here, so Chromium would still list a unit pulled before. Chromium under the
// preload has now and then neither started nor loaded the page within 30 s; that start
// alone is tried once more, in a new testbed and browser.
async function withUnit(commands, use) {
    if (!(await withUnitOnce(commands, use, false)))
        await withUnitOnce(commands, use, true);
}

// False when the browser did not start, unless `last`.
async function withUnitOnce(commands, use, last) {
    const server = startServer();
    const site = await serve(join(root, 'build/web'));
    let browser = null;
    let dir = '';
    try {
        dir = (await server.next()).replace(/^UMOCKDEV_DIR=/, '');
        for (const command of commands)
            await server.send(command);
        const url = `http://localhost:${site.address().port}/`;
        mkdirSync(join(policyFile, '..'), { recursive: true });
        writeFileSync(policyFile, JSON.stringify({ WebHidAllowDevicesForUrls: [{
            devices: [{ vendor_id: 0x1f4b, product_id: 1 }, { vendor_id: 0x1f4b, product_id: 2 }],
            urls: [url.slice(0, -1)] }] }));
        let page;
        try {
            const launched = Date.now();
            browser = await puppeteer.launch(launchOptions(dir));
            // In the browser's own context: a page of an incognito one lists the unit but
            // never opens it.
            page = await browser.defaultBrowserContext().newPage();
            page.errors = [];
            page.on('pageerror', (error) => page.errors.push(error.message));
            await page.goto(url, { waitUntil: 'domcontentloaded', timeout: 30000 });
            console.log(`browser started and page loaded in ${Date.now() - launched} ms`);
        } catch (error) {
            if (last)
                throw error;
            console.log(`the browser's start failed (${error.message}): once more`);
            return false;
        }
        await use(page, server, browser);
        return true;
    } finally {
        if (browser !== null)
            await closeBrowser(browser, dir);
        rmSync(policyFile, { force: true });
        site.closeAllConnections();
        site.close();
        await server.send('quit', 0).catch(() => {});
        await server.stop();
    }
}

const options = { skip: runnable ? false : 'needs root (the browser policy) and make native (the virtual unit)' };

const hintIs = (page, hint, timeout) =>
    until(page, (hint) => document.getElementById('hint').textContent === hint, hint, timeout);

test('the connection outcomes, as the unit reports them', options, async () => {
    const t = texts.en;
    const outcomes = [
        ['ready', t.IDS_HINT_READY],
        ['wrong-mode', withInstructions(t, 'IDS_HINT_WRONG_MODE')],
        ['no-updatable-esc', withInstructions(t, 'IDS_HINT_NO_UPDATABLE_ESC')],
        ['incompatible', withInstructions(t, 'IDS_HINT_INCOMPATIBLE')],
        ['no-unit', withInstructions(t, 'IDS_HINT_NO_UNIT')],
    ];
    for (const [outcome, hint] of outcomes) {
        console.log(`outcome ${outcome}`);
        await withUnit(outcome === 'no-unit' ? [] : [`add ${outcome}`], async (page) => {
            if (outcome === 'incompatible') {
                const box = await boxOpen(page);
                assert.equal(box.caption, t.IDS_INCOMPATIBLE_CAPTION);
                await answer(page, true);
            }
            await hintIs(page, hint);
            const view = await shown(page);
            assert.equal(view.outcome, outcome);
            assert.equal(view.updateEnabled, outcome === 'ready');
            if (outcome === 'ready')
                assert.deepEqual([view.unitLabel, view.unitVersion, view.bootloaderVersion, view.escVersion],
                    ['DOCK-BOX', '2.3', '1.5', '2.5']);
        });
    }
});

test('a whole update through the browser\'s HID service writes every request byte for byte', options, async () => {
    await withUnit(['add ready'], async (page, server) => {
        await until(page, () => !document.getElementById('update').disabled);
        const started = Date.now();
        await pressUpdateAndConfirm(page);
        await hintIs(page, texts.en.IDS_HINT_UPDATE_DONE, 180000);
        console.log(`browser's own WebHID: ${Date.now() - started} ms from Update to its end`);
        const [requests, flash] = await server.send('written', 2);
        const hex = (bytes) => bytes.map((b) => b.toString(16).padStart(2, '0')).join('');
        const expected = expectedRequests().map(hex);
        const sent = requests.split(' ');
        assert.equal(sent.length, 4 + blocks + 2);
        for (let i = 0; i < expected.length; ++i)
            assert.equal(sent[i], expected[i], `request ${i} of the update`);
        assert.equal(flash, 'flash is the image');
        assert.deepEqual(page.errors, []);
    });
});

test('a failing erase reports its text and code line', options, async () => {
    await withUnit(['add ready', 'fault erase-error'], async (page) => {
        await until(page, () => !document.getElementById('update').disabled);
        await pressUpdateAndConfirm(page);
        const box = await boxOpen(page, 30000);
        assert.equal(box.caption, texts.en.IDS_UPDATE_FAILED_CAPTION);
        assert.equal(box.text, `${texts.en.IDS_FAIL_ERASE}\n${codeLine(texts.en, 7, 0)}`);
        await answer(page, true);
    });
});

test('a unit pulled during the blocks fails that block at once', options, async () => {
    await withUnit(['add ready', 'fault unplug-block 40'], async (page, server) => {
        await until(page, () => !document.getElementById('update').disabled);
        await pressUpdateAndConfirm(page);
        const box = await boxOpen(page, 60000);
        assert.equal(box.caption, texts.en.IDS_UPDATE_FAILED_CAPTION);
        assert.match(box.text, new RegExp(`^${texts.en.IDS_FAIL_WRITE_BLOCK}\n`));
        console.log(`pulled: ${box.text.split('\n').at(-1)}`);
        await answer(page, true);
        const [requests] = await server.send('written', 2);
        assert.equal(requests.split(' ').filter((r) => r.startsWith('011b')).length, 39,
            'nothing after the pulled block');
    });
});

test('a second page finds the unit in use while the first holds it, and takes it after', options, async () => {
    await withUnit(['add ready'], async (first, server, browser) => {
        await until(first, () => !document.getElementById('update').disabled);
        const second = await browser.defaultBrowserContext().newPage();
        second.errors = [];
        second.on('pageerror', (error) => second.errors.push(error.message));
        await second.goto(first.url(), { waitUntil: 'domcontentloaded', timeout: 30000 });
        const inUse = () => until(second, (text) => document.getElementById('in-use').textContent === text
            && !document.getElementById('in-use').hidden, texts.en.IDS_WEB_IN_USE_TAB);
        await inUse();
        assert.equal((await shown(second)).updateEnabled, false);

        await pressUpdateAndConfirm(first);
        await hintIs(first, texts.en.IDS_HINT_UPDATE_DONE, 180000);
        await inUse();
        const [requests, flash] = await server.send('written', 2);
        const hex = (bytes) => bytes.map((b) => b.toString(16).padStart(2, '0')).join('');
        assert.deepEqual(requests.split(' '), expectedRequests().map(hex), 'the first page\'s update, alone');
        assert.equal(flash, 'flash is the image');

        await first.close();
        await until(second, () => document.getElementById('in-use').hidden);
        await hintIs(second, texts.en.IDS_HINT_READY);
        assert.deepEqual(second.errors, []);
    });
});
