// Screenshots of the demo site at each stage of an update, as a new user meets them, in
// English and German: build/screens/web-*.png. Run after make web: node tests/web/screens.mjs
import { mkdirSync } from 'node:fs';
import { join } from 'node:path';
import { openBrowser, serveSites, openPage, until, root } from './harness.mjs';

const folder = join(root, 'build/screens');
mkdirSync(folder, { recursive: true });
const browser = await openBrowser();
const sites = await serveSites();
for (const [language, languages] of [['en', ['en-US', 'en']], ['de', ['de-DE', 'de']]]) {
    const page = await openPage(browser, sites.demo, { setup: { granted: [] }, languages });
    const save = (stage) => page.screenshot({ path: join(folder, `web-${stage}-${language}.png`) });
    await until(page, () => document.getElementById('hint').dataset.outcome === 'no-unit'
        && document.getElementById('hint').textContent !== '');
    await save('1-no-unit');
    await page.click('#connect');
    await until(page, () => !document.getElementById('update').disabled);
    await save('2-ready');
    await page.click('#update');
    await until(page, () => document.getElementById('box').open);
    await save('3-confirm');
    await page.click('#box-accept');
    await until(page, () => document.getElementById('progress-bar').value >= 40, undefined, 60000);
    await save('4-progress');
    await until(page, () => document.getElementById('esc-version').textContent === '3.0', undefined, 120000);
    await save('5-updated');
    await page.browserContext().close();
}
await browser.close();
sites.close();
console.log(`saved in ${folder}`);
