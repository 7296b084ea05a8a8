// The page against the fake WebHID device in the page and its worker: what it shows for
// every outcome in both languages, the language switch, the chooser, a failed update
// with its code line, a unit pulled while writing, a browser without WebHID.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { browserForTests, openPage, ready, shown, until, boxOpen, answer, texts,
    withInstructions, codeLine, leavingAsks, recordGuard } from './harness.mjs';

const run = browserForTests();

const ERASE = 0x1e;
const WRITE_BLOCK = 0x1b;
const languages = { en: ['en-US', 'en'], de: ['de-DE', 'de', 'en'] };

// The versions are shown only of a unit ready to update; otherwise greyed placeholders
// under the row's own name.
const closed = (t) => [t.IDS_LABEL_UNIT, '0.0.0', '0.0.0', true];
const outcomes = [
    { name: 'ready', unit: {}, hint: (t) => t.IDS_HINT_READY, update: true,
        versions: () => ['DOCK-BOX', '1.5', '2.5', false] },
    { name: 'no-unit', unit: null, hint: (t) => withInstructions(t, 'IDS_HINT_NO_UNIT'), versions: closed },
    { name: 'wrong-mode', unit: { inBootloader: true }, hint: (t) => withInstructions(t, 'IDS_HINT_WRONG_MODE'),
        versions: closed },
    { name: 'no-updatable-esc', unit: { escState: 2 }, hint: (t) => withInstructions(t, 'IDS_HINT_NO_UPDATABLE_ESC'),
        versions: closed },
    { name: 'incompatible', unit: { typeCode: 0x12345678 }, hint: (t) => withInstructions(t, 'IDS_HINT_INCOMPATIBLE'),
        box: 'incompatible', versions: closed },
];

for (const language of ['en', 'de']) {
    test(`every outcome shows its hint and versions (${language})`, async () => {
        const t = texts[language];
        for (const outcome of outcomes) {
            const units = outcome.unit ? [outcome.unit] : [];
            const page = await openPage(run.browser, run.sites.demo,
                { setup: { units, granted: [0] }, languages: languages[language] });
            if (outcome.box) {
                const box = await boxOpen(page);
                assert.equal(box.id, outcome.box);
                assert.equal(box.caption, t.IDS_INCOMPATIBLE_CAPTION);
                assert.equal(box.accept, t.IDS_WEB_OK);
                assert.equal(box.decline, null, 'a message has OK alone');
                await answer(page, true);
            }
            await until(page, (hint) => document.getElementById('hint').textContent === hint, outcome.hint(t));
            const view = await shown(page);
            assert.equal(view.outcome, outcome.name);
            assert.equal(view.updateEnabled, Boolean(outcome.update), outcome.name);
            assert.equal(view.title, 'NORVAX ORCA 75 LX FW Updater 3.0 ');
            assert.equal(view.update, t.IDC_UPDATE);
            assert.equal(view.connect, t.IDS_WEB_CONNECT);
            assert.deepEqual([view.unitLabel, view.bootloaderVersion, view.escVersion, view.versionsGreyed],
                outcome.versions(t), outcome.name);
            assert.deepEqual(page.errors, []);
            await page.browserContext().close();
        }
    });
}

test('the language follows the browser and the switch, and the unit is found again', async () => {
    const page = await openPage(run.browser, run.sites.demo, { setup: { granted: [0] }, languages: languages.de });
    await until(page, (hint) => document.getElementById('hint').textContent === hint, texts.de.IDS_HINT_READY);
    assert.equal(await page.evaluate(() => document.documentElement.lang), 'de');
    await page.select('#language', 'en');
    await until(page, (t) => document.getElementById('hint').textContent === t.hint
        && document.getElementById('connect').textContent === t.connect,
    { hint: texts.en.IDS_HINT_READY, connect: texts.en.IDS_WEB_CONNECT });
    const view = await shown(page);
    assert.equal(view.update, texts.en.IDC_UPDATE);
    assert.equal(await page.evaluate(() => document.documentElement.lang), 'en');
    assert.equal(view.escVersion, '2.5');
    assert.equal(view.updateEnabled, true);
    await page.browserContext().close();
});

test('the chooser refused says so; a unit chosen later is found; its removal is followed', async () => {
    const page = await openPage(run.browser, run.sites.demo, { setup: { granted: [], chooser: 'cancel' } });
    await until(page, (hint) => document.getElementById('hint').textContent === hint,
        withInstructions(texts.en, 'IDS_HINT_NO_UNIT'));
    await page.click('#connect');
    await until(page, () => !document.getElementById('notice').hidden);
    assert.equal((await shown(page)).notice, texts.en.IDS_WEB_NONE_CHOSEN);
    assert.equal((await shown(page)).updateEnabled, false);

    await page.evaluate(() => self.fakeHid.setChooser('first'));
    await page.click('#connect');
    await until(page, (hint) => document.getElementById('hint').textContent === hint, texts.en.IDS_HINT_READY);
    assert.equal((await shown(page)).notice, null);

    await page.evaluate(() => self.fakeHid.unplug(0));
    await until(page, (hint) => document.getElementById('hint').textContent === hint,
        withInstructions(texts.en, 'IDS_HINT_CONNECTION_LOST'));
    const view = await shown(page);
    assert.equal(view.updateEnabled, false);
    assert.equal(view.versionsGreyed, true);
    await page.browserContext().close();
});

test('declining the confirmation with the keyboard writes nothing', async () => {
    const page = await openPage(run.browser, run.sites.demo, { setup: { granted: [0] } });
    await until(page, () => !document.getElementById('update').disabled);
    await page.focus('#update');
    await page.keyboard.press('Enter');
    const box = await boxOpen(page);
    assert.equal(box.id, 'confirm-update');
    assert.equal(box.text, texts.en.IDS_CONFIRM_UPDATE);
    assert.deepEqual([box.accept, box.decline], [texts.en.IDS_WEB_OK, texts.en.IDS_WEB_CANCEL]);
    assert.equal(await page.evaluate(() => document.activeElement.id), 'box-accept');
    await page.keyboard.press('Escape');
    await until(page, () => !document.getElementById('box').open && !document.getElementById('update').disabled);
    const requests = await page.evaluate(() => self.fakeHid.transcript());
    assert.ok(!requests.some((r) => r.bytes[1] === ERASE), 'no erase after Cancel');
    await page.browserContext().close();
});

test('a failing erase reports its text and code line, in German too', async () => {
    for (const language of ['en', 'de']) {
        const t = texts[language];
        const page = await openPage(run.browser, run.sites.demo, { setup: { granted: [0] }, languages: languages[language] });
        await until(page, () => !document.getElementById('update').disabled);
        await page.evaluate((fault) => self.fakeHid.fault(0, fault), { kind: 'status-error', command: ERASE, nth: 1, code: 7 });
        await recordGuard(page, 'box');
        await page.click('#update');
        await boxOpen(page);
        await answer(page, true);
        await until(page, () => document.getElementById('box').dataset.id === 'update-failed' && document.getElementById('box').open,
            undefined, 20000);
        const box = (await shown(page)).box;
        assert.equal(box.caption, t.IDS_UPDATE_FAILED_CAPTION);
        assert.equal(box.text, `${t.IDS_FAIL_ERASE}\n${codeLine(t, 7, 0)}`);
        assert.equal((await shown(page)).progressOpen, false);
        // The erase came before any progress window: leaving asked first all the same.
        assert.equal(await page.evaluate(() => self.guardAt['box open']), true, 'asked through the erase');
        await answer(page, true);
        await until(page, (hint) => document.getElementById('hint').textContent === hint, t.IDS_HINT_UPDATE_FAILED);
        assert.equal((await shown(page)).updateEnabled, false);
        assert.equal(await leavingAsks(page), false, 'the update is over');
        assert.equal(await page.evaluate(() => document.getElementById('language').disabled), false);
        await page.browserContext().close();
    }
});

test('a unit pulled while writing fails the block at once, and the page may be left again', async () => {
    const page = await openPage(run.browser, run.sites.demo, { setup: { granted: [0] } });
    await until(page, () => !document.getElementById('update').disabled);
    await page.evaluate((fault) => self.fakeHid.fault(0, fault), { kind: 'unplug', command: WRITE_BLOCK, nth: 40 });
    const leaving = () => leavingAsks(page);
    assert.equal(await leaving(), false);
    await page.click('#update');
    await boxOpen(page);
    await answer(page, true);
    await until(page, () => document.getElementById('progress').open);
    assert.equal(await leaving(), true, 'leaving asks first while writing');
    await until(page, () => document.getElementById('box').open, undefined, 30000);
    const box = (await shown(page)).box;
    assert.equal(box.id, 'update-failed');
    assert.equal(box.text, `${texts.en.IDS_FAIL_WRITE_BLOCK}\n${codeLine(texts.en, -2, 19)}`);
    await answer(page, true);
    await until(page, () => !document.getElementById('box').open);
    assert.equal(await leaving(), false);
    const requests = await page.evaluate(() => self.fakeHid.transcript());
    assert.equal(requests.filter((r) => r.bytes[1] === WRITE_BLOCK).length, 39, 'nothing after the pulled block');
    assert.equal((await shown(page)).updateEnabled, false);
    await page.browserContext().close();
});

// The faults the native tests cover, on the browser's way: each fails its block with the
// platform's error after the core's 10 s (WebHID has no failed read: the answer never
// comes), and the fake's worker, which holds the unit, goes on answering meanwhile.
// Either way the core is suspended: by JSPI, and by Asyncify as a browser without it.
test('a failed read, an answer that never comes and a write that never completes', async () => {
    const ETIMEDOUT = 110;
    const cases = [
        { kind: 'read-fails', code: -3, lastError: ETIMEDOUT },
        { kind: 'never-answers', code: -3, lastError: ETIMEDOUT },
        { kind: 'never-taken', code: -2, lastError: ETIMEDOUT },
    ].flatMap((c) => [{ ...c, site: 'demo' }, { ...c, site: 'olderBrowser' }]);
    await Promise.all(cases.map(async (c) => {
        const page = await openPage(run.browser, run.sites[c.site], { setup: { granted: [0] } });
        await until(page, () => !document.getElementById('update').disabled);
        await page.evaluate((kind) => self.fakeHid.fault(0, { kind, command: 0x1b, nth: 5, lastError: 5 }), c.kind);
        await page.click('#update');
        await boxOpen(page);
        await answer(page, true);
        const box = await boxOpen(page, 60000);
        assert.equal(box.id, 'update-failed', `${c.kind} ${c.site}`);
        assert.equal(box.text, `${texts.en.IDS_FAIL_WRITE_BLOCK}\n${codeLine(texts.en, c.code, c.lastError)}`, c.kind);
        await answer(page, true);
        const unit = await page.evaluate(() => self.fakeHid.state(0));
        assert.equal(unit.lockHeld, true, 'a failed update leaves the lock, as natively');
        await page.browserContext().close();
    }));
});

test('a browser without WebHID gets the message, not the window', async () => {
    for (const language of ['en', 'de']) {
        const page = await openPage(run.browser, run.sites.product, { withoutHid: true, languages: languages[language] });
        await ready(page);
        const view = await shown(page);
        assert.equal(view.unsupported, texts[language].IDS_WEB_NO_WEBHID);
        assert.equal(await page.evaluate(() => document.getElementById('window').hidden), true);
        assert.deepEqual(page.errors, []);
        await page.browserContext().close();
    }
});
