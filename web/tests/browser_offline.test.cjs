// The served page kept for offline use, and its new releases, in headless
// Chromium. It links a manifest and, after one visit, starts with its server
// gone, a lesson link too. Then a new release is published again and again,
// and the page reloaded, navigated to or reloaded offline in turn: each time
// it must end on the new release, its menu answering keys, within
// HANDOVER_MS, with no load of the program failing and no page of two
// releases. A tab left open keeps its release and says that a new one is
// ready; its control starts it, saving the session first once anything was
// typed. The single file links no manifest and keeps nothing.
//
// QUORVANTILE_WEB is the web build folder, QUORVANTILE_NATIVE the native
// program (web/tests/run-browser-tests.sh sets both).
'use strict';

const assert = require('node:assert/strict');
const childProcess = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const { test } = require('node:test');
const h = require('./harness.cjs');
const { i18n } = require('../shell/i18n.js');

const WEB = process.env.QUORVANTILE_WEB || '';
const NATIVE = process.env.QUORVANTILE_NATIVE;
const SERVED = path.join(WEB, 'web');
const SINGLE = path.join(WEB, 'web-single', 'quorvantile.html');
const PAGE_SOURCE = path.join(__dirname, '..');
// Twenty hand-overs of each kind: a fault of one hand-over in fifty shows
// in them seven times out of ten, and the test takes some five minutes.
const HANDOVERS = 60;
const KINDS = ['reload', 'navigate', 'offline'];
// From reloading (or navigating) to the new release's menu: a page loaded
// twice from the browser's own cache, on a machine shared with other work.
const HANDOVER_MS = 5000;
const SCREEN_TIMEOUT_MS = 30000;

const served = h.browserTests(SERVED, NATIVE);

// A copy of the built page as release `name`: marked so in its page and in
// one of its scripts, its worker written anew by the build's own script.
function makeRelease(folder, name) {
  fs.cpSync(SERVED, folder, { recursive: true });
  const edit = (file, change) =>
    fs.writeFileSync(path.join(folder, file), change(fs.readFileSync(path.join(folder, file), 'utf8')));
  edit('index.html', (text) => text.replace('<head>', `<head>\n<meta name="release" content="${name}">`));
  edit('quorvantile-page.js', (text) => `window.releaseScript = '${name}';\n${text}`);
  const files = fs.readdirSync(folder).filter((file) => file !== 'service-worker.js');
  const script = path.join(PAGE_SOURCE, 'tools', 'bundle.js');
  childProcess.execFileSync('node', [script, 'worker', folder, ...files]);
}

// The releases `names`, served one at a time from one address: publish(name)
// puts one on the server at once, closeServer() and openServer() take the
// network away and give it back.
async function releaseServer(t, names) {
  const root = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvantile-releases-'));
  for (const name of names) makeRelease(path.join(root, name), name);
  const current = path.join(root, 'current');
  const publish = (name) => {
    const link = path.join(root, 'link');
    fs.symlinkSync(path.join(root, name), link);
    fs.renameSync(link, current);
  };
  publish(names[0]);
  let server = await h.serve(current);
  const { url } = server;
  t.after(() => server.close().then(() => fs.rmSync(root, { recursive: true, force: true })));
  const openServer = async () => {
    server = await h.serve(current, Number(new URL(url).port));
  };
  return { url, publish, closeServer: () => server.close(), openServer };
}

// What the page in `page` is now, or null while it loads: its release (of
// its page and of its script), its program's state, whether the menu waits
// for a key and whether the page offers a new release.
function now(page) {
  const look = page.evaluate(() => {
    if (!window.quorvantile || !document.getElementById('update')) return null;
    const { term, state } = window.quorvantile;
    const buffer = term.buffer.active;
    const row = buffer.getLine(buffer.baseY + buffer.cursorY).translateToString(true);
    return {
      release: (document.querySelector('meta[name="release"]') || {}).content,
      script: window.releaseScript,
      atMenu: state === 'running' && row.endsWith('Please choose:'),
      offers: !document.getElementById('update').hidden,
      kept: !!navigator.serviceWorker.controller,
    };
  });
  // A page that goes away while it is read may never answer.
  return Promise.race([look.catch(() => null), h.sleep(1000).then(() => null)]);
}

// Polls now(page) until `wanted` holds of it; the last look on time out.
async function until(page, wanted, ms) {
  const deadline = Date.now() + ms;
  for (;;) {
    const look = await now(page);
    if (look && wanted(look)) return look;
    if (Date.now() > deadline) return look;
    await h.sleep(25);
  }
}

// A page that records the release each of its loads shows, its page and
// script, and every load of the program that failed.
async function watchedPage(url) {
  const opened = await h.openPage(served.browser, url);
  const { page } = opened;
  opened.loads = [];
  await page.exposeFunction('reportLoad', (load) => opened.loads.push(load));
  await page.evaluateOnNewDocument(() => {
    // The run starts after the document is parsed: its states are heard from
    // the first.
    document.addEventListener('DOMContentLoaded', () => {
      const release = (document.querySelector('meta[name="release"]') || {}).content;
      window.reportLoad({ release, script: window.releaseScript });
      if (!window.quorvantile) return; // another document (about:blank, the manifest)
      window.quorvantile.addEventListener('state', (event) => {
        if (event.detail.state === 'failed') window.reportLoad({ failed: event.detail.reason });
      });
    });
  });
  return opened;
}

// Publishes `to` and hands the page over to it by `kind`; the time from
// reloading (or navigating) to the new release's menu.
async function handOver(releases, opened, kind, from, to, typed) {
  const { page } = opened;
  releases.publish(to);
  if (kind === 'offline') {
    // Found while the page is open and typed into: the new release waits,
    // offered, and the page stays as it is.
    await page.evaluate(() => navigator.serviceWorker.getRegistration().then((r) => r.update()));
    const offered = await until(page, (look) => look.offers, SCREEN_TIMEOUT_MS);
    assert.deepEqual(
      offered && [offered.release, offered.offers],
      [from, true],
      `${kind} ${to}: the open page offers the new release`,
    );
    await h.waitForScreen(page, typed.text, 1);
    await releases.closeServer();
  }
  const started = Date.now();
  const going = kind === 'navigate' ? page.goto(releases.url) : page.reload();
  // The page may load once more of its own before the first load has ended.
  await going.catch(() => {});
  const look = await until(page, (seen) => seen.release === to && seen.atMenu, SCREEN_TIMEOUT_MS);
  const took = Date.now() - started;
  if (kind === 'offline') await releases.openServer();
  const workers = await page
    .evaluate(() => navigator.serviceWorker.getRegistration().then((r) => [r.installing, r.waiting, r.active]))
    .then(
      (all) => all.map((worker) => worker && worker.state),
      () => 'unreadable',
    );
  assert.deepEqual(
    look && [look.release, look.script, look.atMenu, look.kept],
    [to, to, true, true],
    `${kind} ${to}: the page ends on the new release (workers ${workers}, loads ${JSON.stringify(opened.loads.slice(-4))})`,
  );
  return took;
}

test('the served page keeps itself offline and takes every new release whole', async (t) => {
  const releases = await releaseServer(t, ['a', 'b']);
  const menu = await h.nativeSession(NATIVE, []);
  const typed = await h.nativeSession(NATIVE, ['2']);
  const opened = await watchedPage(releases.url);
  const { page, problems } = opened;
  t.after(() => page.close());
  const manifest = await page.evaluate(async () => {
    const link = document.querySelector('link[rel="manifest"]');
    return link && (await fetch(link.href)).json();
  });
  assert.equal(manifest.name, 'Quorvantile');
  assert.ok(
    manifest.icons.some((icon) => icon.sizes === '512x512'),
    'an icon of 512 px',
  );
  await page.evaluate(() => navigator.serviceWorker.ready);
  await h.waitForScreen(page, menu.text, SCREEN_TIMEOUT_MS);

  // The network gone: the page and a lesson link still start.
  await releases.closeServer();
  const lesson = await h.nativeSession(NATIVE, ['2', '27']);
  await page.goto('about:blank');
  await page.goto(`${releases.url}#collatz=27`);
  await h.waitForScreen(page, lesson.text, SCREEN_TIMEOUT_MS);
  assert.deepEqual((await now(page)).release, 'a');
  await releases.openServer();

  // Each hand-over leaves the menu answered, '2' typed: the program waits
  // for a number.
  await page.goto(releases.url);
  await h.typeLine(page, '2');
  const times = [];
  for (let i = 1; i <= HANDOVERS; i++) {
    const [from, to] = i % 2 === 1 ? ['a', 'b'] : ['b', 'a'];
    const kind = KINDS[i % KINDS.length];
    times.push([await handOver(releases, opened, kind, from, to, typed), kind]);
    await h.waitForScreen(page, menu.text, SCREEN_TIMEOUT_MS);
    await h.typeLine(page, '2');
    await h.waitForScreen(page, typed.text, SCREEN_TIMEOUT_MS);
  }
  for (const kind of KINDS) {
    const ms = times.filter((time) => time[1] === kind).map((time) => time[0]);
    ms.sort((x, y) => x - y);
    t.diagnostic(`${kind}: median ${ms[ms.length >> 1]} ms, slowest ${ms[ms.length - 1]} ms`);
  }
  const slow = times.filter(([ms]) => ms > HANDOVER_MS);
  assert.deepEqual(slow, [], `hand-overs slower than ${HANDOVER_MS} ms`);
  const mixed = opened.loads.filter((load) => load.failed || load.release !== load.script);
  assert.deepEqual(mixed, [], 'loads of two releases, or failed');
  assert.deepEqual(problems, []);

  await t.test('a tab left open keeps its release, offers the new one, and saves its session first', async () => {
    const [from, to] = (await now(page)).release === 'a' ? ['a', 'b'] : ['b', 'a'];
    releases.publish(to);
    const other = await h.openPage(served.browser, releases.url);
    const both = await Promise.all([
      until(page, (look) => look.offers, SCREEN_TIMEOUT_MS),
      until(other.page, (look) => look.offers && look.atMenu, SCREEN_TIMEOUT_MS),
    ]);
    const said = (look) => look && `${look.release} ${look.offers ? 'offers' : 'says nothing'}`;
    assert.deepEqual(both.map(said), [`${from} offers`, `${from} offers`]);
    await other.page.close();
    assert.equal(await page.$eval('#update-start', (button) => button.textContent), i18n.t('update.saveStart'));
    const downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvantile-saved-'));
    t.after(() => fs.rmSync(downloads, { recursive: true, force: true }));
    const cdp = await page.createCDPSession();
    await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
    await page.click('#update-start');
    const look = await until(page, (seen) => seen.release === to && seen.atMenu, SCREEN_TIMEOUT_MS);
    assert.deepEqual(look && [look.release, look.offers], [to, false]);
    await h.waitForScreen(page, menu.text, SCREEN_TIMEOUT_MS);
    const saved = fs.readdirSync(downloads).filter((name) => name.endsWith('.txt'));
    assert.equal(saved.length, 1, 'the session saved');
    assert.equal(fs.readFileSync(path.join(downloads, saved[0]), 'utf8'), typed.text);
    assert.deepEqual(other.problems, []);
  });

  const single = await served.freshPage(t, pathToFileURL(SINGLE).href);
  await h.waitForScreen(single.page, menu.text, SCREEN_TIMEOUT_MS);
  assert.deepEqual(
    await single.page.evaluate(async () => [
      document.querySelector('link[rel="manifest"]'),
      'serviceWorker' in navigator ? (await navigator.serviceWorker.getRegistrations().catch(() => [])).length : 0,
    ]),
    [null, 0],
  );
  assert.deepEqual(single.problems, []);
});
