// Opens a release's page as a teacher would, in headless Chromium: the
// single file from disk, and the web zip's folder (unpacked) served over
// http. Each must show the menu and its prompt with no page error.
//   node web/tests/release-check.cjs SINGLE-FILE UNPACKED-WEB-FOLDER
'use strict';

const { pathToFileURL } = require('node:url');
const h = require('./harness.cjs');

const MENU_TIMEOUT_MS = 60000;

async function showsMenu(browser, url) {
  const { page, problems } = await h.openPage(browser, url);
  await h.waitForPrompt(page, 'Please choose:', MENU_TIMEOUT_MS);
  const screen = await h.readScreen(page);
  if (!screen.rows.some((row) => row.text.includes('8-Exit'))) throw new Error(`${url}: no menu on the screen`);
  if (problems.length) throw new Error(`${url}:\n${problems.join('\n')}`);
  await page.close();
  console.log(`${url}: the menu and its prompt, no page error`);
}

const [single, folder] = process.argv.slice(2);
if (!single || !folder) {
  console.error('usage: node web/tests/release-check.cjs SINGLE-FILE UNPACKED-WEB-FOLDER');
  process.exit(2);
}
(async () => {
  const chromium = await h.launchBrowser();
  const server = await h.serve(folder);
  try {
    await showsMenu(chromium.browser, pathToFileURL(single).href);
    await showsMenu(chromium.browser, server.url);
  } finally {
    await server.close();
    await chromium.close();
  }
})().catch((error) => {
  console.error(error.message || error);
  process.exit(1);
});
