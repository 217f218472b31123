// Takes the README's picture of the page: the menu as a new user sees it.
//
//   node web/tests/screenshot.cjs BUILD-WEB-DIR docs/screenshots/web.png
'use strict';

const path = require('node:path');
const h = require('./harness.cjs');

async function main() {
  const [webBuild, output] = process.argv.slice(2);
  if (!webBuild || !output) {
    console.error('usage: node web/tests/screenshot.cjs BUILD-WEB-DIR OUTPUT.png');
    process.exit(2);
  }
  const chromium = await h.launchBrowser();
  const server = await h.serve(path.join(webBuild, 'web'));
  try {
    const { page } = await h.openPage(chromium.browser, server.url);
    await page.waitForFunction(() => {
      const buffer = window.quorvantile.term.buffer.active;
      return buffer.getLine(buffer.baseY + buffer.cursorY).translateToString(true).endsWith('Please choose:');
    }, { timeout: 30000 });
    // A steady cursor, so that the picture shows where the user types.
    await page.evaluate(() => {
      window.quorvantile.term.options.cursorBlink = false;
    });
    await h.sleep(300);
    await page.screenshot({ path: output });
  } finally {
    await server.close();
    await chromium.close();
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
