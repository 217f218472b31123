// Lesson links, the manifest and the offline page in headless Chromium. Each
// of the five links must give, without a key typed by the test, exactly the
// screen of a student typing its keys into the native program, and the
// picture of its number; a new # starts its demonstration; bad links type
// nothing, say so, and raise no page error; after one visit the served page
// starts again with its server gone, and a new release is taken whole, never
// mixed with the kept one; the single file links no manifest.
//
// QUORVANTILE_WEB is the web build folder, QUORVANTILE_NATIVE the native
// program (web/tests/run-browser-tests.sh sets both).
'use strict';

const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const { test } = require('node:test');
const h = require('./harness.cjs');
const { i18n } = require('../shell/i18n.js');
const { parse } = require('../shell/lesson_link.js');
const { DEMONSTRATIONS } = require('../pictures/demonstrations.js');

const WEB = process.env.QUORVANTILE_WEB || '';
const NATIVE = process.env.QUORVANTILE_NATIVE;
const SERVED = path.join(WEB, 'web');
const SINGLE = path.join(WEB, 'web-single', 'quorvantile.html');
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

// `promise`, or an error naming `what` once `ms` have passed without it.
function bounded(promise, ms, what) {
  let timer;
  const late = new Promise((resolve, reject) => {
    timer = setTimeout(() => reject(new Error(`${what} did not answer within ${ms} ms`)), ms);
  });
  return Promise.race([promise, late]).finally(() => clearTimeout(timer));
}

// The served folder as the next release: another cache name, and a mark in
// its page and in one of its scripts.
function nextRelease() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvantile-next-'));
  fs.cpSync(SERVED, folder, { recursive: true });
  const edit = (file, change) =>
    fs.writeFileSync(path.join(folder, file), change(fs.readFileSync(path.join(folder, file), 'utf8')));
  edit('service-worker.js', (text) => text.replace(/const CACHE = '([^']+)'/, "const CACHE = '$1-next'"));
  edit('index.html', (text) => text.replace('<head>', '<head>\n<meta name="release" content="next">'));
  edit('quorvantile-page.js', (text) => `window.releaseScript = 'next';\n${text}`);
  return folder;
}

// What `page` is: the release of its page and of its script, the caches
// kept, and whether a service worker answers it.
function shows(page) {
  return bounded(
    page.evaluate(async () => ({
      page: (document.querySelector('meta[name="release"]') || { content: 'first' }).content,
      script: window.releaseScript || 'first',
      caches: await caches.keys(),
      kept: !!navigator.serviceWorker.controller,
    })),
    SCREEN_TIMEOUT_MS,
    'the page',
  );
}

// Opens `url` afresh (or, with no url, loads the page again, as its reload
// button does), waits for the program's menu and tells what the page is.
async function visit(page, url, menuText) {
  if (url) {
    await page.goto('about:blank');
    await page.goto(url, { waitUntil: 'load' });
  } else {
    await page.reload({ waitUntil: 'load' });
  }
  // Bounded as a whole: a read of a page that goes away may never answer.
  await bounded(h.waitForScreen(page, menuText, SCREEN_TIMEOUT_MS), 2 * SCREEN_TIMEOUT_MS, 'the menu');
  return shows(page);
}

test('the served page links a manifest and starts offline after one visit', async (t) => {
  let server = await h.serve(SERVED);
  const port = Number(new URL(server.url).port);
  const next = nextRelease();
  t.after(async () => {
    await server.close();
    fs.rmSync(next, { recursive: true, force: true });
  });
  const menu = await h.nativeSession(NATIVE, []);
  const { page, problems, requests } = await served.freshPage(t, server.url);
  const manifest = await page.evaluate(async () => {
    const link = document.querySelector('link[rel="manifest"]');
    return link && (await fetch(link.href)).json();
  });
  assert.equal(manifest.name, 'Quorvantile');
  assert.ok(
    manifest.icons.some((icon) => icon.sizes === '512x512'),
    'an icon of 512 px',
  );
  await bounded(
    page.evaluate(() => navigator.serviceWorker.ready.then(() => true)),
    SCREEN_TIMEOUT_MS,
    'the service worker',
  );
  await h.waitForScreen(page, menu.text, SCREEN_TIMEOUT_MS);

  // The network gone: the page and a lesson link still start.
  await server.close();
  const native = await h.nativeSession(NATIVE, ['2', '27']);
  const cache = /const CACHE = '([^']+)'/.exec(fs.readFileSync(path.join(SERVED, 'service-worker.js'), 'utf8'))[1];
  assert.deepEqual(await visit(page, `${server.url}#collatz=27`, native.text), {
    page: 'first',
    script: 'first',
    caches: [cache],
    kept: true,
  });

  assert.deepEqual(problems, []);

  await t.test('and takes a new release whole', async () => {
    // The next release on the server: this visit is still wholly the kept
    // one while the next is fetched.
    server = await h.serve(next, port);
    const meanwhile = await visit(page, server.url, menu.text);
    delete meanwhile.caches; // the next one's may be filling already
    assert.deepEqual(meanwhile, { page: 'first', script: 'first', kept: true });
    await page.waitForFunction(async () => !!(await navigator.serviceWorker.getRegistration()).waiting, {
      timeout: SCREEN_TIMEOUT_MS,
    });
    await server.close();
    // With the network gone again, another tab opened now is still wholly
    // the first, as the one open is.
    const other = await h.openPage(served.browser, server.url);
    await bounded(h.waitForScreen(other.page, menu.text, SCREEN_TIMEOUT_MS), 2 * SCREEN_TIMEOUT_MS, 'the menu');
    const both = [cache, `${cache}-next`];
    assert.deepEqual(await shows(other.page), { page: 'first', script: 'first', caches: both, kept: true });
    assert.deepEqual(other.problems, []);
    await other.page.close();
    // The visit after, a reload of the only tab, is wholly the next, from
    // its kept files, loaded once; then the next one has taken over and the
    // first one's files are gone.
    const asked = requests.length;
    const after = await visit(page, null, menu.text);
    assert.deepEqual(
      requests.slice(asked).filter((url) => url === server.url),
      [server.url],
      'the page loaded once',
    );
    await page.waitForFunction(
      async () => !(await navigator.serviceWorker.getRegistration()).waiting && (await caches.keys()).length === 1,
      { timeout: SCREEN_TIMEOUT_MS },
    );
    after.caches = (await shows(page)).caches;
    assert.deepEqual(after, { page: 'next', script: 'next', caches: [`${cache}-next`], kept: true });
    assert.deepEqual(problems, []);
  });

  const single = await served.freshPage(t, pathToFileURL(SINGLE).href);
  await h.waitForScreen(single.page, menu.text, SCREEN_TIMEOUT_MS);
  assert.equal(await single.page.evaluate(() => document.querySelector('link[rel="manifest"]')), null);
  assert.deepEqual(single.problems, []);
});
