// The installed and offline page: both sites installable with their manifest and icons;
// after one visit the demo site loads and writes a whole update with its server gone; a
// newly deployed build is offered only while no update runs and taken only when asked; a
// build whose file is not the one it was built with is never installed.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createHash } from 'node:crypto';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { serve } from '../../scripts/serve-web.mjs';
import { browserForTests, openPage, root, until, texts, pressUpdateAndConfirm, checkWritten } from './harness.mjs';

const run = browserForTests();

// A copy of the demo site on a server of its own, which the test may change or stop.
async function ownSite() {
    const folder = mkdtempSync(join(tmpdir(), 'orca-site-'));
    cpSync(join(root, 'build/web-demo'), folder, { recursive: true });
    const server = await serve(folder);
    return {
        folder, url: `http://localhost:${server.address().port}/`,
        stop: () => { server.close(); server.closeAllConnections(); },
        remove: () => rmSync(folder, { recursive: true, force: true }),
    };
}

// The service worker in control of the page: its claim comes as an event, not as a change
// of the page that `until` would look again at.
async function controlled(page) {
    await page.evaluate(async () => {
        await navigator.serviceWorker.ready;
        if (navigator.serviceWorker.controller === null)
            await new Promise((resolve) =>
                navigator.serviceWorker.addEventListener('controllerchange', resolve, { once: true }));
    });
}

const done = (page) => until(page, (hint) => document.getElementById('hint').textContent === hint,
    texts.en.IDS_HINT_UPDATE_DONE, 120000);

// With its server gone: the page reloaded from the worker's cache writes a whole update.
async function reloadedWritesOffline(page) {
    const started = Date.now();
    await page.reload();
    await until(page, () => !document.getElementById('update').disabled);
    console.log(`offline: ${Date.now() - started} ms from reload to the versions shown`);
    await pressUpdateAndConfirm(page);
    await done(page);
    await checkWritten(page);
    assert.deepEqual(page.errors, []);
    await page.browserContext().close();
}

for (const site of ['product', 'demo']) {
    test(`the ${site} site is installable, its icons the window's drawing`, async () => {
        // Not in a context of its own: nothing is installed from an incognito one.
        const page = await run.browser.defaultBrowserContext().newPage();
        await page.goto(run.sites[site]);
        await controlled(page);
        const cdp = await page.createCDPSession();
        const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
        assert.deepEqual(installabilityErrors, []);
        const manifest = await cdp.send('Page.getAppManifest');
        assert.deepEqual(manifest.errors, []);
        const parsed = JSON.parse(manifest.data);
        assert.equal(parsed.display, 'standalone');
        assert.deepEqual(parsed.icons.map((icon) => `${icon.sizes} ${icon.purpose || 'any'}`),
            ['192x192 any', '512x512 any', '512x512 maskable']);
        for (const icon of parsed.icons) {
            const size = await page.evaluate(async (src) => {
                const bitmap = await createImageBitmap(await (await fetch(src)).blob());
                return `${bitmap.width}x${bitmap.height}`;
            }, icon.src);
            assert.equal(size, icon.sizes);
        }
        await page.close();
    });
}

test('after one visit the page loads and writes a whole update with the network gone', async () => {
    const site = await ownSite();
    try {
        const page = await openPage(run.browser, site.url, { setup: { granted: [0] } });
        await until(page, () => !document.getElementById('update').disabled);
        await controlled(page);
        site.stop();
        const fetched = (file) => page.evaluate(async (file) => {
            try { return (await fetch(file)).ok ? 'answered' : 'refused'; } catch { return 'unreachable'; }
        }, file);
        assert.equal(await fetched('not-on-the-site.txt'), 'unreachable', 'the server is gone');
        assert.equal(await fetched('index.html'), 'answered', 'from the worker\'s cache');
        await reloadedWritesOffline(page);
    } finally {
        site.stop();
        site.remove();
    }
});

test('a new build is offered only while no update runs, and taken only when asked', async () => {
    const site = await ownSite();
    try {
        const page = await openPage(run.browser, site.url, { setup: { granted: [0] } });
        await until(page, () => !document.getElementById('update').disabled);
        await controlled(page);
        const before = await page.evaluate(() => navigator.serviceWorker.controller.scriptURL);

        // The next build: another page script, and so another worker, with that script's
        // digest.
        const script = `${readFileSync(join(site.folder, 'page.js'), 'utf8')}\nself.deployedAgain = true;\n`;
        writeFileSync(join(site.folder, 'page.js'), script);
        const digest = createHash('sha256').update(script).digest('hex');
        const worker = join(site.folder, 'service_worker.js');
        writeFileSync(worker, readFileSync(worker, 'utf8').replace(/const BUILD = '[0-9a-f]+'/, "const BUILD = 'next'")
            .replace(/'page\.js': '[0-9a-f]+'/, `'page.js': '${digest}'`));

        await pressUpdateAndConfirm(page);
        await until(page, () => document.getElementById('progress').open);
        await page.evaluate(async () => (await navigator.serviceWorker.getRegistration()).update());
        await until(page, async () => (await navigator.serviceWorker.getRegistration()).waiting !== null);
        assert.equal(await page.evaluate(() => document.getElementById('new-version').hidden), true,
            'no offer while the update runs');
        await done(page);
        await until(page, () => !document.getElementById('new-version').hidden);
        assert.equal(await page.evaluate(() => document.getElementById('reload').textContent), texts.en.IDS_WEB_RELOAD);
        assert.equal(await page.evaluate(() => navigator.serviceWorker.controller.scriptURL), before);
        await checkWritten(page);

        await Promise.all([page.waitForNavigation(), page.evaluate(() => document.getElementById('reload').click())]);
        await until(page, () => self.deployedAgain === true && document.body.dataset.ready === 'true');
        const caches = await page.evaluate(() => caches.keys());
        assert.equal(caches.length, 1, 'the old build\'s cache is gone');
        assert.ok(caches[0].endsWith(' next'), caches[0]);
        await page.browserContext().close();
    } finally {
        site.stop();
        site.remove();
    }
});

test('a build whose module was changed on its way is refused, and the installed one goes on', async () => {
    const site = await ownSite();
    try {
        const page = await openPage(run.browser, site.url, { setup: { granted: [0] } });
        await until(page, () => !document.getElementById('update').disabled);
        await controlled(page);
        const before = await page.evaluate(() => caches.keys());

        // The next build as a damaged server or proxy delivers it: its worker is new, its
        // module is not the one the worker's digests name.
        const worker = join(site.folder, 'service_worker.js');
        writeFileSync(worker, readFileSync(worker, 'utf8').replace(/const BUILD = '[0-9a-f]+'/, "const BUILD = 'next'"));
        const module = readFileSync(join(site.folder, 'orca_core.wasm'));
        module[module.length >> 1] ^= 0x01;
        writeFileSync(join(site.folder, 'orca_core.wasm'), module);

        const state = await page.evaluate(async () => {
            const registration = await navigator.serviceWorker.getRegistration();
            await registration.update().catch(() => {});
            const installing = registration.installing;
            if (installing === null)
                return registration.waiting === null ? 'nothing installed' : 'installed';
            return new Promise((resolve) => installing.addEventListener('statechange', () => {
                if (installing.state === 'redundant' || installing.state === 'installed')
                    resolve(installing.state);
            }));
        });
        assert.equal(state, 'redundant', 'the install failed');
        assert.deepEqual(await page.evaluate(() => caches.keys()), before, 'only the installed build is kept');

        site.stop();
        await reloadedWritesOffline(page);
    } finally {
        site.stop();
        site.remove();
    }
});
