// Shared pieces of the browser tests: the native program run as a reference,
// what a terminal shows for its output (the page's own terminal widget,
// headless), a static server bound to 127.0.0.1, headless Chromium, and
// reading the page's terminal.
'use strict';

const childProcess = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');
const { Terminal } = require('@xterm/headless');

const CHROMIUM = process.env.QUORVANTILE_CHROMIUM || '/usr/bin/chromium';
// Input closed where a line would have been typed: Ctrl-D at a terminal.
const EOF = Symbol('end of input');
// How long the native program may take to reach its next read or its end.
const NATIVE_STEP_TIMEOUT_MS = 10000;
// The most output the native program may write in one session: far above
// the longest listing a test asks for (about 9 MB), far below what would
// fill the disk or the memory if a program wrote without end.
const NATIVE_OUTPUT_LIMIT = 64 * 1024 * 1024;
// The number of read() in /proc/PID/syscall, by Linux's numbering per machine.
const READ_SYSCALL = process.arch === 'arm64' ? '63' : '0';

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// ---------------------------------------------------------------------------
// The native program as the reference.

// Whether `pid` sleeps in read() on its standard input, and how often it has
// gone to sleep so far; null once it has ended.
function readState(pid) {
  try {
    const status = fs.readFileSync(`/proc/${pid}/status`, 'utf8');
    const sleeps = Number(/voluntary_ctxt_switches:\s*(\d+)/.exec(status)[1]);
    const call = fs.readFileSync(`/proc/${pid}/syscall`, 'utf8').split(' ');
    // The first argument of read() is the descriptor.
    return { sleeps, waitsForInput: call[0] === READ_SYSCALL && call[1] === '0x0' };
  } catch {
    return null;
  }
}

// Runs the native program, typing `inputs` one line at a time, each only
// once the program waits for it, as a user at a terminal does. Its standard
// output is a file, so every byte it wrote before a wait is known at the
// wait. Returns the text a terminal would receive, the typed lines echoed
// where they were typed, and that text as it stood at each wait.
async function nativeSession(exe, inputs) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvantile-native-'));
  const outPath = path.join(dir, 'out');
  const outFd = fs.openSync(outPath, 'w+');
  const env = { ...process.env, LC_ALL: 'C.UTF-8', NO_COLOR: '1' };
  const child = childProcess.spawn(exe, [], { stdio: ['pipe', outFd, 'inherit'], env });
  let exitCode = null;
  const exited = new Promise((resolve) =>
    child.on('exit', (code) => {
      exitCode = code;
      resolve();
    }),
  );
  child.stdin.on('error', () => {});

  let shown = '';
  let taken = 0;
  const outputSize = () => {
    const size = fs.fstatSync(outFd).size;
    if (size > NATIVE_OUTPUT_LIMIT) {
      throw new Error(`the native program wrote more than ${NATIVE_OUTPUT_LIMIT} bytes (${size} so far)`);
    }
    return size;
  };
  const takeOutput = () => {
    const size = outputSize();
    const bytes = Buffer.alloc(size - taken);
    fs.readSync(outFd, bytes, 0, bytes.length, taken);
    taken = size;
    shown += bytes.toString('utf8');
  };
  // Waits until the program sleeps in a read after `sleepsBefore` sleeps;
  // seen twice alike, so a read that is just being left is not taken.
  const nextWait = async (sleepsBefore) => {
    const deadline = Date.now() + NATIVE_STEP_TIMEOUT_MS;
    let previous = null;
    for (;;) {
      outputSize(); // also while it neither waits nor ends
      if (exitCode !== null) return null;
      const state = readState(child.pid);
      if (state && state.waitsForInput && state.sleeps > sleepsBefore) {
        if (previous && previous.sleeps === state.sleeps) return state;
        previous = state;
      } else {
        previous = null;
      }
      if (Date.now() > deadline) throw new Error('the native program neither waits for input nor ends');
      await sleep(2);
    }
  };

  const atWaits = [];
  let sleeps = -1;
  try {
    for (const input of inputs) {
      const state = await nextWait(sleeps);
      if (!state) throw new Error(`the native program ended before input #${atWaits.length + 1}`);
      sleeps = state.sleeps;
      takeOutput();
      atWaits.push(shown);
      if (input === EOF) {
        child.stdin.end();
        break;
      }
      child.stdin.write(`${input}\n`);
      shown += `${input}\n`;
    }
    // After the last input the program ends, or waits for more: the
    // screen of a user who stops typing there.
    const end = await Promise.race([
      exited.then(() => 'ended'),
      nextWait(sleeps).then((state) => (state ? 'waits' : 'ended')),
    ]);
    takeOutput();
    return { text: shown, atWaits, ended: end === 'ended', exitCode };
  } finally {
    if (exitCode === null) child.kill('SIGKILL');
    fs.closeSync(outFd);
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

// ---------------------------------------------------------------------------
// What a terminal of `cols` columns shows for a text, by the page's terminal
// widget itself (xterm.js, headless): its rows from the top to the cursor's,
// right-trimmed, with whether each continues the row above, and the
// cursor's column. It keeps more rows than the page's terminal does (its
// scrollback and screen), so that the page's rows are always among them.

const KEPT_ROWS = 6000;
let lastShown = null; // { text, cols, shown }: a wait asks again for the same text
async function terminalRows(text, cols) {
  if (lastShown && lastShown.text === text && lastShown.cols === cols) return lastShown.shown;
  const term = new Terminal({ cols, rows: 1, scrollback: KEPT_ROWS, convertEol: true, allowProposedApi: true });
  await new Promise((resolve) => term.write(text, resolve));
  const buffer = term.buffer.active;
  const rows = [];
  for (let y = 0; y <= buffer.baseY + buffer.cursorY; y++) {
    const line = buffer.getLine(y);
    rows.push({ text: line.translateToString(true).trimEnd(), wrapped: line.isWrapped });
  }
  const shown = { rows, cursorX: buffer.cursorX };
  term.dispose();
  lastShown = { text, cols, shown };
  return shown;
}

// ---------------------------------------------------------------------------
// Static files on 127.0.0.1.

const MIME = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript',
  '.mjs': 'text/javascript',
  '.css': 'text/css',
  '.wasm': 'application/wasm',
  '.json': 'application/json',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
  '.ico': 'image/x-icon',
  '.map': 'application/json',
  '.data': 'application/octet-stream',
  '.txt': 'text/plain; charset=utf-8',
};

// `port` 0 takes a free one; a port given again serves the same origin.
async function serve(root, port = 0) {
  const base = path.resolve(root);
  const server = http.createServer((request, response) => {
    let name = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
    if (name.endsWith('/')) name += 'index.html';
    const file = path.resolve(base, `.${name}`);
    if (!file.startsWith(base + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {
      'Content-Type': MIME[path.extname(file)] || 'application/octet-stream',
      'Content-Length': fs.statSync(file).size,
    });
    fs.createReadStream(file).pipe(response);
  });
  await new Promise((resolve) => server.listen(port, '127.0.0.1', resolve));
  const url = `http://127.0.0.1:${server.address().port}/`;
  return { url, close: () => new Promise((resolve) => server.close(resolve)) };
}

// ---------------------------------------------------------------------------
// Headless Chromium.

async function launchBrowser() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvantile-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: false, // the mode is chosen by the argument below
    userDataDir: profile,
    args: [
      '--no-sandbox',
      '--headless=new',
      '--disable-gpu',
      '--disable-background-networking',
      '--disable-component-update',
      '--no-first-run',
      '--disable-sync',
      '--disable-quic',
    ],
  });
  return {
    browser,
    close: async () => {
      await browser.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

// A new page that records what goes wrong in it, every URL it asks for and
// (in window.stateEvents) every change of the run's state; it is returned
// once the program runs, or once it has loaded if `waitForRun` is false.
// `setUp`, when given, runs in the page before its own scripts; `viewport`
// is the window it opens in.
async function openPage(
  browser,
  url,
  { waitForRun = true, setUp = null, viewport = { width: 1024, height: 768 } } = {},
) {
  const page = await browser.newPage();
  await page.evaluateOnNewDocument(() => {
    // The page's handle hears every state from the first, as it is set.
    window.stateEvents = [];
    let handle;
    Object.defineProperty(window, 'quorvantile', {
      configurable: true,
      get: () => handle,
      set(run) {
        handle = run;
        run.addEventListener('state', (event) => window.stateEvents.push(event.detail));
      },
    });
  });
  if (setUp) await page.evaluateOnNewDocument(setUp);
  await page.setViewport(viewport);
  const problems = [];
  const requests = [];
  page.on('pageerror', (error) => problems.push(`page error: ${error.message}`));
  page.on('console', (message) => {
    // Failed loads are reported below with their URL.
    if (message.type() === 'error' && !message.text().startsWith('Failed to load resource')) {
      problems.push(`console error: ${message.text()}`);
    }
  });
  page.on('request', (request) => requests.push(request.url()));
  page.on('requestfailed', (request) => problems.push(`failed: ${request.url()}`));
  page.on('response', (response) => {
    // Browsers ask for a favicon on their own.
    const own = new URL(response.url()).pathname === '/favicon.ico';
    if (response.status() >= 400 && !own) problems.push(`HTTP ${response.status()}: ${response.url()}`);
  });
  await page.goto(url, { waitUntil: 'load' });
  if (!waitForRun) return { page, problems, requests };
  await page.waitForFunction(() => window.quorvantile && window.quorvantile.state === 'running', { timeout: 30000 });
  return { page, problems, requests };
}

// The terminal's rows from the top of its buffer to the cursor's row.
function readScreen(page) {
  return page.evaluate(() => {
    const { term } = window.quorvantile;
    const buffer = term.buffer.active;
    const rows = [];
    for (let y = 0; y <= buffer.baseY + buffer.cursorY; y++) {
      const line = buffer.getLine(y);
      rows.push({ text: line.translateToString(true).trimEnd(), wrapped: line.isWrapped });
    }
    return {
      rows,
      cursorX: buffer.cursorX,
      cols: term.cols,
      height: term.rows,
      full: buffer.length >= term.rows + term.options.scrollback,
    };
  });
}

function describeRows(rows) {
  return rows.map((row) => `${row.wrapped ? '~' : '|'}${row.text}`).join('\n');
}

// Where the screen and the expected rows differ, or null. A buffer that has
// reached its scrollback limit has dropped its oldest rows, so only its
// rows are compared, against the end of the expected ones.
function screenDifference(screen, expected) {
  let wanted = expected.rows;
  if (screen.full && wanted.length > screen.rows.length) wanted = wanted.slice(wanted.length - screen.rows.length);
  const same =
    screen.rows.length === wanted.length &&
    screen.rows.every((row, i) => row.text === wanted[i].text && row.wrapped === wanted[i].wrapped) &&
    screen.cursorX === expected.cursorX;
  if (same) return null;
  let first = 0;
  while (
    first < Math.min(screen.rows.length, wanted.length) &&
    screen.rows[first].text === wanted[first].text &&
    screen.rows[first].wrapped === wanted[first].wrapped
  ) {
    first++;
  }
  const from = Math.max(0, first - 2);
  return (
    `screen and native output differ from row ${first} on ` +
    `(cursor at column ${screen.cursorX}, expected ${expected.cursorX}).\n` +
    `--- screen:\n${describeRows(screen.rows.slice(from, first + 6))}\n` +
    `--- native:\n${describeRows(wanted.slice(from, first + 6))}`
  );
}

// Waits until the screen shows what a terminal shows for `text`.
async function waitForScreen(page, text, timeoutMs = 10000) {
  const deadline = Date.now() + timeoutMs;
  let difference;
  for (;;) {
    const screen = await readScreen(page);
    difference = screenDifference(screen, await terminalRows(text, screen.cols));
    if (!difference) return screen;
    if (Date.now() > deadline) throw new Error(difference);
    await sleep(20);
  }
}

// The rows a terminal of `cols` columns shows last for `text`, for a screen
// whose earlier content does not matter.
async function lastRows(text, cols) {
  const { rows } = await terminalRows(text, cols);
  return rows.map((row) => row.text);
}

// Waits until the rows up to the cursor end with the rows a terminal shows
// for `text`.
async function waitForScreenEnding(page, text, timeoutMs = 10000) {
  const deadline = Date.now() + timeoutMs;
  for (;;) {
    const screen = await readScreen(page);
    const wanted = await lastRows(text, screen.cols);
    const shown = screen.rows.slice(-wanted.length).map((row) => row.text);
    if (shown.length === wanted.length && shown.every((row, i) => row === wanted[i])) return screen;
    if (Date.now() > deadline) {
      throw new Error(
        `the screen does not end as expected\n--- screen:\n${shown.join('\n')}\n--- expected:\n${wanted.join('\n')}`,
      );
    }
    await sleep(20);
  }
}

// Waits until the cursor's row ends with `prompt`: a string, or a RegExp
// whose match ends the row.
function waitForPrompt(page, prompt, timeoutMs = 30000) {
  const pattern = prompt instanceof RegExp ? `(?:${prompt.source})$` : null;
  return page.waitForFunction(
    (text, source) => {
      const buffer = window.quorvantile.term.buffer.active;
      const row = buffer.getLine(buffer.baseY + buffer.cursorY).translateToString(true);
      return source ? new RegExp(source).test(row) : row.endsWith(text);
    },
    { timeout: timeoutMs },
    pattern ? '' : prompt,
    pattern,
  );
}

// The frame of a screenshot script run as `node SCRIPT BUILD-WEB-DIR
// OUTPUT-FOLDER`: Chromium and the web build's page served for
// shoot({ browser, url, folder }), both closed however it ends.
function screenshotScript(script, shoot) {
  const [webBuild, folder] = process.argv.slice(2);
  if (!webBuild || !folder) {
    console.error(`usage: node web/tests/${script} BUILD-WEB-DIR OUTPUT-FOLDER`);
    process.exit(2);
  }
  (async () => {
    const chromium = await launchBrowser();
    const server = await serve(path.join(webBuild, 'web'));
    try {
      await shoot({ browser: chromium.browser, url: server.url, folder });
    } finally {
      await server.close();
      await chromium.close();
    }
  })().catch((error) => {
    console.error(error);
    process.exit(1);
  });
}

// Types each input once the screen shows exactly what the native program
// had written, with the earlier lines echoed, when it waited for it.
async function playSession(page, session, inputs) {
  if (session.atWaits.length !== inputs.length)
    throw new Error('the native program waited for a different number of lines');
  for (let i = 0; i < inputs.length; i++) {
    await waitForScreen(page, session.atWaits[i]);
    if (inputs[i] === EOF) await pressControl(page, 'KeyD');
    else await typeLine(page, inputs[i]);
  }
  return waitForScreen(page, session.text);
}

async function typeLine(page, line) {
  await page.keyboard.type(line);
  await page.keyboard.press('Enter');
}

async function pressControl(page, key) {
  await page.keyboard.down('Control');
  await page.keyboard.press(key);
  await page.keyboard.up('Control');
}

// The frame every browser test file shares: before its tests, headless
// Chromium and a server of the built page in `served` (checked to exist, as is
// the native program where `native` names it); after them, both closed.
// freshPage(t, url, options) opens a page (openPage) that closes when test t
// ends; `browser` and `url` are there once the tests run. `prepare(tests)`,
// when given, runs in the same hook once both are up.
function browserTests(served, native = null, prepare = null) {
  const { after, before } = require('node:test');
  const assert = require('node:assert/strict');
  let chromium = null;
  let server = null;
  const tests = {
    get browser() {
      return chromium.browser;
    },
    get url() {
      return server.url;
    },
    async freshPage(t, url = server.url, options = {}) {
      const opened = await openPage(chromium.browser, url, options);
      t.after(() => opened.page.close());
      return opened;
    },
  };
  before(async () => {
    assert.ok(served && fs.existsSync(path.join(served, 'index.html')), `no page at ${served}/index.html`);
    if (native !== null) assert.ok(native && fs.existsSync(native), `no native program at ${native}`);
    chromium = await launchBrowser();
    server = await serve(served);
    if (prepare) await prepare(tests);
  });
  after(async () => {
    if (chromium) await chromium.close();
    if (server) await server.close();
  });
  return tests;
}

module.exports = {
  EOF,
  browserTests,
  NATIVE_OUTPUT_LIMIT,
  lastRows,
  launchBrowser,
  nativeSession,
  openPage,
  playSession,
  pressControl,
  readScreen,
  screenDifference,
  screenshotScript,
  serve,
  sleep,
  terminalRows,
  typeLine,
  waitForPrompt,
  waitForScreen,
  waitForScreenEnding,
};
