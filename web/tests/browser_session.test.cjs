// The page's code tried in headless Chromium: copy and paste, Tab, pausing the
// output, the saved session, and what the page says when its program cannot
// load. The native program is the reference for every text.
//
// QUORVANTILE_WEB is the web build folder (with web/ and web-single/),
// QUORVANTILE_NATIVE the native program.
'use strict';

const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { test } = require('node:test');
const h = require('./harness.cjs');

const WEB = process.env.QUORVANTILE_WEB;
const NATIVE = process.env.QUORVANTILE_NATIVE;
const SERVED = path.join(WEB || '', 'web');
// Goldbach's listing of 10^8: 291,400 lines, far more than the scrollback.
const LONG_LISTING = '100000000';
const LISTING_TIMEOUT_MS = 120000;
// Pairs compared at the listing's end.
const LAST_PAIRS = 50;
// How long a paused page is watched for any change.
const PAUSE_WATCH_MS = 700;

const served = h.browserTests(SERVED, NATIVE, ({ browser, url }) =>
  browser
    .defaultBrowserContext()
    .overridePermissions(url.replace(/\/$/, ''), ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']),
);

const freshPage = (t, url, options) => served.freshPage(t, url, options);

const sessionText = (page) => page.evaluate(() => window.quorvantile.sessionText());
const clipboard = (page) => page.evaluate(() => navigator.clipboard.readText());
const setClipboard = (page, text) => page.evaluate((value) => navigator.clipboard.writeText(value), text);

async function pressWith(page, modifiers, key) {
  for (const modifier of modifiers) await page.keyboard.down(modifier);
  await page.keyboard.press(key);
  for (const modifier of modifiers.slice().reverse()) await page.keyboard.up(modifier);
}

test('copy keeps the tabs and the program; pastes, and Backspace over them, show what is sent; Tab leaves', async (t) => {
  const { page, problems } = await freshPage(t);
  await page.bringToFront();
  const inputs = ['5', '100', 'y', '888', 'n', ''];
  const session = await h.nativeSession(NATIVE, inputs);
  for (let i = 0; i < 3; i++) {
    await h.waitForScreen(page, session.atWaits[i]);
    await h.typeLine(page, inputs[i]);
  }
  await h.waitForScreen(page, session.atWaits[3]);

  // The question with its answer and the listing of the 25 primes below 100,
  // as the native program wrote them (the copy drops tabs that end a row).
  const question = '\tPrint all these prime number(Y/N):y';
  const from = session.text.indexOf(`${question}\n`);
  const expected = session.text
    .slice(from)
    .split('\n')
    .slice(0, 4)
    .map((line) => line.replace(/\t+$/, ''))
    .join('\n');
  assert.ok(expected.split('\t').length > 20, `the listing has no tabs to keep:\n${expected}`);
  const screen = await h.readScreen(page);
  const first = screen.rows.findIndex((row) => row.text.endsWith('(Y/N):y'));
  await page.evaluate((y) => window.quorvantile.term.selectLines(y, y + 3), first);

  await h.pressControl(page, 'KeyC');
  assert.equal(await clipboard(page), expected, 'the copied text');
  const after = await page.evaluate(() => ({
    state: window.quorvantile.state,
    selected: window.quorvantile.term.hasSelection(),
  }));
  assert.deepEqual(
    after,
    { state: 'running', selected: true },
    'Ctrl-C over a selection stopped the program or lost the selection',
  );

  // A pasted line that wraps, with wide characters and a tab, erased key by
  // key back to the prompt: the screen shows what is sent.
  const pasted = `${'x'.repeat(35)}${'中'.repeat(10)}\t7`;
  await setClipboard(page, pasted);
  await h.pressControl(page, 'KeyV');
  await h.waitForScreen(page, `${session.atWaits[3]}${pasted}`);
  for (let i = 0; i < [...pasted].length; i++) await page.keyboard.press('Backspace');
  await h.waitForScreen(page, session.atWaits[3]);
  await setClipboard(page, inputs[3]);
  await h.pressControl(page, 'KeyV');
  await page.keyboard.press('Enter');
  await h.waitForScreen(page, session.atWaits[4]);
  await setClipboard(page, `${inputs[4]}\n`);
  await pressWith(page, ['Control', 'Shift'], 'KeyV');
  await h.waitForScreen(page, session.atWaits[5]);

  // Tab moves the focus out of the terminal and types nothing.
  await page.keyboard.press('Tab');
  const inTerminal = await page.evaluate(() => window.quorvantile.term.element.contains(document.activeElement));
  assert.equal(inTerminal, false, 'Tab kept the focus in the terminal');
  await page.evaluate(() => window.quorvantile.term.focus());
  await page.keyboard.press('Enter');
  await h.waitForScreen(page, session.text);
  assert.equal(await sessionText(page), session.text);
  assert.deepEqual(problems, []);
});

test('Pause holds a long listing still, and after Resume the saved session is the native output', async (t) => {
  const { page, problems } = await freshPage(t);
  const inputs = ['1', LONG_LISTING, '888'];
  const session = await h.nativeSession(NATIVE, inputs);
  await h.waitForScreen(page, session.atWaits[0]);
  await h.typeLine(page, inputs[0]);
  await h.waitForScreen(page, session.atWaits[1]);
  const started = Date.now();
  // Paused with Ctrl-S, as in a terminal, then scrolled back to read. The
  // page lists at the program's speed, faster than keys can follow Enter,
  // so the pause comes first: the number still reaches the program, which
  // is held at its first output.
  await h.pressControl(page, 'KeyS');
  await h.typeLine(page, inputs[1]);
  await page.evaluate(() => window.quorvantile.term.scrollLines(-100));
  const snapshot = () =>
    page.evaluate(() => {
      const { term } = window.quorvantile;
      const buffer = term.buffer.active;
      return {
        state: window.quorvantile.state,
        paused: window.quorvantile.paused,
        saved: window.quorvantile.sessionText().length,
        top: buffer.viewportY,
        length: buffer.length,
        cursor: buffer.getLine(buffer.baseY + buffer.cursorY).translateToString(true),
      };
    });
  await h.sleep(PAUSE_WATCH_MS); // what was already on its way to the terminal is drawn
  const held = await snapshot();
  await h.sleep(PAUSE_WATCH_MS);
  assert.deepEqual(await snapshot(), held, 'the page changed while paused');
  assert.deepEqual([held.state, held.paused], ['running', true]);
  const savedWhilePaused = await sessionText(page);
  assert.ok(!savedWhilePaused.includes('There are'), 'the listing had ended before the pause');

  await page.evaluate(() => window.quorvantile.setPaused(false)); // as the page's Resume button does
  await h.waitForScreen(page, session.atWaits[2], LISTING_TIMEOUT_MS);
  const listingMs = Date.now() - started;
  // The lines that scrolled by unseen may be cut on their way, never the
  // ones the terminal keeps: it ends with the native listing's last pairs.
  const pairs = (lines) => lines.map((line) => line.trim()).filter((line) => line.startsWith(`${LONG_LISTING}=`));
  const shownPairs = pairs((await h.readScreen(page)).rows.map((row) => row.text)).slice(-LAST_PAIRS);
  assert.equal(shownPairs.length, LAST_PAIRS);
  assert.deepEqual(shownPairs, pairs(session.atWaits[2].split('\n')).slice(-LAST_PAIRS));
  await h.typeLine(page, inputs[2]);
  await h.waitForScreen(page, session.text);
  const saved = await sessionText(page);
  assert.ok(
    saved === session.text,
    `the saved session (${saved.length} characters) differs from the native ` +
      `output (${session.text.length}) from character ${[...saved].findIndex((ch, i) => ch !== session.text[i])}`,
  );
  t.diagnostic(
    `the listing of ${LONG_LISTING} (${session.text.split('\n').length} lines, ` +
      `${saved.length} characters) with a pause of ${2 * PAUSE_WATCH_MS} ms took ${listingMs} ms; ` +
      `JS heap after it: ${await page.evaluate(() => Math.round(performance.memory.usedJSHeapSize / 1e6))} MB`,
  );
  assert.deepEqual(problems, []);
});

test('every end of a run says why (load failures, a failing program, Ctrl-C); Start again only where it helps', async (t) => {
  const wasmSize = fs.statSync(path.join(SERVED, 'quorvantile.wasm')).size;
  // The page's folder served without one of its files.
  const servedWithout = async (missing) => {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvantile-missing-'));
    t.after(() => fs.rmSync(dir, { recursive: true, force: true }));
    for (const file of fs.readdirSync(SERVED)) {
      if (file !== missing) fs.copyFileSync(path.join(SERVED, file), path.join(dir, file));
    }
    const copy = await h.serve(dir);
    t.after(() => copy.close());
    return copy.url;
  };

  const cases = [
    {
      url: await servedWithout('quorvantile.wasm'),
      reason: 'load-wasm-missing',
      says: /quorvantile\.wasm/,
      canRestart: false,
    },
    {
      url: await servedWithout('quorvantile.js'),
      reason: 'load-script-missing',
      says: /quorvantile\.js\b/,
      canRestart: false,
    },
    {
      url: `file://${path.join(SERVED, 'index.html')}`,
      reason: 'load-from-disk',
      says: /quorvantile\.html/,
      canRestart: false,
    },
  ];
  for (const c of cases) {
    const { page } = await freshPage(t, c.url, { waitForRun: false });
    await page.waitForFunction(() => window.quorvantile && window.quorvantile.state === 'failed', { timeout: 15000 });
    const shown = await page.evaluate(() => ({
      last: window.stateEvents[window.stateEvents.length - 1],
      status: document.getElementById('status').textContent,
      restart: !document.getElementById('restart').hidden,
    }));
    assert.equal(shown.last.reason, c.reason, c.url);
    assert.equal(shown.last.canRestart, c.canRestart, c.url);
    assert.equal(shown.restart, c.canRestart, c.url);
    assert.match(shown.status, c.says, c.url);
  }

  // Served whole: progress up to the WebAssembly's full size, then the run;
  // a demonstration's number reaches the page as an event; a program that
  // fails, and then Ctrl-C, end a run, each with its reason.
  const { page } = await freshPage(t);
  const loading = await page.evaluate(() => window.stateEvents.filter((e) => e.progress).map((e) => e.progress));
  assert.ok(loading.length > 0, 'no progress was reported');
  assert.deepEqual(loading[loading.length - 1], { loaded: wasmSize, total: wasmSize });
  const accepted = await page.evaluate(() => {
    const seen = [];
    window.quorvantile.addEventListener('accepted', (event) => seen.push(event.detail));
    window.quorvantile.module.quorvantileHost.accepted('collatz', 27);
    return seen.map(({ demo, number, module }) => ({ demo, number, same: module === window.quorvantile.module }));
  });
  assert.deepEqual(accepted, [{ demo: 'collatz', number: 27, same: true }]);
  const lastEnd = async () => {
    await page.waitForFunction(() => window.quorvantile.state === 'stopped');
    const last = await page.evaluate(() => window.stateEvents[window.stateEvents.length - 1]);
    return [last.state, last.reason, last.canRestart];
  };
  await page.evaluate(() => {
    window.quorvantile.module.quorvantileHost.write = () => {
      throw new Error('the output broke');
    };
    window.quorvantile.term.focus();
  });
  await h.typeLine(page, '2');
  assert.deepEqual(await lastEnd(), ['stopped', 'aborted', true]);
  await page.click('#restart');
  await page.waitForFunction(() => window.quorvantile.state === 'running');
  await page.evaluate(() => window.quorvantile.term.focus());
  await h.pressControl(page, 'KeyC');
  assert.deepEqual(await lastEnd(), ['stopped', 'stopped-by-user', true]);
});
