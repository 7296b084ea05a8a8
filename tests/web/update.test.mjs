// Whole updates in real time through the page, its worker and the fake device: every
// request byte for byte, the progress the page shows, and the same update in a tab hidden
// from start to end, where only a worker's timers keep the 20 ms waits.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { browserForTests, openPage, shown, until, boxOpen, answer, texts, image, leavingAsks,
    recordGuard } from './harness.mjs';

const run = browserForTests();

const SYSTEM_LOCK = 0x0b;
const WRITE_PROTECT = 0x20;
const ERASE = 0x1e;
const SET_ADDRESS = 0x1f;
const WRITE_BLOCK = 0x1b;
const key = [0x91, 0x5c, 0x7e, 0x3a];
const blocks = Math.ceil(image.length / 48);

function report(...bytes) {
    const whole = new Array(60).fill(0);
    bytes.forEach((b, i) => { whole[i] = b; });
    return whole;
}

// What the unit must receive from the lock to its release: 4 + 2,038 + 2 reports.
function expectedRequests() {
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

async function pressUpdateAndConfirm(page) {
    await page.evaluate(() => document.getElementById('update').click());
    const box = await boxOpen(page);
    assert.equal(box.id, 'confirm-update');
    await answer(page, true);
}

async function checkWritten(page) {
    const all = await page.evaluate(() => self.fakeHid.transcript());
    const start = all.findIndex((r) => r.bytes[1] === SYSTEM_LOCK && r.bytes[3] === 1);
    const written = all.slice(start, start + 4 + blocks + 2).map((r) => r.bytes);
    const expected = expectedRequests();
    assert.equal(written.length, expected.length);
    for (let i = 0; i < expected.length; ++i)
        assert.deepEqual(written[i], expected[i], `request ${i} of the update`);
    // On the worker's own clock, which the fake device shares: the next block never
    // leaves less than 20 ms after the last one's answer.
    const moments = (await page.evaluate(() => self.fakeHid.moments())).slice(start, start + written.length);
    for (let i = 4; i < 4 + blocks; ++i)
        assert.ok(moments[i + 1].takenAt - moments[i].answeredAt >= 20, `the wait after block ${i - 4}`);
    const unit = await page.evaluate(() => self.fakeHid.state(0));
    assert.deepEqual(unit.flash.slice(0, image.length), [...image]);
    assert.equal(unit.violations, 0);
    assert.equal(unit.lockHeld, false);
}

test('a whole update writes every request byte for byte and shows its progress', async () => {
    const page = await openPage(run.browser, run.sites.demo, { setup: { granted: [0] } });
    await until(page, () => !document.getElementById('update').disabled);
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
    const page = await openPage(run.browser, run.sites.demo, { setup: { granted: [0] } });
    await until(page, () => !document.getElementById('update').disabled);
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
