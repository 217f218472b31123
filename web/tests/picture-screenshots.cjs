// Takes the README's pictures of the picture pane: one entry in each
// demonstration, at a projector's size (the pane beside the terminal) and a
// phone's (the pane below it), as docs/screenshots/picture-<demo>-<size>.png.
//
//   node web/tests/picture-screenshots.cjs BUILD-WEB-DIR docs/screenshots
'use strict';

const path = require('node:path');
const h = require('./harness.cjs');

const SIZES = {
  projector: { width: 1920, height: 1080 },
  phone: { width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 2 },
};
// Where the pane goes at each size, for a page whose own layout does not
// place it yet: beside the terminal on wide screens, below it on narrow ones.
const LAYOUT = {
  projector: 'main { width: auto; margin: 1em; display: grid; grid-template-columns: max-content 1fr; gap: 0 1.5em; }' +
    'main > * { grid-column: 1; } #picture { grid-column: 2; grid-row: 1 / span 4; }',
  phone: 'main { width: auto; margin: 0.5em; } #terminal { overflow-x: auto; }',
};
const ENTRIES = [
  ['1', 'goldbach', '100'],
  ['2', 'collatz', '27'],
  ['3', 'nicomachus', '8'],
  ['4', 'four-square', '100'],
  ['5', 'sieve', '100'],
];

async function main() {
  const [webBuild, folder] = process.argv.slice(2);
  if (!webBuild || !folder) {
    console.error('usage: node web/tests/picture-screenshots.cjs BUILD-WEB-DIR OUTPUT-FOLDER');
    process.exit(2);
  }
  const chromium = await h.launchBrowser();
  const server = await h.serve(path.join(webBuild, 'web'));
  try {
    for (const [size, viewport] of Object.entries(SIZES)) {
      for (const [choice, demo, entry] of ENTRIES) {
        const { page } = await h.openPage(chromium.browser, server.url);
        await page.setViewport(viewport);
        await page.addStyleTag({ content: LAYOUT[size] });
        await page.evaluate(() => {
          window.quorvantile.term.options.cursorBlink = false;
        });
        await h.sleep(500);
        await h.typeLine(page, choice);
        await h.sleep(500);
        await h.typeLine(page, entry);
        await page.waitForFunction((d) => document.querySelector(`#picture figure[data-demo="${d}"]`), {}, demo);
        // A decomposition with four different squares.
        if (demo === 'four-square') {
          for (let i = 0; i < 3; i++) await page.click('.qv-picture-controls button:nth-child(2)');
        }
        await h.sleep(800);
        // On a phone the picture is below the terminal: scrolled into view.
        if (size === 'phone') await page.evaluate(() => document.getElementById('picture').scrollIntoView());
        await h.sleep(200);
        await page.screenshot({ path: path.join(folder, `picture-${demo}-${size}.png`) });
        await page.close();
      }
    }
  } finally {
    await server.close();
    await chromium.close();
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
