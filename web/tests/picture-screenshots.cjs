// Takes the README's pictures of the picture pane in the page's own layout:
// one entry in each demonstration, at a projector's size (the pane beside
// the terminal) and a phone's (the pane below it), as
// docs/screenshots/picture-<demo>-<size>.png.
//
//   node web/tests/picture-screenshots.cjs BUILD-WEB-DIR docs/screenshots
'use strict';

const path = require('node:path');
const h = require('./harness.cjs');

const SIZES = {
  projector: { width: 1920, height: 1080 },
  phone: { width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 2 },
};
const ENTRIES = [
  ['1', 'goldbach', '100'],
  ['2', 'collatz', '27'],
  ['3', 'nicomachus', '5'],
  ['4', 'four-square', '100'],
  ['5', 'sieve', '100'],
];

h.screenshotScript('picture-screenshots.cjs', async ({ browser, url, folder }) => {
  for (const [size, viewport] of Object.entries(SIZES)) {
    for (const [choice, demo, entry] of ENTRIES) {
      const { page } = await h.openPage(browser, url, { viewport });
      await page.evaluate(() => {
        window.quorvantile.term.options.cursorBlink = false;
        window.quorvantile.term.focus();
      });
      await h.waitForPrompt(page, 'Please choose:');
      await h.typeLine(page, choice);
      await h.waitForPrompt(page, /(integer|end number):/);
      await h.typeLine(page, entry);
      await page.waitForFunction((d) => document.querySelector(`#picture figure[data-demo="${d}"]`), {}, demo);
      // A decomposition with four different squares.
      if (demo === 'four-square') {
        for (let i = 0; i < 3; i++) await page.click('.qv-picture-controls button:nth-child(2)');
      }
      // The terminal refits to the pane's new size, and the picture settles.
      await h.sleep(800);
      const file = path.join(folder, `picture-${demo}-${size}.png`);
      await page.screenshot({ path: file });
      console.log(file);
      await page.close();
    }
  }
});
