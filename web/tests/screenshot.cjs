// Takes the README's pictures of the page at the screens a classroom has:
// the Collatz demonstration for 27, as a student sees it after typing it.
//
//   node web/tests/screenshot.cjs BUILD-WEB-DIR docs/screenshots
//
// writes web-<name>-<width>x<height>.png for each screen into the folder.
'use strict';

const path = require('node:path');
const h = require('./harness.cjs');

const SCREENS = [
  { name: 'projector', width: 1920, height: 1080 },
  { name: 'chromebook', width: 1366, height: 768 },
  { name: 'tablet-landscape', width: 1180, height: 820, touch: true },
  { name: 'tablet-upright', width: 820, height: 1180, touch: true },
  { name: 'phone', width: 390, height: 844, touch: true },
];

h.screenshotScript('screenshot.cjs', async ({ browser, url, folder }) => {
  for (const screen of SCREENS) {
    const page = await browser.newPage();
    await page.setViewport({
      width: screen.width,
      height: screen.height,
      isMobile: !!screen.touch,
      hasTouch: !!screen.touch,
    });
    await page.goto(url, { waitUntil: 'load' });
    await page.waitForFunction(() => window.quorvantile && window.quorvantile.state === 'running', { timeout: 30000 });
    await h.waitForPrompt(page, 'Please choose:');
    await page.evaluate(() => window.quorvantile.term.focus());
    await h.typeLine(page, '2');
    await h.waitForPrompt(page, 'Please input a positive integer:');
    await h.typeLine(page, '27');
    await h.sleep(200);
    await h.waitForPrompt(page, 'Please input a positive integer:');
    // A steady cursor, so that the picture shows where the user types.
    await page.evaluate(() => {
      window.quorvantile.term.options.cursorBlink = false;
    });
    await h.sleep(300);
    const file = path.join(folder, `web-${screen.name}-${screen.width}x${screen.height}.png`);
    await page.screenshot({ path: file });
    console.log(file);
    await page.close();
  }
});
