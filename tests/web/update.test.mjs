// Whole updates in real time through the page, its worker and the fake device: every
// request byte for byte, the progress the page shows, and the same update in a tab hidden
// from start to end, where only a worker's timers keep the 20 ms waits, as a browser
// without JSPI runs it from a site that is not cross-origin isolated.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { browserForTests, openPage, shown, until, texts, leavingAsks, recordGuard, blocks,
    pressUpdateAndConfirm, checkWritten, coreWay } from './harness.mjs';

const run = browserForTests();

test('a whole update writes every request byte for byte and shows its progress', async () => {
    const page = await openPage(run.browser, run.sites.demo, { setup: { granted: [0] } });
    await until(page, () => !document.getElementById('update').disabled);
    assert.deepEqual(await coreWay(page), { isolated: true, stackSwitching: true });
    await page.evaluate(() => {
        self.progressSeen = [];
        new MutationObserver(() => self.progressSeen.push(document.getElementById('progress-text').textContent))
            .observe(document.getElementById('progress-text'), { childList: true, characterData: true, subtree: true });
    });
    await recordGuard(page, 'progress');
    await pressUpdateAndConfirm(page);
    await until(page, () => document.getElementById('progress').open);
    assert.equal(await page.evaluate(() => document.getElementById('progress-title').textContent),
        texts.en.IDS_PROGRESS_TITLE);
    await until(page, (hint) => document.getElementById('hint').textContent === hint, texts.en.IDS_HINT_UPDATE_DONE, 120000);

    const view = await shown(page);
    assert.equal(view.escVersion, '3.0');
    assert.equal(view.updateEnabled, false);
    assert.equal(view.progressOpen, false);
    assert.equal(view.outcome, 'updated', 'not ready: it must be plugged in again');
    // The lock is released after the progress window goes: leaving asked first until then.
    assert.equal(await page.evaluate(() => self.guardAt['progress close']), true);
    assert.equal(await leavingAsks(page), false);
    const progress = await page.evaluate(() => self.progressSeen);
    assert.equal(progress[0], texts.en.IDS_CLI_PROGRESS_START);
    assert.equal(progress.at(-1), `100 %  block ${blocks} of ${blocks}  0 s left`);
    const first = new RegExp(`^0 %  block 1 of ${blocks}  \\d+ s left$`);
    assert.ok(progress.some((text) => first.test(text)), 'the first block shown');
    assert.ok(progress.length > 200, `${progress.length} states shown, about ten a second`);
    await checkWritten(page);
    assert.deepEqual(page.errors, []);
    await page.browserContext().close();
});

test('an update in a tab hidden from start to end is written whole', async () => {
    const page = await openPage(run.browser, run.sites.olderBrowser, { setup: { granted: [0] } });
    await until(page, () => !document.getElementById('update').disabled);
    assert.deepEqual(await coreWay(page), { isolated: false, stackSwitching: false });
    const other = await page.browserContext().newPage();
    await other.bringToFront();
    await page.evaluate(() => {
        self.shownAgain = false;
        document.addEventListener('visibilitychange', () => { self.shownAgain ||= !document.hidden; });
    });
    assert.equal(await page.evaluate(() => document.visibilityState), 'hidden');
    const started = Date.now();
    await pressUpdateAndConfirm(page);
    // Throttled like the page's own timers, it would take over half an hour.
    await until(page, (hint) => document.getElementById('hint').textContent === hint, texts.en.IDS_HINT_UPDATE_DONE, 180000);
    console.log(`hidden tab: ${Date.now() - started} ms from Update to its end`);
    assert.equal(await page.evaluate(() => document.visibilityState === 'hidden' && !self.shownAgain), true);
    await checkWritten(page);
    await page.browserContext().close();
});
