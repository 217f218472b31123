// The page at the screens a classroom has, its controls, and its printout,
// in headless Chromium. Browser zoom is emulated as the browser does it: the
// window's CSS width and height divided by the zoom, each CSS pixel drawn
// with zoom × zoom device pixels (deviceScaleFactor).
//
// QUORVANTILE_WEB is the web build folder, QUORVANTILE_NATIVE the native
// program.
'use strict';

const assert = require('node:assert/strict');
const childProcess = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { test } = require('node:test');
const h = require('./harness.cjs');

const WEB = process.env.QUORVANTILE_WEB;
const NATIVE = process.env.QUORVANTILE_NATIVE;
const SERVED = path.join(WEB || '', 'web');
// The listings are laid out for 80 columns; a phone held upright has fewer,
// down to the least that the menu and the farewell picture take unwrapped.
const MIN_COLS = 80;
// The menu box's rows end in this column.
const BOX_END = 64;

const served = h.browserTests(SERVED, NATIVE);

// A page at a screen's size, the program at its menu prompt.
async function openAt(t, { width, height, zoom = 1, touch = false }) {
  const page = await served.browser.newPage();
  t.after(() => (page.isClosed() ? undefined : page.close()));
  const problems = [];
  page.on('pageerror', (error) => problems.push(error.message));
  // The page's own defaults: nothing remembered from an earlier test (the
  // text size, Pictures off, the language), kept across this page's reloads.
  await page.evaluateOnNewDocument(() => {
    try {
      if (sessionStorage.getItem('quorvantile.test.fresh')) return;
      localStorage.clear();
      sessionStorage.setItem('quorvantile.test.fresh', '1');
    } catch {
      // a document without storage (the blank one a new page starts with)
    }
  });
  await page.setViewport({
    width: Math.round(width / zoom),
    height: Math.round(height / zoom),
    deviceScaleFactor: zoom,
    isMobile: touch,
    hasTouch: touch,
  });
  await page.goto(served.url, { waitUntil: 'load' });
  await page.waitForFunction(() => window.quorvantile && window.quorvantile.state === 'running', { timeout: 30000 });
  await h.waitForPrompt(page, 'Please choose:');
  return { page, problems };
}

// Waits until the terminal has been fitted to its box after a change.
function settled(page) {
  return page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
}

// What the layout gives: sizes, overflow, where the cursor's cell is, and the
// right edge of each framed row's closing '$' as drawn.
function measure(page) {
  return page.evaluate(() => {
    const { term } = window.quorvantile;
    const root = document.documentElement;
    const pane = document.getElementById('terminal-pane');
    const screen = term.element.querySelector('.xterm-screen').getBoundingClientRect();
    const buffer = term.buffer.active;
    const cellHeight = screen.height / term.rows;
    const cellWidth = screen.width / term.cols;
    const cursor = {
      top: screen.top + (buffer.baseY + buffer.cursorY - buffer.viewportY) * cellHeight,
      left: screen.left + buffer.cursorX * cellWidth,
    };
    cursor.bottom = cursor.top + cellHeight;
    cursor.right = cursor.left + cellWidth;
    const paneBox = pane.getBoundingClientRect();
    const visible = {
      top: Math.max(0, paneBox.top + pane.clientTop),
      left: Math.max(0, paneBox.left + pane.clientLeft),
      bottom: Math.min(innerHeight, paneBox.top + pane.clientTop + pane.clientHeight),
      right: Math.min(innerWidth, paneBox.left + pane.clientLeft + pane.clientWidth),
    };
    const frameEnds = [];
    for (const row of term.element.querySelectorAll('.xterm-rows > div')) {
      if (!/^\s*\$/.test(row.textContent)) continue;
      const texts = [];
      const walker = document.createTreeWalker(row, NodeFilter.SHOW_TEXT);
      while (walker.nextNode()) texts.push(walker.currentNode);
      const last = texts.reverse().find((node) => node.data.includes('$'));
      const range = document.createRange();
      const at = last.data.lastIndexOf('$');
      range.setStart(last, at);
      range.setEnd(last, at + 1);
      frameEnds.push(range.getBoundingClientRect().right - screen.left);
    }
    // Where the columns do not fit, the box scrolls to its last column.
    const scrolledFrom = pane.scrollLeft;
    pane.scrollLeft = pane.scrollWidth;
    const lastColumnReachable =
      term.element.querySelector('.xterm-screen').getBoundingClientRect().right <=
      Math.min(innerWidth, pane.getBoundingClientRect().left + pane.clientLeft + pane.clientWidth) + 0.5;
    pane.scrollLeft = scrolledFrom;
    const picture = document.getElementById('picture').getBoundingClientRect();
    // Every shown control lies wholly in view, without scrolling the bar.
    const bar = document.getElementById('controls');
    const barBox = bar.getBoundingClientRect();
    const inView = {
      left: Math.max(0, barBox.left + bar.clientLeft),
      top: Math.max(0, barBox.top + bar.clientTop),
      right: Math.min(innerWidth, barBox.left + bar.clientLeft + bar.clientWidth),
      bottom: Math.min(innerHeight, barBox.top + bar.clientTop + bar.clientHeight),
    };
    const controlsOutOfView = [...bar.querySelectorAll('button')]
      .filter((button) => {
        const box = button.getBoundingClientRect();
        if (box.width === 0) return false; // not shown
        return (
          box.left < inView.left - 0.5 ||
          box.right > inView.right + 0.5 ||
          box.top < inView.top - 0.5 ||
          box.bottom > inView.bottom + 0.5
        );
      })
      .map((button) => button.id);
    const buttonHeights = [...bar.querySelectorAll('button')]
      .map((button) => button.getBoundingClientRect().height)
      .filter((height) => height > 0);
    // The terminal's scrolling part (with its scroll bar) spans its text.
    const scroller = term.element.querySelector('.xterm-viewport').getBoundingClientRect();
    return {
      fontSize: term.options.fontSize,
      cols: term.cols,
      rows: term.rows,
      cellWidth,
      overflow: { x: root.scrollWidth - root.clientWidth, y: root.scrollHeight - root.clientHeight },
      cursor,
      visible,
      frameEnds,
      terminal: paneBox.toJSON(),
      picture: picture.toJSON(),
      screenLeft: screen.left,
      atBottom: buffer.viewportY === buffer.baseY,
      lastColumnReachable,
      controlsOutOfView,
      lowestButton: Math.min(...buttonHeights),
      scrollBarClear: scroller.left <= screen.left + 0.5 && scroller.right >= screen.right - 0.5,
    };
  });
}

// The rows of the menu from its banner to its prompt, as the native program
// writes them, and those of its frame.
async function menuRows() {
  const session = await h.nativeSession(NATIVE, []);
  const rows = await h.lastRows(session.text, MIN_COLS);
  return {
    rows: rows.length - rows.findIndex((row) => row.includes('I LOVE C++')),
    framed: rows.filter((row) => /^\s*\$/.test(row)).length,
  };
}

test('at every screen and zoom the terminal fits, is legible, keeps the typed row in view and the frame aligned', async (t) => {
  // The page's least rows are the menu's, banner to prompt.
  const menu = await menuRows();
  // Where the whole menu shows on the first screen: every screen of the
  // classroom, but not a window zoomed to 150% or 200%.
  const screens = [
    { name: 'projector', width: 1920, height: 1080, minFont: 20, beside: true, wholeMenu: true },
    { name: 'Chromebook', width: 1366, height: 768, minFont: 14, beside: true, wholeMenu: true },
    { name: 'tablet, landscape', width: 1180, height: 820, minFont: 12, beside: true, wholeMenu: true },
    { name: 'tablet, upright', width: 820, height: 1180, touch: true, minFont: 12, beside: false, wholeMenu: true },
    // The pane takes its place, and rows, only once it holds a picture
    // (`onDemand`) on a phone and in a low window.
    { name: 'phone', width: 390, height: 844, touch: true, minFont: 9, wholeMenu: true, narrow: true, onDemand: true },
    { name: 'Chromebook window at 150%', width: 1366, height: 657, zoom: 1.5, minFont: 12, beside: true },
    { name: 'Chromebook window at 200%', width: 1366, height: 657, zoom: 2, minFont: 12, onDemand: true },
  ];
  const seen = [];
  for (const screen of screens) {
    const { page, problems } = await openAt(t, screen);
    assert.equal(
      await page.evaluate(() => window.quorvantile.view.MIN_ROWS),
      menu.rows,
      "the page's least rows are not the menu's",
    );
    if (screen.wholeMenu) {
      const first = await page.evaluate(() => {
        const { term } = window.quorvantile;
        const buffer = term.buffer.active;
        const rows = [];
        for (let y = buffer.viewportY; y < buffer.viewportY + term.rows; y++)
          rows.push(buffer.getLine(y).translateToString(true));
        return rows;
      });
      assert.ok(
        first.some((row) => row.includes('I LOVE C++')) && first.some((row) => row.endsWith('Please choose:')),
        `${screen.name}: the first screen lacks the banner or the prompt:\n${first.join('\n')}`,
      );
    }
    let atMenu = null;
    // Without a picture, then with one in its pane (as the pictures fill it).
    for (const picture of [false, true]) {
      if (picture) {
        await page.evaluate(() => {
          const drawing = document.createElement('figure');
          drawing.style.cssText = 'width: 100%; height: 100%; min-height: 200px; background: #223';
          document.getElementById('picture').append(drawing);
        });
      }
      await settled(page);
      const m = await measure(page);
      const where = `${screen.name}${picture ? ' with a picture' : ''}`;
      seen.push(`${where}: ${m.fontSize} px, ${m.cols}×${m.rows}`);
      // The text keeps its size, and the terminal its columns and rows, when a picture comes.
      const kept = (size) => (screen.onDemand ? size.slice(0, 2) : size);
      if (atMenu)
        assert.deepEqual(
          kept([m.fontSize, m.cols, m.rows]),
          kept(atMenu),
          `${where}: the text or the terminal's size changed`,
        );
      atMenu = [m.fontSize, m.cols, m.rows];
      assert.deepEqual(m.overflow, { x: 0, y: 0 }, `${where}: the page overflows`);
      const leastCols = await page.evaluate(() => window.quorvantile.view.MENU_COLS);
      assert.ok(m.cols >= (screen.narrow ? leastCols : MIN_COLS), `${where}: ${m.cols} columns`);
      assert.ok(m.fontSize >= screen.minFont, `${where}: text of ${m.fontSize} px`);
      assert.ok(m.atBottom, `${where}: the terminal is not scrolled to its last row`);
      assert.ok(m.lastColumnReachable, `${where}: the last columns cannot be scrolled into view`);
      assert.ok(m.scrollBarClear, `${where}: the terminal's scroll bar lies over its text`);
      const { cursor, visible } = m;
      assert.ok(
        cursor.top >= visible.top - 0.5 &&
          cursor.bottom <= visible.bottom + 0.5 &&
          cursor.left >= visible.left &&
          cursor.right <= visible.right,
        `${where}: the typed row's cursor ${JSON.stringify(cursor)} is outside ${JSON.stringify(visible)}`,
      );
      // The whole box where the rows hold it, else the part on screen.
      if (m.rows >= menu.rows) assert.equal(m.frameEnds.length, menu.framed, `${where}: framed rows`);
      for (const end of m.frameEnds) {
        assert.ok(
          Math.abs(end - BOX_END * m.cellWidth) <= 1,
          `${where}: a closing '$' ends at ${end} px, ` + `not at column ${BOX_END} (${BOX_END * m.cellWidth} px)`,
        );
      }
      assert.deepEqual(m.controlsOutOfView, [], `${where}: controls out of view`);
      // On a touch screen every button is a fingertip high.
      if (screen.touch) {
        assert.ok(m.lowestButton >= 40, `${where}: a button of the bar is ${m.lowestButton} px high`);
      }
      if (picture) {
        const { terminal, picture: pane } = m;
        assert.ok(pane.width > 50 && pane.height > 50, `${where}: the picture's pane is ${JSON.stringify(pane)}`);
        if (screen.beside) assert.ok(pane.left >= terminal.right, `${where}: the picture is not beside the terminal`);
        else assert.ok(pane.top >= terminal.bottom, `${where}: the picture is not below the terminal`);
      }
    }
    // A line typed past the box's right edge stays in view as it grows.
    await page.evaluate(() => window.quorvantile.term.focus());
    const LONG_ENTRY = '1234567890'.repeat(5);
    await page.keyboard.type(LONG_ENTRY);
    await settled(page);
    const typing = await measure(page);
    assert.ok(
      typing.cursor.left >= typing.visible.left - 0.5 && typing.cursor.right <= typing.visible.right + 0.5,
      `${screen.name}: the cursor of a long typed line ${JSON.stringify(typing.cursor)} is outside ${JSON.stringify(typing.visible)}`,
    );
    for (let i = 0; i < LONG_ENTRY.length; i++) await page.keyboard.press('Backspace');
    // Ended, with Start again shown.
    await page.evaluate(() =>
      window.quorvantile.dispatchEvent(
        new CustomEvent('state', { detail: { state: 'ended', reason: 'ended', canRestart: true } }),
      ),
    );
    await settled(page);
    const ended = await measure(page);
    assert.deepEqual(ended.controlsOutOfView, [], `${screen.name}, ended: controls out of view`);
    assert.deepEqual(problems, [], `${screen.name}: the page reported errors`);
  }
  t.diagnostic(seen.join('; '));
});

// Where the picture pane's parts lie, how small its picture's words are drawn,
// and which controls of the page are less than a fingertip wide or high.
function pane(page) {
  return page.evaluate(() => {
    const picture = document.getElementById('picture');
    const box = picture.getBoundingClientRect();
    const shown = (e) => e.getClientRects().length > 0 && e.getBoundingClientRect().width > 0;
    const outside = [...picture.querySelectorAll('svg, figcaption, button, .qv-card')]
      .filter((e) => shown(e) && !e.closest('.qv-card svg'))
      .filter((e) => {
        const r = e.getBoundingClientRect();
        return (
          r.left < box.left - 0.5 || r.right > box.right + 0.5 || r.top < box.top - 0.5 || r.bottom > box.bottom + 0.5
        );
      })
      .map((e) => e.tagName.toLowerCase());
    const drawing = picture.querySelector('figure svg');
    let smallestWords = null;
    if (drawing && shown(drawing)) {
      const { width, height } = drawing.viewBox.baseVal;
      const r = drawing.getBoundingClientRect();
      const scale = Math.min((r.width - 2) / width, (r.height - 2) / height); // inside its 1 px border
      const sizes = [...drawing.querySelectorAll('text')].map((e) => parseFloat(getComputedStyle(e).fontSize));
      smallestWords = Math.min(...sizes) * scale;
    }
    const small = [...document.querySelectorAll('button, a[href]')]
      .filter(shown)
      .filter((e) => e.getBoundingClientRect().width < 40 || e.getBoundingClientRect().height < 40)
      .map(
        (e) =>
          `${e.id || e.className} ${Math.round(e.getBoundingClientRect().width)}×${Math.round(e.getBoundingClientRect().height)}`,
      );
    return {
      shown: shown(picture),
      cards: [...picture.querySelectorAll('.qv-card')].map((a) => ({
        href: a.getAttribute('href'),
        drawn: !!a.querySelector('svg'),
      })),
      outside,
      scrolls: picture.scrollHeight - picture.clientHeight,
      smallestWords,
      fontSize: window.quorvantile.term.options.fontSize,
      small,
    };
  });
}

// One table over screens and pictures: every picture lies wholly in its
// pane, its words no smaller than the terminal's text (nor 11 px); at the
// menu the pane shows the demonstrations as lesson links drawn inside it,
// or on a phone nothing at all; on a phone the menu's frame is in view
// whole, at 9 px or more, and every control (the QR code's Close too) is
// at least 40×40 px.
test('pictures and menu fit every screen, and a phone is worked with fingers', async (t) => {
  const { parse } = require('../shell/lesson_link.js');
  // The phone's least columns: the fewest that wrap none of the menu's and
  // the farewell picture's rows (trailing blanks included).
  const farewell = await h.nativeSession(NATIVE, ['8']);
  let unwrapped = 1;
  while ((await h.terminalRows(farewell.text, unwrapped)).rows.some((row) => row.wrapped)) unwrapped++;
  const SCREENS = [
    { name: 'Chromebook', width: 1366, height: 768 },
    { name: 'tablet, upright', width: 820, height: 1180, touch: true },
    { name: 'small tablet, upright', width: 768, height: 1024, touch: true },
    { name: 'phone', width: 390, height: 844, touch: true, phone: true },
  ];
  const LINKS = ['#goldbach=10', '#goldbach=100', '#collatz=27', '#nicomachus=5', '#nicomachus=12', '#nicomachus=100'];
  LINKS.push('#four-squares=100', '#sieve=100', '#sieve=400');
  const faults = [];
  for (const screen of SCREENS) {
    const { page, problems } = await openAt(t, screen);
    const least = await page.evaluate(() => window.quorvantile.view.MENU_COLS);
    assert.equal(least, unwrapped, "the phone's least columns are not what the menu and the farewell take");
    if (!screen.phone) {
      await page.waitForFunction(() => document.querySelectorAll('#picture .qv-card svg').length === 5, {
        timeout: 30000,
      });
    }
    const menu = await pane(page);
    const where = (what) => `${screen.name}, ${what}`;
    if (screen.phone) {
      const m = await measure(page);
      const frameRight = m.screenLeft + Math.max(...m.frameEnds);
      if (menu.shown) faults.push(where('menu: the empty pane takes room'));
      if (m.fontSize < 9) faults.push(where(`menu: text of ${m.fontSize} px`));
      if (frameRight > m.visible.right + 0.5)
        faults.push(where(`menu: the frame ends at ${frameRight} px, out of view`));
    } else {
      const links = menu.cards.map((card) => parse(card.href).kind === 'lesson' && card.drawn);
      if (links.length !== 5 || links.includes(false)) faults.push(where(`menu: ${JSON.stringify(menu.cards)}`));
    }
    if (menu.outside.length) faults.push(where(`menu: ${menu.outside} outside the pane`));
    for (const link of LINKS) {
      const { demo, number } = parse(link);
      await page.evaluate((hash) => (location.hash = hash), link);
      await page.waitForFunction(
        (d, n) => document.querySelector(`#picture figure[data-demo="${d}"][data-number="${n}"] svg`),
        { timeout: 60000 },
        demo,
        number,
      );
      await h.sleep(300); // the terminal's refit, and the picture's own
      await settled(page);
      if (screen.phone && link === LINKS[0]) {
        await page.tap('#link');
        await page.waitForFunction(() => document.getElementById('share').open);
      }
      const m = await pane(page);
      const words = Math.max(11, m.fontSize);
      if (m.outside.length || m.scrolls > 0)
        faults.push(where(`${link}: ${m.outside} outside, scrolls ${m.scrolls} px`));
      if (!(m.smallestWords >= words - 0.5)) faults.push(where(`${link}: words of ${m.smallestWords} px`));
      if (screen.touch && m.small.length) faults.push(where(`${link}: controls below 40 px: ${m.small}`));
      if (screen.phone && link === LINKS[0]) await page.tap('#share-close');
    }
    assert.deepEqual(problems, [], `${screen.name}: the page reported errors`);
    await page.close();
  }
  assert.deepEqual(faults, []);
});

test('while the program loads, its box already has its final size and says that it loads', async (t) => {
  const page = await served.browser.newPage();
  t.after(() => page.close());
  await page.setViewport({ width: 1366, height: 768 });
  // A slow link: the program's WebAssembly arrives a second late.
  await page.setRequestInterception(true);
  page.on('request', (request) => {
    if (request.url().endsWith('.wasm')) setTimeout(() => request.continue(), 1000);
    else request.continue();
  });
  const box = () =>
    page.evaluate(() => ({
      pane: document.getElementById('terminal-pane').getBoundingClientRect().toJSON(),
      loading: document.getElementById('loading').hidden ? null : document.getElementById('loading').textContent.trim(),
      state: window.quorvantile ? window.quorvantile.state : 'no run yet',
    }));
  await page.goto(served.url, { waitUntil: 'domcontentloaded' });
  const loading = await box();
  await page.waitForFunction(() => window.quorvantile && window.quorvantile.state === 'running', { timeout: 30000 });
  await h.waitForPrompt(page, 'Please choose:');
  const running = await box();
  assert.equal(loading.state, 'loading');
  assert.match(loading.loading || '', /loading/);
  assert.equal(running.loading, null, 'the loading box stays over the terminal');
  assert.deepEqual(running.pane, loading.pane, "the terminal's box changed its size when the program came");
});

test('on a phone an upright swipe scrolls the scrollback as far as the finger moves, a sideways one the box', async (t) => {
  const { page } = await openAt(t, { width: 390, height: 844, touch: true });
  await page.evaluate(() => window.quorvantile.term.focus());
  await h.typeLine(page, '1');
  await h.waitForPrompt(page, 'Please input a positive even integer:');
  await h.typeLine(page, '100000'); // 810 pairs: scrollback to swipe through
  // The echo of the typed line reaches the buffer a frame later: until the
  // summary shows, the last prompt would still match.
  await page.waitForFunction(
    () => {
      const buffer = window.quorvantile.term.buffer.active;
      for (let y = buffer.length - 1; y >= Math.max(0, buffer.length - 8); y--) {
        if (buffer.getLine(y).translateToString(true).includes('add up to 100000')) return true;
      }
      return false;
    },
    { timeout: 30000 },
  );
  await h.waitForPrompt(page, 'Please input a positive even integer:');
  // The number's picture takes its pane below the terminal, which then has
  // fewer rows: the swipes start once it has been refitted.
  await page.waitForFunction(() => document.querySelector('#picture figure[data-number="100000"]'), { timeout: 30000 });
  await settled(page);
  // The phone's columns fit its width: larger text, until they no longer
  // do, gives the box something to scroll sideways.
  while (!(await page.evaluate(() => window.quorvantile.view.linesCut()))) {
    await page.tap('#larger');
    await settled(page);
  }
  await settled(page);
  const before = await measure(page);
  const position = () =>
    page.evaluate(() => ({
      row: window.quorvantile.term.buffer.active.viewportY,
      left: document.getElementById('terminal-pane').scrollLeft,
      rows: window.quorvantile.term.rows,
    }));
  const swipe = async (dx, dy) => {
    const x = before.visible.left + 200;
    const y = before.visible.top + 100;
    const STEPS = 10;
    await page.touchscreen.touchStart(x, y);
    for (let i = 1; i <= STEPS; i++) await page.touchscreen.touchMove(x + (dx * i) / STEPS, y + (dy * i) / STEPS);
    await page.touchscreen.touchEnd();
    await settled(page);
  };
  const SWIPE_PX = 400;
  const start = await position();
  await swipe(0, SWIPE_PX);
  const down = await position();
  const rowHeight = before.cursor.bottom - before.cursor.top;
  const expected = SWIPE_PX / rowHeight;
  const scrolled = start.row - down.row;
  t.diagnostic(`a ${SWIPE_PX} px swipe scrolled ${scrolled} rows of ${rowHeight.toFixed(1)} px`);
  assert.ok(
    Math.abs(scrolled - expected) <= 1.5,
    `a ${SWIPE_PX} px swipe scrolled ${scrolled} rows, not ` +
      `${expected.toFixed(1)} (the terminal had ${start.rows} rows before, ${down.rows} after)`,
  );
  assert.equal(down.left, start.left, 'an upright swipe moved the box sideways');

  await swipe(-150, 0);
  const sideways = await position();
  assert.ok(
    sideways.left > start.left + 50,
    `a sideways swipe moved the box from ${start.left} to ${sideways.left} px`,
  );
  assert.equal(sideways.row, down.row, 'a sideways swipe scrolled the rows');
});

test('the controls: language, pictures and text size are remembered; the status says what happened', async (t) => {
  const { page } = await openAt(t, { width: 900, height: 700 });
  const menu = await page.evaluate(() => window.quorvantile.term.buffer.active.getLine(1).translateToString(true));
  const labels = () =>
    page.evaluate(() => ({
      lang: document.documentElement.lang,
      title: document.title,
      stop: document.getElementById('stop').textContent,
      smaller: document.getElementById('smaller').getAttribute('aria-label'),
      status: document.getElementById('status').textContent,
      unlabelled: [...document.querySelectorAll('#controls button')]
        .filter((button) => !(button.getAttribute('aria-label') || button.textContent.trim()))
        .map((b) => b.id),
    }));
  const english = await labels();
  assert.deepEqual([english.lang, english.stop, english.unlabelled], ['en', 'Stop', []]);
  assert.match(english.status, /running/);

  // A click on a control gives the keyboard back to the terminal.
  await page.click('#lang');
  const chinese = await labels();
  assert.deepEqual(
    [chinese.lang, chinese.stop, chinese.smaller, chinese.unlabelled],
    ['zh-CN', '停止', '缩小文字（更多列）', []],
  );
  assert.match(chinese.status, /程序/);
  assert.ok(
    await page.evaluate(() => window.quorvantile.term.element.contains(document.activeElement)),
    'the terminal lost the keyboard after a click on a control',
  );

  // Tab from the terminal comes to the controls next, and Shift-Tab goes
  // back to it and then out of it: no other stop in the terminal (its scroll
  // area, say), where the keys would reach nothing.
  const focusedIn = () =>
    page.evaluate(() => {
      const active = document.activeElement;
      if (active === window.quorvantile.term.textarea) return 'the terminal';
      if (window.quorvantile.term.element.contains(active))
        return `the terminal's ${active.className || active.tagName}`;
      return active.closest('#controls') ? 'the controls' : active.id || active.tagName;
    });
  const shiftTab = async () => {
    await page.keyboard.down('Shift');
    await page.keyboard.press('Tab');
    await page.keyboard.up('Shift');
  };
  // A scrollback makes the scroll area scrollable, which Chromium makes a stop.
  await page.evaluate(() => new Promise((resolve) => window.quorvantile.term.write('\r\n'.repeat(100), resolve)));
  await page.keyboard.press('Tab');
  assert.equal(await focusedIn(), 'the controls', 'Tab from the terminal does not come to the controls');
  await shiftTab();
  assert.equal(await focusedIn(), 'the terminal', 'Shift-Tab from the controls does not come to the terminal');
  await shiftTab();
  assert.ok(
    !(await focusedIn()).startsWith('the terminal'),
    `Shift-Tab from the terminal stops in ${await focusedIn()}`,
  );
  await page.focus('#save');
  await page.keyboard.press('Tab');
  const ring = await page.evaluate(() => {
    const style = getComputedStyle(document.activeElement);
    return { id: document.activeElement.id, outline: style.outlineStyle, width: parseFloat(style.outlineWidth) };
  });
  assert.ok(ring.id === 'print' && ring.outline !== 'none' && ring.width >= 2, `focus ring: ${JSON.stringify(ring)}`);

  await page.click('#reader');
  await page.click('#pictures');
  await settled(page);
  const wide = await measure(page);
  await page.click('#smaller');
  await settled(page);
  const smaller = await measure(page);
  assert.ok(
    smaller.fontSize < wide.fontSize && smaller.cols > wide.cols,
    `smaller text: ${wide.fontSize} px × ${wide.cols} → ${smaller.fontSize} px × ${smaller.cols}`,
  );
  // Larger text until the lines no longer fit: the note says so, and what
  // gives them room (in the page's language, Chinese by now).
  const stepsBefore = await page.evaluate(() => localStorage.getItem('quorvantile.textSize'));
  const note = async () => {
    await page.click('#larger');
    await settled(page);
    return page.evaluate(() => ({
      cut: window.quorvantile.view.linesCut(),
      words: document.getElementById('note').textContent,
      disabled: document.getElementById('larger').disabled,
    }));
  };
  let larger = await note();
  while (!larger.cut && !larger.disabled) larger = await note();
  assert.ok(larger.cut, 'the largest text still fits 80 columns');
  assert.match(larger.words, /左右滚动/, 'the user is not told that the lines no longer fit');
  // Beside the picture (a wider window, Pictures on again) the note names it.
  await page.setViewport({ width: 1366, height: 768 });
  await page.click('#pictures');
  await settled(page);
  await page.click('#smaller');
  larger = await note();
  while (!larger.cut && !larger.disabled) larger = await note();
  assert.ok(larger.cut, 'the largest text still fits 80 columns beside the picture');
  assert.match(larger.words, /关闭“图示”/);
  await page.click('#pictures');
  while ((await page.evaluate(() => localStorage.getItem('quorvantile.textSize'))) !== stepsBefore) {
    await page.click('#smaller');
  }
  await page.setViewport({ width: 900, height: 700 });
  await settled(page);

  // Remembered across a reload; the program's text is never translated.
  await page.reload({ waitUntil: 'load' });
  await page.waitForFunction(() => window.quorvantile.state === 'running', { timeout: 30000 });
  await h.waitForPrompt(page, 'Please choose:');
  await page.evaluate(() => document.getElementById('picture').append(document.createElement('canvas')));
  await settled(page);
  const again = await page.evaluate(() => ({
    lang: document.documentElement.lang,
    pictures: document.documentElement.dataset.pictures,
    pictureShown: document.getElementById('picture').getClientRects().length > 0,
    fontSize: window.quorvantile.term.options.fontSize,
    menu: window.quorvantile.term.buffer.active.getLine(1).translateToString(true),
    reader: !!window.quorvantile.term.element.querySelector('.xterm-accessibility'),
  }));
  assert.ok(again.fontSize < wide.fontSize, `the smaller text was not kept: ${again.fontSize} px`);
  delete again.fontSize;
  assert.deepEqual(again, { lang: 'zh-CN', pictures: 'off', pictureShown: false, menu, reader: true });

  // The status for what page.js reports, in the page's language; Start again
  // where it can help, with the keyboard on it.
  const cases = [
    {
      detail: { state: 'loading', progress: { loaded: 1.5e6, total: 3e6 } },
      status: /加载/,
      loading: /50%/,
      restart: false,
    },
    {
      detail: { state: 'failed', reason: 'load-from-disk', canRestart: false },
      status: /quorvantile\.html/,
      loading: /http\.server/,
      restart: false,
    },
    {
      detail: { state: 'failed', reason: 'load-wasm-missing', canRestart: false },
      status: /quorvantile\.wasm/,
      restart: false,
    },
    { detail: { state: 'stopped', reason: 'aborted', canRestart: true }, status: /出错/, restart: true },
    { detail: { state: 'stopped', reason: 'stopped-by-user', canRestart: true }, status: /已停止/, restart: true },
    { detail: { state: 'ended', reason: 'ended', canRestart: true }, status: /已结束/, restart: true },
  ];
  const rows = new Set();
  for (const { detail, status, loading, restart } of cases) {
    const shown = await page.evaluate(async (d) => {
      window.quorvantile.dispatchEvent(new CustomEvent('state', { detail: d }));
      await new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)));
      const button = document.getElementById('restart');
      const box = document.getElementById('loading');
      return {
        status: document.getElementById('status').textContent,
        loading: box.hidden ? null : box.textContent,
        restart: !button.hidden,
        focused: document.activeElement === button,
        rows: window.quorvantile.term.rows,
      };
    }, detail);
    rows.add(shown.rows);
    const what = JSON.stringify(detail);
    assert.match(shown.status, status, what);
    if (loading) assert.match(shown.loading, loading, what);
    assert.deepEqual([shown.restart, shown.focused], [restart, restart], `${what}: Start again shown and focused`);
  }
  assert.equal(rows.size, 1, `the terminal's rows changed with the status: ${[...rows]}`);
});

test('Save, Copy all and the printout hold the whole session, printed black on white; Stop stops a listing', async (t) => {
  const { page } = await openAt(t, { width: 1366, height: 768 });
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvantile-kept-'));
  t.after(() => fs.rmSync(dir, { recursive: true, force: true }));
  const cdp = await page.createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: dir });
  await served.browser.defaultBrowserContext().overridePermissions(served.url, ['clipboard-read', 'clipboard-write']);

  // Longer than the screen: what is kept is the session, not the last rows.
  const inputs = ['2', '27', '888', '', '1', '1000', '888'];
  const session = await h.nativeSession(NATIVE, inputs);
  await page.evaluate(() => window.quorvantile.term.focus());
  for (let i = 0; i < inputs.length; i++) {
    await h.waitForScreenEnding(page, session.atWaits[i]);
    await h.typeLine(page, inputs[i]);
  }
  await h.waitForScreenEnding(page, session.text);
  // The same characters as the native session; where a line breaks and
  // whether a tab is kept is the session log's own concern.
  const squeeze = (text) => text.replace(/\s+/g, '');

  await page.click('#save');
  const deadline = Date.now() + 5000;
  let saved = [];
  while (saved.length === 0 || saved[0].endsWith('.crdownload')) {
    assert.ok(Date.now() < deadline, 'nothing was saved');
    await h.sleep(50);
    saved = fs.readdirSync(dir);
  }
  assert.match(saved[0], /^quorvantile-session-\d{4}-\d\d-\d\d-\d{4}\.txt$/);
  const file = fs.readFileSync(path.join(dir, saved[0]), 'utf8');
  assert.equal(squeeze(file), squeeze(session.text), 'the saved file is not the session');
  await page.click('#copy');
  assert.equal(await page.evaluate(() => navigator.clipboard.readText()), file, 'Copy all is not the saved text');
  // Print, and Ctrl-P, say first what goes on paper.
  const lines = file.split('\n').length - (file.endsWith('\n') ? 1 : 0);
  for (const press of [() => page.click('#print'), () => h.pressControl(page, 'KeyP')]) {
    await page.evaluate(() => {
      document.getElementById('note').textContent = '';
      window.print = () => (window.printAsked = true);
      window.printAsked = false;
    });
    await press();
    await page.waitForFunction(() => window.printAsked);
    assert.equal(await page.$eval('#note', (e) => e.textContent), `Printing the session: all its ${lines} lines.`);
  }

  // The printed menu's frame is straight also where the printer takes
  // another font for the Chinese characters than for the rest.
  await page.emulateMediaType('print');
  const printedFrame = await page.evaluate(() => {
    const style = document.createElement('style');
    style.textContent = '#print-session { font-family: "DejaVu Sans Mono", "WenQuanYi Micro Hei" !important; }';
    document.head.append(style);
    window.dispatchEvent(new Event('beforeprint'));
    const printout = document.getElementById('print-session');
    const ends = [];
    const walker = document.createTreeWalker(printout, NodeFilter.SHOW_TEXT);
    while (walker.nextNode()) {
      const node = walker.currentNode;
      for (let at = node.data.indexOf('$'); at >= 0; at = node.data.indexOf('$', at + 1)) {
        const range = document.createRange();
        range.setStart(node, at);
        range.setEnd(node, at + 1);
        const box = range.getBoundingClientRect();
        ends.push(box.right);
      }
    }
    style.remove();
    const closing = ends.filter((end) => end > Math.min(...ends) + 1);
    return { closing: closing.length, spread: Math.max(...closing) - Math.min(...closing) };
  });
  await page.emulateMediaType(null);
  await clickIntoTerminal(page); // the emulated print hid the terminal, which lost the keyboard
  assert.ok(
    printedFrame.closing >= 16 && printedFrame.spread < 0.5,
    `the printed frame's closing '$' lie ${printedFrame.spread} px apart`,
  );

  const pdf = path.join(dir, 'page.pdf');
  await page.pdf({ path: pdf, format: 'A4', printBackground: true });
  const printed = childProcess.execFileSync('pdftotext', ['-layout', '-enc', 'UTF-8', pdf, '-'], { encoding: 'utf8' });
  assert.ok(
    squeeze(printed).includes(squeeze(session.text)),
    `the printout is not the session:\n${printed.slice(0, 2000)}`,
  );
  for (const word of ['Stop', 'Save', 'Ctrl-C'])
    assert.ok(!printed.includes(word), `the printout shows "${word}":\n${printed}`);
  // The first page as pixels: black text on white, nothing grey or coloured.
  childProcess.execFileSync('pdftoppm', ['-r', '100', '-f', '1', '-l', '1', pdf, path.join(dir, 'page')]);
  const image = fs.readFileSync(
    path.join(
      dir,
      fs.readdirSync(dir).find((name) => name.endsWith('.ppm')),
    ),
  );
  const header = /^P6\s+\d+\s+\d+\s+255\s/.exec(image.toString('latin1', 0, 40));
  const pixels = image.subarray(header[0].length);
  const count = { black: 0, coloured: 0, white: 0, total: pixels.length / 3 };
  for (let i = 0; i < pixels.length; i += 3) {
    const [r, g, b] = [pixels[i], pixels[i + 1], pixels[i + 2]];
    if (Math.max(r, g, b) - Math.min(r, g, b) > 48) count.coloured++;
    else if (Math.max(r, g, b) < 40) count.black++;
    else if (Math.min(r, g, b) > 245) count.white++;
  }
  t.diagnostic(`first printed page: ${JSON.stringify(count)} pixels`);
  assert.ok(
    count.white > count.total * 0.8 && count.black > 2000 && count.coloured === 0,
    `not black text on white: ${JSON.stringify(count)}`,
  );

  await h.typeLine(page, '');
  await h.waitForPrompt(page, 'Please choose:');
  await h.typeLine(page, '1');
  await h.waitForPrompt(page, 'Please input a positive even integer:');
  await h.typeLine(page, '2000000000'); // pairs for minutes
  await page.waitForFunction(
    () => {
      const buffer = window.quorvantile.term.buffer.active;
      return /2000000000=\d+\+\d+/.test(buffer.getLine(buffer.baseY).translateToString(true));
    },
    { timeout: 15000 },
  );
  await page.click('#stop');
  await page.waitForFunction(() => window.quorvantile.state === 'stopped', { timeout: 5000 });
});

// Clicks into the terminal's text as a user does (a tap on a touch screen),
// which gives it the keyboard.
async function clickIntoTerminal(page, touch = false) {
  const at = await page.evaluate(() => {
    const box = window.quorvantile.term.element.querySelector('.xterm-screen').getBoundingClientRect();
    const pane = document.getElementById('terminal-pane').getBoundingClientRect();
    return { x: Math.max(box.left, pane.left) + 40, y: box.top + 40 };
  });
  if (touch) await page.touchscreen.tap(at.x, at.y);
  else await page.mouse.click(at.x, at.y);
}

// Whether the view shows the end of the output with the cursor's row, and
// the rows it shows.
function view(page) {
  return page.evaluate(() => {
    const { term } = window.quorvantile;
    const buffer = term.buffer.active;
    const shown = [];
    for (let y = buffer.viewportY; y < buffer.viewportY + term.rows; y++) {
      const line = buffer.getLine(y);
      shown.push(line ? line.translateToString(true) : '');
    }
    return {
      viewportY: buffer.viewportY,
      baseY: buffer.baseY,
      atEnd: buffer.viewportY === buffer.baseY,
      shown,
      fontSize: term.options.fontSize,
      cols: term.cols,
      rows: term.rows,
      picture: document.querySelector('#picture figure')
        ? document.querySelector('#picture figure').dataset.number
        : null,
    };
  });
}

// Waits until the cursor's row ends with `prompt` and the buffer's last
// rows hold `last`.
function waitForEnding(page, last, prompt, timeoutMs) {
  return page.waitForFunction(
    (lastLine, promptText) => {
      const buffer = window.quorvantile.term.buffer.active;
      const cursorRow = buffer.baseY + buffer.cursorY;
      if (!buffer.getLine(cursorRow).translateToString(true).endsWith(promptText)) return false;
      for (let y = cursorRow; y >= Math.max(0, cursorRow - 8); y--) {
        if (buffer.getLine(y).translateToString(true).includes(lastLine)) return true;
      }
      return false;
    },
    { timeout: timeoutMs, polling: 100 },
    last,
    prompt,
  );
}

const PROJECTOR = { name: 'projector', width: 1920, height: 1080 };
const CHROMEBOOK = { name: 'Chromebook', width: 1366, height: 768 };
const PHONE = { name: 'phone', width: 390, height: 844, touch: true };

test('the view follows a long listing to its end and the prompt, whatever refits the terminal, unless the user scrolls back', async (t) => {
  const LISTINGS = {
    goldbach: { choice: '1', prompt: 'Please input a positive even integer:', last: 'There are 291400 pair(s)' },
    'four squares': {
      choice: '4',
      prompt: 'Please input a positive integer:',
      last: '100000000=10000x10000+0x0+0x0+0x0',
    },
  };
  // What happens while the listing runs, once its picture is drawn.
  const DURING = {
    nothing: null,
    'the window resized': (page, screen) =>
      page.setViewport({ width: screen.width - 300, height: screen.height - 120 }),
    'Pictures switched off, then on': async (page) => {
      await page.click('#pictures');
      await h.sleep(300);
      await page.click('#pictures');
    },
    'A+, then A−': async (page) => {
      await page.click('#larger');
      await h.sleep(300);
      await page.click('#smaller');
    },
    // On purpose: the view stays where the user put it, until a key is typed.
    'the wheel turned back': async (page) => {
      await page.mouse.wheel({ deltaY: -2000 });
      await h.sleep(500);
    },
  };
  const cases = [
    [CHROMEBOOK, 'goldbach', 'nothing'],
    [PROJECTOR, 'goldbach', 'the window resized'],
    [CHROMEBOOK, 'four squares', 'Pictures switched off, then on'],
    [PROJECTOR, 'four squares', 'nothing'],
    [CHROMEBOOK, 'goldbach', 'A+, then A−'],
    [PHONE, 'four squares', 'nothing'],
    [CHROMEBOOK, 'four squares', 'the wheel turned back'],
  ];
  // Timing decides these faults: each case runs more than once.
  const REPEATS = 2;
  const seen = [];
  for (let repeat = 0; repeat < REPEATS; repeat++) {
    for (const [screen, listingName, duringName] of cases) {
      const listing = LISTINGS[listingName];
      const where = `${screen.name}, ${listingName} 10^8, ${duringName} (run ${repeat + 1})`;
      const { page, problems } = await openAt(t, screen);
      const menu = await view(page);
      await clickIntoTerminal(page, screen.touch);
      await h.typeLine(page, listing.choice);
      await h.waitForPrompt(page, listing.prompt);
      await h.typeLine(page, '100000000');
      // The picture comes while the listing runs (slowly on a loaded machine).
      await page
        .waitForFunction(() => document.querySelector('#picture figure[data-number="100000000"]'), { timeout: 180000 })
        .catch((error) => assert.fail(`${where}: no picture came: ${error.message}`));
      await settled(page);
      const withPicture = await view(page);
      // (A phone gives the picture its room, rows, only once it comes.)
      const size = (v) => [v.fontSize, v.cols, screen === PHONE ? 'rows given' : v.rows];
      assert.deepEqual(
        size(withPicture),
        size(menu),
        `${where}: the terminal's text or size changed when the picture came`,
      );
      assert.ok(
        withPicture.atEnd,
        `${where}: the view left the end when the picture came (row ${withPicture.viewportY} of ${withPicture.baseY})`,
      );
      if (DURING[duringName]) await DURING[duringName](page, screen);
      await settled(page);
      const during = await view(page);
      const back = duringName === 'the wheel turned back';
      if (back) assert.ok(during.viewportY < during.baseY - 20, `${where}: the wheel did not scroll back`);
      else
        assert.ok(
          during.atEnd,
          `${where}: the view stays on row ${during.viewportY} of ${during.baseY} during the listing`,
        );
      await waitForEnding(page, listing.last, listing.prompt, 300000).catch((error) =>
        assert.fail(`${where}: the listing did not end: ${error.message}`),
      );
      await settled(page);
      const end = await view(page);
      if (back) {
        assert.equal(end.viewportY, during.viewportY, `${where}: the view did not stay where the user scrolled`);
        await page.keyboard.type('8'); // a key typed brings the end back
        await settled(page);
        const typed = await view(page);
        assert.ok(
          typed.atEnd && typed.shown.some((row) => row.endsWith(`${listing.prompt}8`)),
          `${where}: typing did not bring the prompt into view`,
        );
      } else {
        assert.ok(end.atEnd, `${where}: the view ends on row ${end.viewportY} of ${end.baseY}`);
        const last = end.shown.findIndex((row) => row.includes(listing.last));
        assert.ok(
          last >= 0 && end.shown.some((row, y) => y > last && row.endsWith(listing.prompt)),
          `${where}: the end of the listing and the prompt are not in view:\n${end.shown.slice(-6).join('\n')}`,
        );
        const m = await measure(page);
        assert.ok(
          m.cursor.top >= m.visible.top - 0.5 && m.cursor.bottom <= m.visible.bottom + 0.5,
          `${where}: the cursor's row lies outside the terminal's box`,
        );
      }
      assert.deepEqual(problems, [], `${where}: the page reported errors`);
      seen.push(`${where}: ${menu.fontSize} px ${menu.cols}×${menu.rows}`);
      await page.close();
    }
  }
  t.diagnostic(seen.join('; '));
});

test("after Exit and Start again, again and again, the menu's prompt is in view", async (t) => {
  const RESTARTS = 6;
  for (const screen of [CHROMEBOOK, PROJECTOR]) {
    const { page, problems } = await openAt(t, screen);
    await clickIntoTerminal(page);
    for (let i = 1; i <= RESTARTS; i++) {
      const where = `${screen.name}, Start again #${i}`;
      await h.typeLine(page, '8');
      await page.waitForFunction(() => window.quorvantile.state === 'ended', { timeout: 10000 });
      await page.click('#restart');
      await page.waitForFunction(() => window.quorvantile.state === 'running', { timeout: 10000 });
      await h.waitForPrompt(page, 'Please choose:');
      await settled(page);
      const shown = await view(page);
      assert.ok(shown.atEnd, `${where}: the view is on row ${shown.viewportY} of ${shown.baseY}`);
      assert.ok(
        shown.shown.some((row) => row.includes('I LOVE C++')) &&
          shown.shown.some((row) => row.endsWith('Please choose:')),
        `${where}: the banner and the prompt are not both in view:\n${shown.shown.join('\n')}`,
      );
      const focused = await page.evaluate(() => window.quorvantile.term.element.contains(document.activeElement));
      assert.ok(focused, `${where}: the keyboard is not in the terminal`);
    }
    assert.deepEqual(problems, [], `${screen.name}: the page reported errors`);
  }
});

test('every button gives the keyboard back to the terminal after a mouse click, never after a tap', async (t) => {
  // Each press: the button, and whether the keyboard goes back to the
  // terminal after a mouse click on it (not while the QR code is in front).
  const PRESSES = [
    ['#pause', true],
    ['#pause', true], // pressed twice: the output goes on
    ['#picture .qv-drawing-control', true], // the Collatz picture's scale
    ['#link', false],
    ['#share-close', true],
  ];
  for (const screen of [CHROMEBOOK, PHONE]) {
    const { page, problems } = await openAt(t, screen);
    await clickIntoTerminal(page, screen.touch);
    await h.typeLine(page, '2');
    await h.typeLine(page, '27');
    await page.waitForSelector('#picture .qv-drawing-control');
    await page.waitForFunction(() => !document.getElementById('link').disabled);
    for (const [selector, byMouse] of PRESSES) {
      // Nothing focused before the press: only the page's script can give
      // the terminal the keyboard.
      await page.evaluate(() => document.activeElement && document.activeElement.blur());
      if (screen.touch) await page.tap(selector);
      else await page.click(selector);
      await settled(page);
      const inTerminal = await page.evaluate(() => window.quorvantile.term.element.contains(document.activeElement));
      assert.equal(inTerminal, byMouse && !screen.touch, `${screen.name}: ${selector}`);
    }
    assert.deepEqual(problems, [], `${screen.name}: the page reported errors`);
  }
});
