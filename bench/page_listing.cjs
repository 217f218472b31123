#!/usr/bin/env node
// Times listings in the page, in headless Chromium: from the Enter that
// starts a turn to the first moment the terminal's buffer holds the turn's
// end (the prompt for the next number, below the turn's closing line).
//
//   node bench/page_listing.cjs BUILD-WEB-DIR RENDERER CHOICE:NUMBER...
//
// RENDERER is dom (the page as it is), canvas or webgl (the xterm.js addon,
// when web/node_modules has it, loaded into the page before the turn). Each
// turn runs in a fresh page; prints one line per turn: "CHOICE:NUMBER
// SECONDS CPU-SECONDS", the CPU time being that of all the browser's
// processes over the turn (Linux). Not a test: nothing is asserted.
'use strict';

const path = require('node:path');
const fs = require('node:fs');
const h = require('../web/tests/harness.cjs');

// The page as the issue measured it: a laptop's screen.
const VIEWPORT = { width: 1366, height: 768 };
// The listings timed: Goldbach (1) and four squares (4).
const NEXT_PROMPT = { 1: 'Please input a positive even integer:', 4: 'Please input a positive integer:' };
const TURN_TIMEOUT_MS = 600000;
const CLOCK_TICKS = 100; // per second, in /proc/PID/stat (USER_HZ)

// CPU seconds used so far by the browser and every process below it: on a
// shared machine a steadier measure than the wall clock.
function browserCpuSeconds(rootPid) {
  const parents = new Map();
  const ticks = new Map();
  for (const name of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(name)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${name}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      parents.set(Number(name), Number(fields[1]));
      ticks.set(Number(name), Number(fields[11]) + Number(fields[12]));
    } catch {
      // The process has ended meanwhile.
    }
  }
  let total = 0;
  for (const [pid, used] of ticks) {
    for (let p = pid; p > 1; p = parents.get(p) || 0) {
      if (p === rootPid) {
        total += used;
        break;
      }
    }
  }
  return total / CLOCK_TICKS;
}

async function timeTurn(browser, url, renderer, choice, number) {
  const rootPid = browser.process().pid;
  const { page } = await h.openPage(browser, url, { viewport: VIEWPORT });
  if (renderer !== 'dom') {
    const name = renderer === 'canvas' ? 'addon-canvas' : 'addon-webgl';
    const file = path.join(__dirname, '..', 'web', 'node_modules', '@xterm', name, 'lib', `${name}.js`);
    await page.addScriptTag({ content: fs.readFileSync(file, 'utf8') });
    await page.evaluate((kind) => {
      const { term } = window.quorvantile;
      const addon = kind === 'canvas' ? new window.CanvasAddon.CanvasAddon() : new window.WebglAddon.WebglAddon();
      term.loadAddon(addon);
    }, renderer);
  }
  await h.waitForPrompt(page, /Please choose:\s*/);
  await page.evaluate(() => window.quorvantile.term.focus());
  await h.typeLine(page, String(choice));
  await h.waitForPrompt(page, NEXT_PROMPT[choice]);
  await page.keyboard.type(String(number));
  // The page itself notes when the end is parsed into its buffer.
  await page.evaluate((prompt) => {
    const { term } = window.quorvantile;
    window.turnEnded = null;
    const subscription = term.onWriteParsed(() => {
      const buffer = term.buffer.active;
      const y = buffer.baseY + buffer.cursorY;
      const row = buffer.getLine(y).translateToString(true);
      if (!row.endsWith(prompt)) return;
      for (let up = y - 1; up >= Math.max(0, y - 8); up--) {
        const text = buffer.getLine(up).translateToString(true);
        if (/There are|total loop/.test(text)) {
          window.turnEnded = performance.now();
          subscription.dispose();
          return;
        }
      }
    });
    window.turnStarted = performance.now();
  }, NEXT_PROMPT[choice]);
  const cpuBefore = browserCpuSeconds(rootPid);
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => window.turnEnded !== null, { timeout: TURN_TIMEOUT_MS, polling: 20 });
  const cpu = browserCpuSeconds(rootPid) - cpuBefore;
  const seconds = await page.evaluate(() => (window.turnEnded - window.turnStarted) / 1000);
  await page.close();
  return { seconds, cpu };
}

async function main() {
  const [buildWeb, renderer, ...turns] = process.argv.slice(2);
  if (!buildWeb || !['dom', 'canvas', 'webgl'].includes(renderer) || turns.length === 0) {
    console.error('usage: page_listing.cjs BUILD-WEB-DIR dom|canvas|webgl CHOICE:NUMBER...');
    process.exit(2);
  }
  const server = await h.serve(path.join(buildWeb, 'web'));
  const { browser, close } = await h.launchBrowser();
  try {
    for (const turn of turns) {
      const [choice, number] = turn.split(':').map(Number);
      const { seconds, cpu } = await timeTurn(browser, server.url, renderer, choice, number);
      console.log(`${turn} ${seconds.toFixed(3)} ${cpu.toFixed(2)}`);
    }
  } finally {
    await close();
    await server.close();
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
