// The web edition tried as a user would, in headless Chromium: the page served
// from 127.0.0.1 and the single file opened from file://. The native program
// is the reference for every text the page shows.
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
const SINGLE = path.join(WEB || '', 'web-single', 'quorvantile.html');
// A listing far longer than any test waits for: its pairs run for minutes.
const LONG_GOLDBACH = '2000000000';
// Generous bound for the page to paint twice while the program lists: a page
// that keeps responding does so in a few frames' time.
const PAINT_DEADLINE_MS = 1000;
// A paste of a megabyte of lines (27, a line each) at Collatz's prompt; the
// program works through it for this long before Stop is pressed, which must
// act within the deadline (generous: the page says so in well under half a
// second), as the paste itself must hold the page no longer.
const FLOOD_LINES = 349000;
const FLOOD_RUN_MS = 2000;
const STOP_DEADLINE_MS = 1000;
// Frames a second the page must still draw meanwhile (it draws 10 to 15 on
// a machine busy with other work, and some 60 on an idle one).
const MIN_FRAMES_PER_SECOND = 5;
// xterm.js's palette where the page's theme names no colour.
const XTERM_PALETTE = [
  '#2e3436',
  '#cc0000',
  '#4e9a06',
  '#c4a000',
  '#3465a4',
  '#75507b',
  '#06989a',
  '#d3d7cf',
  '#555753',
  '#ef2929',
  '#8ae234',
  '#fce94f',
  '#729fcf',
  '#ad7fa8',
  '#34e2e2',
  '#eeeeec',
];
const PALETTE_NAMES = [
  'black',
  'red',
  'green',
  'yellow',
  'blue',
  'magenta',
  'cyan',
  'white',
  'brightBlack',
  'brightRed',
  'brightGreen',
  'brightYellow',
  'brightBlue',
  'brightMagenta',
  'brightCyan',
  'brightWhite',
];
// The menu box's rows end here: a tab stop and 56 columns.
const BOX_END = 64;
const BRIGHT_RED = 9;
const BRIGHT_GREEN = 10;
const BRIGHT_WHITE = 15;
const BLACK = 0;

const served = h.browserTests(SERVED, NATIVE);

const freshPage = (t, url) => served.freshPage(t, url);

function assertNothingWentWrong(opened) {
  assert.deepEqual(opened.problems, [], 'the page reported errors');
}

function assertRequestsStayAt(opened, prefix) {
  const elsewhere = opened.requests.filter((url) => !url.startsWith(prefix) && !/^(data|blob):/.test(url));
  assert.deepEqual(elsewhere, [], 'the page asked for something from elsewhere');
}

const { playSession } = h;

function pageState(page) {
  return page.evaluate(() => {
    const shown = (element) =>
      !!element && element.getClientRects().length > 0 && getComputedStyle(element).visibility !== 'hidden';
    const status = document.querySelector('#status');
    const restart = document.querySelector('#restart');
    return {
      state: window.quorvantile.state,
      status: status && shown(status) ? status.textContent.trim() : '',
      restart: shown(restart) && !restart.disabled,
    };
  });
}

async function waitForState(page, state, timeoutMs = 10000) {
  await page.waitForFunction((wanted) => window.quorvantile.state === wanted, { timeout: timeoutMs }, state);
  return pageState(page);
}

// Restart after the program has stopped or ended: the menu comes back, and
// the new run takes what is typed.
async function assertRestartWorks(page) {
  const inputs = ['2', '6'];
  const session = await h.nativeSession(NATIVE, inputs);
  await page.click('#restart');
  await waitForState(page, 'running');
  await h.waitForScreenEnding(page, session.atWaits[0]);
  await h.typeLine(page, inputs[0]);
  await h.waitForScreenEnding(page, session.atWaits[1]);
  await h.typeLine(page, inputs[1]);
  await h.waitForScreenEnding(page, session.text);
}

// Cells of buffer row `y`: character, width, and colours as the terminal
// holds them (palette index or 'default').
function rowCells(page, y) {
  return page.evaluate((row) => {
    const line = window.quorvantile.term.buffer.active.getLine(row);
    const cell = line.getCell(0);
    const cells = [];
    for (let x = 0; x < line.length; x++) {
      line.getCell(x, cell);
      cells.push({
        x,
        ch: cell.getChars(),
        width: cell.getWidth(),
        fg: cell.isFgPalette() ? cell.getFgColor() : cell.isFgDefault() ? 'default' : `rgb ${cell.getFgColor()}`,
        bg: cell.isBgPalette() ? cell.getBgColor() : cell.isBgDefault() ? 'default' : `rgb ${cell.getBgColor()}`,
        bold: cell.isBold() !== 0,
      });
    }
    return cells;
  }, y);
}

// The colour (as [r, g, b]) that the page's theme gives palette entry `index`.
async function paletteColour(page, index) {
  const theme = await page.evaluate(() => window.quorvantile.term.options.theme || {});
  const css = theme[PALETTE_NAMES[index]] || XTERM_PALETTE[index];
  const hex = /^#([0-9a-f]{6})$/i.exec(css);
  assert.ok(hex, `palette entry ${index} is ${css}, not #rrggbb`);
  return [0, 2, 4].map((i) => parseInt(hex[1].slice(i, i + 2), 16));
}

// Where the terminal paints its cells: the screen element's box in CSS pixels.
function screenGeometry(page) {
  return page.evaluate(() => {
    const { term } = window.quorvantile;
    const box = term.element.querySelector('.xterm-screen').getBoundingClientRect();
    return {
      left: box.left,
      top: box.top,
      cellWidth: box.width / term.cols,
      cellHeight: box.height / term.rows,
      viewportY: term.buffer.active.viewportY,
      rows: term.rows,
    };
  });
}

// Takes a screenshot of buffer rows `ys` and counts, in each, the pixels that
// are black, red, green or white, and the rightmost pixel that is not black.
async function paintedRows(page, ys) {
  const geometry = await screenGeometry(page);
  const top = Math.min(...ys);
  const bottom = Math.max(...ys);
  assert.ok(top >= geometry.viewportY && bottom < geometry.viewportY + geometry.rows, 'rows are not on screen');
  const clip = {
    x: Math.floor(geometry.left),
    y: Math.floor(geometry.top + (top - geometry.viewportY) * geometry.cellHeight),
    width: Math.ceil(geometry.cellWidth * (await page.evaluate(() => window.quorvantile.term.cols))),
    height: Math.ceil((bottom - top + 1) * geometry.cellHeight),
  };
  const png = await page.screenshot({ clip, encoding: 'base64', captureBeyondViewport: false });
  const bands = ys.map((y) => [
    Math.round((y - top) * geometry.cellHeight),
    Math.round((y - top + 1) * geometry.cellHeight),
  ]);
  const counts = await page.evaluate(
    async (data, rowBands) => {
      const image = new Image();
      image.src = `data:image/png;base64,${data}`;
      await image.decode();
      const canvas = document.createElement('canvas');
      canvas.width = image.width;
      canvas.height = image.height;
      const context = canvas.getContext('2d');
      context.drawImage(image, 0, 0);
      const pixels = context.getImageData(0, 0, image.width, image.height).data;
      return rowBands.map(([from, to]) => {
        const count = { black: 0, red: 0, green: 0, white: 0, other: 0, total: 0, rightmost: -1 };
        for (let y = from; y < Math.min(to, image.height); y++) {
          for (let x = 0; x < image.width; x++) {
            const i = (y * image.width + x) * 4;
            const [r, g, b] = [pixels[i], pixels[i + 1], pixels[i + 2]];
            count.total++;
            if (Math.max(r, g, b) < 24) {
              count.black++;
              continue;
            }
            count.rightmost = Math.max(count.rightmost, x);
            if (Math.max(r, g, b) < 96) count.other++;
            else if (r >= g + 64 && r >= b + 64) count.red++;
            else if (g >= r + 64 && g >= b + 64) count.green++;
            else if (Math.min(r, g, b) >= 160) count.white++;
            else count.other++;
          }
        }
        return count;
      });
    },
    png,
    bands,
  );
  return { counts, geometry };
}

test('a session typed key by key through every entry shows what the native program writes', async (t) => {
  const opened = await freshPage(t);
  const { page } = opened;
  const focused = await page.evaluate(() => window.quorvantile.term.element.contains(document.activeElement));
  assert.ok(focused, 'the terminal does not have the keyboard focus when the page opens');
  const inputs = [
    'one two',
    '9',
    '', // a line of words, a number outside the menu, the pause
    '1',
    '7',
    '100',
    '888',
    '23', // odd rejected; at the pause 2 is taken and 3 starts entry 3
    '5',
    '88',
    '',
    '2',
    '27',
    '888',
    '', // 27's sequence wraps at the terminal's width
    '4',
    '0',
    '30',
    '888',
    '',
    '5',
    '0',
    '30',
    'y',
    '888',
    'n',
    '',
    '6',
    '',
    '',
    '7',
    '',
    '',
    '8',
  ];
  const session = await h.nativeSession(NATIVE, inputs);
  assert.ok(session.ended && session.exitCode === 0, 'the native session did not end at Exit');
  const screen = await playSession(page, session, inputs);
  assert.ok(screen.cols >= 64, `the terminal is ${screen.cols} columns wide, narrower than the menu`);
  assert.ok(
    screen.rows.some((row) => row.wrapped),
    'no line wrapped, so joining was not tried',
  );
  const state = await waitForState(page, 'ended');
  assert.match(state.status, /end/i);
  // The saved session is the same text, with the typed lines where they were typed.
  assert.equal(await page.evaluate(() => window.quorvantile.sessionText()), session.text);
  assertNothingWentWrong(opened);
  assertRequestsStayAt(opened, served.url);
});

test('headings are bright green and the notice bright red, both on true black', async (t) => {
  const opened = await freshPage(t);
  const { page } = opened;
  await page.evaluate(() => window.quorvantile.term.focus());
  const session = await h.nativeSession(NATIVE, ['2', h.EOF]);
  await h.waitForScreen(page, session.atWaits[0]);
  await h.typeLine(page, '2');
  const screen = await h.waitForScreen(page, session.atWaits[1]);

  const find = (pattern, from = 0) => screen.rows.findIndex((row, y) => y >= from && pattern.test(row.text));
  const echo = find(/Please choose:2$/);
  const heading = find(/\S/, echo + 1);
  const notice = find(/NOTICE/, heading);
  const prompt = find(/Please input/, notice);
  assert.ok(echo >= 0 && heading > echo && notice > heading && prompt > notice, 'heading, notice or prompt missing');

  const expectations = [
    [heading, BRIGHT_GREEN],
    [notice, BRIGHT_RED],
    [prompt, BRIGHT_WHITE],
  ];
  for (const [y, colour] of expectations) {
    const written = (await rowCells(page, y)).filter((cell) => cell.ch.trim() !== '');
    assert.ok(written.length > 0);
    for (const cell of written) {
      assert.deepEqual([cell.fg, cell.bg], [colour, BLACK], `row ${y} column ${cell.x} '${cell.ch}'`);
    }
  }
  assert.deepEqual(await paletteColour(page, BLACK), [0, 0, 0], 'SGR 40 is not painted black');

  // What is painted: the pixels of each row are its colour on black.
  const { counts } = await paintedRows(page, [heading, notice, prompt]);
  const [green, red, white] = counts;
  for (const count of counts) assert.ok(count.black > count.total / 2, `mostly black: ${JSON.stringify(count)}`);
  assert.ok(green.green > 20 && green.red === 0 && green.white === 0, `heading: ${JSON.stringify(green)}`);
  assert.ok(red.red > 20 && red.green === 0 && red.white === 0, `notice: ${JSON.stringify(red)}`);
  assert.ok(white.white > 20 && white.red === 0 && white.green === 0, `prompt: ${JSON.stringify(white)}`);
  assertNothingWentWrong(opened);
});

test('the menu frame is aligned around its Chinese titles, in the buffer and on screen', async (t) => {
  const opened = await freshPage(t);
  const { page } = opened;
  const session = await h.nativeSession(NATIVE, [h.EOF]);
  const screen = await h.waitForScreen(page, session.atWaits[0]);
  const titles = [
    '哥德巴赫猜想',
    '考拉兹猜想',
    '尼彻斯特定理',
    '四平方数和定理',
    '筛选法找质数',
    '新娘和新郎',
    '真实或谎言',
  ];

  // Every row of the box, from the title to the credit, ends in the same
  // column; each title's characters sit in wide cells.
  const framed = [];
  const rightEdges = new Set();
  const found = [];
  const prompt = screen.rows.length - 1;
  for (let y = 0; y < prompt; y++) {
    if (!screen.rows[y].text.trim()) continue;
    const cells = await rowCells(page, y);
    const written = cells.filter((cell) => cell.ch.trim() !== '');
    const last = written[written.length - 1];
    rightEdges.add(last.x + last.width);
    if (written[0].ch === '$') framed.push(y);
    const text = cells.map((cell) => cell.ch).join('');
    const title = titles.find((candidate) => text.includes(candidate));
    if (!title) continue;
    found.push(title);
    const wide = cells.filter((cell) => cell.ch !== '' && title.includes(cell.ch));
    assert.deepEqual(
      wide.map((cell) => cell.width),
      Array(title.length).fill(2),
      `${title} not in wide cells`,
    );
  }
  assert.deepEqual(found, titles);
  const nativeFramed = session.text.split('\n').filter((line) => line.startsWith('\t$')).length;
  assert.equal(framed.length, nativeFramed, 'framed rows');
  assert.deepEqual([...rightEdges], [BOX_END], 'rows of the box end in different columns');

  // On screen the closing '$' of every framed row ends at the same pixel,
  // inside the frame's last column.
  const { counts, geometry } = await paintedRows(page, framed);
  const rightmost = counts.map((count) => count.rightmost);
  assert.ok(Math.max(...rightmost) - Math.min(...rightmost) <= 1, `closing '$' at pixels ${rightmost}`);
  assert.ok(
    rightmost[0] < BOX_END * geometry.cellWidth && rightmost[0] >= (BOX_END - 1) * geometry.cellWidth,
    'closing $ outside its column',
  );

  // The terminal's fonts draw the titles' characters: without a font that
  // has them every one is the same missing-glyph box.
  const drawn = await page.evaluate(
    (characters) => {
      const { term } = window.quorvantile;
      const draw = (text) => {
        const canvas = document.createElement('canvas');
        canvas.width = 64;
        canvas.height = 64;
        const context = canvas.getContext('2d');
        context.font = `${term.options.fontSize}px ${term.options.fontFamily}`;
        context.fillStyle = '#ffffff';
        context.textBaseline = 'top';
        context.fillText(text, 0, 0);
        return Array.from(context.getImageData(0, 0, 64, 64).data).join();
      };
      return new Set(characters.map(draw)).size;
    },
    [...new Set(titles.join(''))],
  );
  assert.equal(drawn, new Set(titles.join('')).size, 'Chinese characters drawn alike: no font has them');
  assertNothingWentWrong(opened);
});

test('Backspace erases the last character typed, a wide one as one, never the prompt', async (t) => {
  const opened = await freshPage(t);
  const { page } = opened;
  await page.evaluate(() => window.quorvantile.term.focus());
  const inputs = ['2', '6', '888'];
  const session = await h.nativeSession(NATIVE, inputs);
  await h.waitForScreen(page, session.atWaits[0]);
  await h.typeLine(page, '2');
  const prompt = session.atWaits[1];
  await h.waitForScreen(page, prompt);

  await page.keyboard.type('7');
  await h.waitForScreen(page, `${prompt}7`);
  await page.keyboard.press('Backspace');
  await h.waitForScreen(page, prompt);
  await page.keyboard.press('Backspace'); // nothing typed: the prompt stays
  await page.keyboard.type('中');
  await h.waitForScreen(page, `${prompt}中`);
  await page.keyboard.press('Backspace');
  await h.waitForScreen(page, prompt);
  await h.typeLine(page, '6');
  // The next prompt after 6's sequence shows that the program received "6".
  await h.waitForScreen(page, session.atWaits[2]);
  await h.typeLine(page, '888');
  await h.waitForScreen(page, session.text);
  assertNothingWentWrong(opened);
});

test('a paste of several lines is echoed at once and received line by line', async (t) => {
  const opened = await freshPage(t);
  const { page } = opened;
  // One write of three lines: the native program reads them one by one.
  const session = await h.nativeSession(NATIVE, ['2\n6\n888']);
  await h.waitForScreen(page, session.atWaits[0]);
  await page.evaluate((text) => {
    const target = window.quorvantile.term.textarea;
    const clipboardData = new DataTransfer();
    clipboardData.setData('text/plain', text);
    target.dispatchEvent(new ClipboardEvent('paste', { clipboardData, bubbles: true, cancelable: true }));
  }, '2\n6\n888\n');
  await h.waitForScreen(page, session.text);
  assert.match(session.text, /There are 72 steps to get to 1 for 888\.\n\n\tPRESS ANY KEY/);
  assertNothingWentWrong(opened);
});

test('Ctrl-D at a prompt ends the input, and the program ends as at end of input', async (t) => {
  const opened = await freshPage(t);
  const { page } = opened;
  await page.evaluate(() => window.quorvantile.term.focus());
  const inputs = ['2', h.EOF];
  const session = await h.nativeSession(NATIVE, inputs);
  assert.ok(session.ended, 'the native program did not end at end of input');
  await playSession(page, session, inputs);
  const state = await waitForState(page, 'ended');
  assert.match(state.status, /end/i);
  assert.ok(state.restart, 'no restart button');
  assertNothingWentWrong(opened);
});

test('Ctrl-C stops a long Goldbach listing at once, and Restart shows the menu again', async (t) => {
  const opened = await freshPage(t);
  const { page } = opened;
  await page.evaluate(() => window.quorvantile.term.focus());
  const session = await h.nativeSession(NATIVE, ['1', h.EOF]);
  await h.waitForScreen(page, session.atWaits[0]);
  await h.typeLine(page, '1');
  await h.waitForScreen(page, session.atWaits[1]);
  await h.typeLine(page, LONG_GOLDBACH);

  // The smaller prime of the last pair on screen, in the rows above the
  // cursor's, which are complete.
  const lastPair = async () => {
    const screen = await h.readScreen(page);
    for (let y = screen.rows.length - 2; y >= 0; y--) {
      const pair = new RegExp(`^\\s*${LONG_GOLDBACH}=(\\d+)\\+(\\d+)$`).exec(screen.rows[y].text);
      if (pair) {
        assert.equal(Number(pair[1]) + Number(pair[2]), Number(LONG_GOLDBACH));
        return Number(pair[1]);
      }
    }
    return 0;
  };
  const listingDeadline = Date.now() + 15000;
  while (!(await lastPair())) {
    assert.ok(Date.now() < listingDeadline, 'no pair of the long listing appeared');
    await h.sleep(50);
  }

  // While it lists, the page keeps painting and the listing moves on.
  const first = await lastPair();
  const started = Date.now();
  await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
  const frameMs = Date.now() - started;
  // A page that answers only between long runs of the program feels frozen.
  assert.ok(frameMs < PAINT_DEADLINE_MS, `two frames took ${frameMs} ms during the listing`);
  await h.sleep(500);
  const second = await lastPair();
  assert.ok(second > first, `the listing does not move on (${first}, then ${second})`);
  assert.equal(await page.evaluate(() => window.quorvantile.state), 'running');

  const pressed = Date.now();
  await h.pressControl(page, 'KeyC');
  const state = await waitForState(page, 'stopped', 5000);
  const stopMs = Date.now() - pressed;
  assert.match(state.status, /stop/i);
  assert.ok(state.restart, 'no restart button');
  const stoppedAt = await lastPair();
  const shownBefore = await h.readScreen(page);
  await h.sleep(500);
  assert.equal(await lastPair(), stoppedAt, 'the listing went on after Ctrl-C');
  assert.deepEqual(await h.readScreen(page), shownBefore, 'the screen changed after Ctrl-C');
  t.diagnostic(
    `two frames during the listing: ${frameMs} ms; Ctrl-C to 'stopped': ${stopMs} ms; ` +
      `the listing went from ${first}+… to ${second}+… in 0.5 s`,
  );

  await assertRestartWorks(page);
  assertNothingWentWrong(opened);
});

test('a pasted flood of lines keeps the page drawing, reaches the program in order, and Stop acts at once', async (t) => {
  const opened = await freshPage(t);
  const { page } = opened;
  await page.evaluate(() => window.quorvantile.term.focus());
  await h.waitForPrompt(page, 'Please choose:');
  await h.typeLine(page, '2');
  await h.waitForPrompt(page, 'integer:');
  // In the page's own clock: every frame, and the run's end.
  await page.evaluate(() => {
    window.frameTimes = [];
    const tick = (time) => {
      window.frameTimes.push(time);
      requestAnimationFrame(tick);
    };
    requestAnimationFrame(tick);
    window.quorvantile.addEventListener('state', (event) => {
      if (event.detail.state === 'stopped') window.stoppedAt = performance.now();
    });
  });
  // Where Stop is, found before the flood: pressing it is a mouse's click there.
  const stop = await (await page.$('#stop')).boxModel();
  const [x, y] = [0, 1].map((k) => (stop.content[0][['x', 'y'][k]] + stop.content[2][['x', 'y'][k]]) / 2);
  const pasteMs = await page.evaluate((lines) => {
    const clipboardData = new DataTransfer();
    clipboardData.setData('text/plain', '27\n'.repeat(lines));
    const started = performance.now();
    const paste = new ClipboardEvent('paste', { clipboardData, bubbles: true, cancelable: true });
    window.quorvantile.term.textarea.dispatchEvent(paste);
    return performance.now() - started;
  }, FLOOD_LINES);
  await h.sleep(FLOOD_RUN_MS);
  const frames = await page.evaluate(
    (since) => window.frameTimes.filter((time) => time > performance.now() - since),
    FLOOD_RUN_MS / 2,
  );
  const longestGap = Math.max(...frames.slice(1).map((time, k) => time - frames[k]));
  assert.ok(pasteMs < STOP_DEADLINE_MS, `the paste held the page for ${Math.round(pasteMs)} ms`);
  assert.ok(
    frames.length >= (MIN_FRAMES_PER_SECOND * FLOOD_RUN_MS) / 2000,
    `${frames.length} frames in the last ${FLOOD_RUN_MS / 2} ms of the flood`,
  );
  assert.ok(longestGap < STOP_DEADLINE_MS, `no frame for ${Math.round(longestGap)} ms during the flood`);
  const pressed = await page.evaluate(() => performance.now());
  await page.mouse.click(x, y);
  await waitForState(page, 'stopped', 10000);
  const stopMs = await page.evaluate((from) => window.stoppedAt - from, pressed);
  assert.ok(stopMs < STOP_DEADLINE_MS, `Stop took ${Math.round(stopMs)} ms to act`);
  // Line after line of the paste, each read whole and in turn: every
  // summary is of 27, and there are some.
  const summaries = (await page.evaluate(() => window.quorvantile.sessionText())).match(/steps to get to 1 for \d+/g);
  assert.ok(summaries && summaries.length > 1, 'the program took no line of the paste');
  assert.deepEqual([...new Set(summaries)], ['steps to get to 1 for 27']);
  t.diagnostic(
    `paste of ${FLOOD_LINES} lines: ${Math.round(pasteMs)} ms; ${frames.length} frames in ` +
      `${FLOOD_RUN_MS / 2} ms, ${Math.round(longestGap)} ms apart at most; ` +
      `Stop acted in ${Math.round(stopMs)} ms after ${summaries.length} turns`,
  );
  assertNothingWentWrong(opened);
});

test('Exit shows the farewell, the page says the program has ended, and Restart works', async (t) => {
  const opened = await freshPage(t);
  const { page } = opened;
  await page.evaluate(() => window.quorvantile.term.focus());
  const inputs = ['8'];
  const session = await h.nativeSession(NATIVE, inputs);
  assert.match(session.text, /Thank you! ~~Bye~~/);
  await playSession(page, session, inputs);
  const state = await waitForState(page, 'ended');
  assert.match(state.status, /end/i);
  assert.ok(state.restart, 'no restart button');
  await assertRestartWorks(page);
  // The saved session keeps both runs, the second begun by a line that says so.
  const again = await h.nativeSession(NATIVE, ['2', '6']);
  const saved = await page.evaluate(() => window.quorvantile.sessionText());
  assert.ok(saved.startsWith(session.text), 'the first run is not in the saved session');
  const marker = saved.slice(session.text.length).split('\n')[0];
  assert.match(marker, /^\[Run 2 of this session, started again at \d\d:\d\d:\d\d\]$/);
  assert.equal(saved, `${session.text}${marker}\n${again.text}`);
  assertNothingWentWrong(opened);
});

test('the single-file page opened from file:// shows the menu and needs nothing else', async (t) => {
  assert.ok(fs.existsSync(SINGLE), `no single file at ${SINGLE}`);
  // Alone in a folder, as a file handed out to students.
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvantile-single-'));
  t.after(() => fs.rmSync(dir, { recursive: true, force: true }));
  const copy = path.join(dir, 'quorvantile.html');
  fs.copyFileSync(SINGLE, copy);
  const url = `file://${copy}`;
  const opened = await freshPage(t, url);
  const session = await h.nativeSession(NATIVE, [h.EOF]);
  await h.waitForScreen(opened.page, session.atWaits[0]);
  assertRequestsStayAt(opened, url);
  assertNothingWentWrong(opened);
});

// The reference itself: a program that writes without end is stopped at the
// output limit, instead of filling the disk and the memory.
test('the native reference gives up on a program that writes without end', async () => {
  await assert.rejects(h.nativeSession('/usr/bin/yes', ['1']), new RegExp(`more than ${h.NATIVE_OUTPUT_LIMIT} bytes`));
});
