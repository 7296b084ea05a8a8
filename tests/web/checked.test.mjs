// What the page writes is what was checked: a controller swapped while the confirmation
// waits is shown and not written, a module whose image was changed refuses, and the site
// runs under its own Content-Security-Policy.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { serve } from '../../scripts/serve-web.mjs';
import { browserForTests, openPage, root, image, shown, until, boxOpen, answer, texts,
    withInstructions, pressUpdateAndConfirm, checkWritten } from './harness.mjs';

const run = browserForTests();
const SYSTEM_LOCK = 0x0b;
const languages = { en: ['en-US', 'en'], de: ['de-DE', 'de', 'en'] };

const hintIs = (page, hint, timeout) =>
    until(page, (hint) => document.getElementById('hint').textContent === hint, hint, timeout);

for (const language of ['en', 'de']) {
    test(`a controller swapped during the confirmation is shown, not written (${language})`, async () => {
        const t = texts[language];
        const page = await openPage(run.browser, run.sites.demo,
            { setup: { granted: [0] }, languages: languages[language] });
        await until(page, () => !document.getElementById('update').disabled);
        await page.click('#update');
        assert.equal((await boxOpen(page)).id, 'confirm-update');
        await page.evaluate(() => self.fakeHid.swap(0, { typeCode: 0x0badc0de, escFirmwareVersion: 0x0909 }));
        await answer(page, true);

        // As if just plugged in: the other model's message, then why nothing was written.
        await until(page, () => document.getElementById('box').dataset.id === 'incompatible'
            && document.getElementById('box').open);
        await answer(page, true);
        await until(page, () => document.getElementById('box').dataset.id === 'controller-changed'
            && document.getElementById('box').open);
        const box = (await shown(page)).box;
        assert.equal(box.caption, t.IDS_CONTROLLER_CHANGED_CAPTION);
        assert.equal(box.text, t.IDS_CONTROLLER_CHANGED);
        assert.equal(box.decline, null);
        if (process.env.ORCA_SCREENS)
            await page.screenshot({ path: join(process.env.ORCA_SCREENS, `web-changed-${language}.png`) });
        await answer(page, true);
        await hintIs(page, withInstructions(t, 'IDS_HINT_INCOMPATIBLE'));
        const view = await shown(page);
        assert.equal(view.updateEnabled, false);
        assert.equal(await page.evaluate(() => document.getElementById('language').disabled), false,
            'no update runs');
        const requests = await page.evaluate(() => self.fakeHid.transcript());
        assert.equal(requests.filter((r) => r.bytes[1] === SYSTEM_LOCK).length, 0, 'nothing locked');
        assert.deepEqual(page.errors, []);
        await page.browserContext().close();
    });
}

// The embedded image's bytes inside the WebAssembly module, one of them changed.
function patchedModule() {
    const module = readFileSync(join(root, 'build/web/orca_core.wasm'));
    const at = module.indexOf(image.subarray(0, 64));
    assert.ok(at >= 0, 'the image is in the module');
    assert.equal(module.indexOf(image.subarray(0, 64), at + 1), -1, 'once');
    const patched = Buffer.from(module);
    patched[at + 48 * 1000 + 5] ^= 0x01;
    return patched;
}

test('a module whose image does not match its digest never offers Update', async () => {
    const site = await serve(join(root, 'build/web-demo'), 0, { replace: { '/orca_core.wasm': patchedModule() } });
    try {
        for (const language of ['en', 'de']) {
            const page = await openPage(run.browser, `http://localhost:${site.address().port}/`,
                { setup: { granted: [0] }, languages: languages[language] });
            // What is connected is still shown; the hint says why it is not offered.
            await until(page, () => document.getElementById('esc-version').value === '2.5');
            await hintIs(page, texts[language].IDS_IMAGE_DAMAGED);
            const view = await shown(page);
            assert.equal(view.updateEnabled, false);
            await page.evaluate(() => document.getElementById('update').click());
            const requests = await page.evaluate(() => self.fakeHid.transcript());
            assert.deepEqual(requests.map((r) => r.bytes[1]), [0x08, 0x1d, 0x22], 'identified only');
            await page.browserContext().close();
        }
    } finally {
        site.close();
        site.closeAllConnections();
    }
});

test('the site works under its own policy, sent as a header that forbids framing', async () => {
    const context = await run.browser.createBrowserContext();
    const page = await context.newPage();
    await page.evaluateOnNewDocument(() => {
        self.fakeHidSetup = { granted: [0] };
        self.violations = [];
        document.addEventListener('securitypolicyviolation', (event) =>
            self.violations.push(`${event.violatedDirective} ${event.blockedURI}`));
    });
    const response = await page.goto(run.sites.demo);
    const policy = response.headers()['content-security-policy'];
    assert.match(policy, /script-src 'self' 'wasm-unsafe-eval'/);
    assert.match(policy, /frame-ancestors 'none'/);
    await until(page, () => !document.getElementById('update').disabled);
    await pressUpdateAndConfirm(page);
    await hintIs(page, texts.en.IDS_HINT_UPDATE_DONE, 120000);
    await checkWritten(page);
    assert.deepEqual(await page.evaluate(() => self.violations), [], 'the site itself breaks no rule');

    // What the policy is for: a script that is not one of the site's files does not run.
    const ran = await page.evaluate(() => {
        const script = document.createElement('script');
        script.textContent = 'self.injected = true;';
        document.head.append(script);
        return self.injected === true;
    });
    assert.equal(ran, false);
    await until(page, () => self.violations.length > 0);
    await context.close();
});
