// Takes the README's pictures of the picture pane in the page's own layout:
// the menu, and one entry in each demonstration, at a projector's, a
// Chromebook's, an upright tablet's and a phone's size, as
// docs/screenshots/picture-<demo>-<size>.png (picture-menu-<size>.png for the
// menu, picture-goldbach-10-<size>.png for Goldbach's smallest arcs). Each line it prints says where the picture lies in its pane.
//
//   node web/tests/picture-screenshots.cjs BUILD-WEB-DIR docs/screenshots
'use strict';

const path = require('node:path');
const h = require('./harness.cjs');

const SIZES = {
  projector: { width: 1920, height: 1080 },
  chromebook: { width: 1366, height: 768 },
  'tablet-upright': { width: 820, height: 1180, isMobile: true, hasTouch: true },
  phone: { width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 2 },
};
const ENTRIES = [
  ['1', 'goldbach', '10'],
  ['1', 'goldbach', '100'],
  ['2', 'collatz', '27'],
  ['3', 'nicomachus', '5'],
  ['4', 'four-square', '100'],
  ['5', 'sieve', '100'],
];

// The pane's box and how far the picture's parts reach beyond it.
function where(page) {
  return page.evaluate(() => {
    const pane = document.getElementById('picture').getBoundingClientRect();
    const parts = [...document.querySelectorAll('#picture svg, #picture figcaption, #picture button')].map((e) =>
      e.getBoundingClientRect(),
    );
    const beyond = Math.max(0, ...parts.map((b) => Math.max(b.bottom - pane.bottom, b.right - pane.right)));
    const { term } = window.quorvantile;
    return `pane ${Math.round(pane.width)}×${Math.round(pane.height)}, beyond it ${Math.round(beyond)} px; terminal ${term.options.fontSize} px ${term.cols}×${term.rows}`;
  });
}

h.screenshotScript('picture-screenshots.cjs', async ({ browser, url, folder }) => {
  for (const [size, viewport] of Object.entries(SIZES)) {
    const shot = async (page, name) => {
      await h.sleep(800); // the terminal refits to the pane's new size, and the picture settles
      const file = path.join(folder, `picture-${name}-${size}.png`);
      await page.screenshot({ path: file });
      console.log(`${file}: ${await where(page)}`);
    };
    for (const [k, [choice, demo, entry]] of ENTRIES.entries()) {
      const { page } = await h.openPage(browser, url, { viewport });
      await page.evaluate(() => {
        window.quorvantile.term.options.cursorBlink = false;
        window.quorvantile.term.focus();
      });
      await h.waitForPrompt(page, 'Please choose:');
      if (k === 0) await shot(page, 'menu');
      await h.typeLine(page, choice);
      await h.waitForPrompt(page, /(integer|end number):/);
      await h.typeLine(page, entry);
      await page.waitForFunction((d) => document.querySelector(`#picture figure[data-demo="${d}"]`), {}, demo);
      // A decomposition with four different squares.
      if (demo === 'four-square') {
        for (let i = 0; i < 3; i++) await page.click('.qv-picture-controls button:nth-child(2)');
      }
      await shot(page, demo === 'goldbach' && entry !== '100' ? `${demo}-${entry}` : demo);
      await page.close();
    }
  }
});
