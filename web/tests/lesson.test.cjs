// Lesson links in headless Chromium. Each
// of the five links must give, without a key typed by the test, exactly the
// screen of a student typing its keys into the native program, and the
// picture of its number; a new # starts its demonstration; bad links type
// nothing, say so, and raise no page error. (Offline and new releases:
// browser_offline.test.cjs.)
//
// QUORVANTILE_WEB is the web build folder, QUORVANTILE_NATIVE the native
// program (web/tests/run-browser-tests.sh sets both).
'use strict';

const assert = require('node:assert/strict');
const path = require('node:path');
const { test } = require('node:test');
const h = require('./harness.cjs');
const { i18n } = require('../shell/i18n.js');
const { parse } = require('../shell/lesson_link.js');
const { DEMONSTRATIONS } = require('../pictures/demonstrations.js');

const WEB = process.env.QUORVANTILE_WEB || '';
const NATIVE = process.env.QUORVANTILE_NATIVE;
const SERVED = path.join(WEB, 'web');
// A demonstration's listing and picture for these numbers take well under a
// second; the rest is the margin of a machine shared with other work.
const SCREEN_TIMEOUT_MS = 30000;

const served = h.browserTests(SERVED, NATIVE);

// The links and the keys a student types for them.
const LINKS = [
  ['#goldbach=100', 'goldbach', ['1', '100']],
  ['#collatz=27', 'collatz', ['2', '27']],
  ['#nicomachus=5', 'nicomachus', ['3', '5']],
  ['#four-squares=100', 'four-square', ['4', '100']],
  ['#sieve=100', 'sieve', ['5', '100']],
];

function showsPicture(page, demo, number) {
  return page.waitForFunction(
    (d, n) => {
      const figure = document.querySelector('#picture figure');
      return figure && figure.dataset.demo === d && figure.dataset.number === n && figure.querySelector('svg');
    },
    { timeout: SCREEN_TIMEOUT_MS },
    demo,
    number,
  );
}

test('each lesson link shows its demonstration as typed, with its picture; a new # starts another', async () => {
  let page = null;
  for (const [hash, demo, keys] of LINKS) {
    const native = await h.nativeSession(NATIVE, keys);
    if (page) await page.close();
    const opened = await h.openPage(served.browser, served.url + hash);
    page = opened.page;
    await h.waitForScreen(page, native.text, SCREEN_TIMEOUT_MS);
    await showsPicture(page, demo, keys[1]);
    assert.deepEqual(opened.problems, [], hash);
    assert.equal(await page.$eval('#link', (button) => button.disabled), false, `${hash}: Link offered`);
  }
  // The sieve waits at its question: a new # starts the program again.
  const native = await h.nativeSession(NATIVE, ['2', '27']);
  await page.evaluate(() => {
    location.hash = '#collatz=27';
  });
  await h.waitForScreen(page, native.text, SCREEN_TIMEOUT_MS);
  await showsPicture(page, 'collatz', '27');
  // 888 leaves: its path is written, but the picture and the Link stay with 27.
  await page.evaluate(() => window.quorvantile.term.focus());
  await h.typeLine(page, '888');
  await h.waitForPrompt(page, 'PRESS ANY KEY TO RETURN TO THE MENU.', SCREEN_TIMEOUT_MS);
  await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 200))));
  await showsPicture(page, 'collatz', '27');
  await page.click('#link');
  await page.waitForFunction(() => document.getElementById('share-address').textContent !== '');
  assert.match(await page.$eval('#share-address', (address) => address.textContent), /#collatz=27$/);
  await page.close();
});

test('a bad link types nothing and says so; a good # then starts from the menu', async (t) => {
  const menu = await h.nativeSession(NATIVE, []);
  // Each with what the banner says of it.
  const bad = [
    ['#collatz=abc', 'unknown'],
    [`#collatz=${'9'.repeat(5000)}`, 'unknown'],
    ['#fermat=27', 'unknown'],
    ['#collatz=-27', 'unknown'],
    ['#collatz=2147483648', 'unknown'],
    ['#collatz=27"><img src=x onerror=window.ran=1>', 'unknown'],
    ['#goldbach=7', 'refused'],
    ['#sieve=0', 'refused'],
    ['#goldbach=0', 'refused'],
    ['#collatz=888', 'leaves'],
  ];
  let last = null;
  for (const [hash, why] of bad) {
    const { page, problems } = await served.freshPage(t, served.url + hash);
    await h.waitForScreen(page, menu.text, SCREEN_TIMEOUT_MS);
    // Long enough for keys to have been typed and echoed, had any been.
    await h.sleep(300);
    await h.waitForScreen(page, menu.text, 1);
    // Over the terminal, in view, in large words.
    const banner = await page.$eval('#lesson-banner', (element) => {
      const box = element.getBoundingClientRect();
      const pane = document.getElementById('terminal-pane').getBoundingClientRect();
      return {
        words: element.querySelector('p').textContent,
        inPane: !element.hidden && box.height > 0 && box.top >= pane.top && box.bottom <= pane.bottom,
        px: parseFloat(getComputedStyle(element).fontSize),
      };
    });
    // The link as the address has it (the browser's escapes in it).
    const address = await page.evaluate(() => location.hash);
    const link = parse(hash);
    const words = i18n.t(`lesson.bad.${why}`, {
      link: address.length > 40 ? `${address.slice(0, 40)}…` : address,
      takes: i18n.t(`lesson.takes.${link.takes}`),
      number: link.number,
    });
    assert.equal(banner.words, words, hash.slice(0, 30));
    assert.ok(banner.inPane && banner.px >= 16, `${hash.slice(0, 30)}: ${JSON.stringify(banner)}`);
    assert.equal(await page.evaluate(() => window.quorvantile.state), 'running');
    assert.equal(await page.evaluate(() => window.ran === undefined && !document.querySelector('img')), true);
    assert.deepEqual(problems, [], hash.slice(0, 30));
    last = page;
  }
  // At the menu, a good # types its keys without starting again.
  const native = await h.nativeSession(NATIVE, ['3', '5']);
  await last.evaluate(() => {
    location.hash = '#nicomachus=5';
  });
  await h.waitForScreen(last, native.text, SCREEN_TIMEOUT_MS);
  assert.equal(await last.$eval('#lesson-banner', (banner) => banner.hidden), true);
});

// The rule pictures/demonstrations.js holds for each demonstration's numbers against the
// program's own: the numbers its prompt answers with "Invalid" (or, for
// Nicomachus, whose cube is too large), and only those, are refused.
test("a link's number is refused exactly where the program refuses it", async () => {
  for (const { link: name, choice } of Object.values(DEMONSTRATIONS)) {
    for (const number of [0, 1, 2, 7, 100, 1290, 1291, 1000000, 1000001]) {
      const { text } = await h.nativeSession(NATIVE, [String(choice), String(number)]);
      const turn = text.slice(text.lastIndexOf(`:${number}\n`));
      const refused = /Invalid|too large/.test(turn);
      assert.equal(parse(`#${name}=${number}`).why === 'refused', refused, `#${name}=${number}`);
    }
  }
});
