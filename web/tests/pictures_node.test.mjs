// The pictures under plain node: the numbers the program's exports encode
// (pictures/picture_exports_web.cc), decoded by the page's one decoder, against the
// same numbers worked out here; the pictures' controls, their colours on
// paper and their words in both languages.
//
// QUORVANTILE_MODULE is the web build's quorvantile.js; without it the
// round trip is skipped and the rest still runs.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import { test } from 'node:test';
import * as draw from '../pictures/draw.js';
import { DEMONSTRATIONS } from '../pictures/demonstrations.js';
import { PALETTE, readPalette } from '../pictures/palette.js';
import { onPaper, titled, paperStyle } from '../pictures/svg.js';
import { PICTURE_WORDS } from '../pictures/words.js';

// The pictures' colours as the page's style sheet names them.
const css = fs.readFileSync(new URL('../shell/style.css', import.meta.url), 'utf8');
const custom = Object.fromEntries([...css.matchAll(/(--[\w-]+):\s*([^;]+);/g)].map(([, name, value]) => [name, value]));
readPalette({ getPropertyValue: (name) => custom[name] || '' });

const MODULE = process.env.QUORVANTILE_MODULE;

function sieve(n) {
  const prime = new Uint8Array(n + 1).fill(1);
  prime[0] = 0;
  prime[1] = 0;
  for (let p = 2; p * p <= n; p++) if (prime[p]) for (let k = p * p; k <= n; k += p) prime[k] = 0;
  return prime;
}

function goldbachSmaller(n) {
  const prime = sieve(n);
  const smaller = [];
  for (let p = 2; p <= n / 2; p++) if (prime[p] && prime[n - p]) smaller.push(p);
  return smaller;
}

function collatz(n) {
  const terms = [BigInt(n)];
  for (let v = BigInt(n); v !== 1n;) terms.push((v = v % 2n ? 3n * v + 1n : v / 2n));
  const peak = terms.reduce((a, b) => (b > a ? b : a));
  return { steps: terms.length - 1, peak, peakStep: terms.indexOf(peak) };
}

function fourSquares(n) {
  const found = new Set();
  for (let i = 0; i * i <= n; i++) {
    for (let j = 0; i * i + j * j <= n; j++) {
      for (let k = 0; i * i + j * j + k * k <= n; k++) {
        const m = Math.round(Math.sqrt(n - i * i - j * j - k * k));
        if (i * i + j * j + k * k + m * m === n) found.add([i, j, k, m].join());
      }
    }
  }
  return found;
}

// Each case: a demonstration, an entry, and what its numbers must hold.
const ROUND_TRIPS = [
  ['goldbach', 4, (d) => assert.deepEqual([d.count, d.smaller], [1, [2]])],
  ['goldbach', 10, (d) => assert.deepEqual([d.count, d.smaller], [2, [3, 5]])],
  [
    'goldbach',
    9998,
    (d) => {
      assert.deepEqual(d.smaller, goldbachSmaller(9998));
      const prime = sieve(9998);
      const comet = [];
      for (let m = 4; m <= 9998; m += 2) {
        let pairs = 0;
        for (let p = 2; p <= m / 2; p++) pairs += prime[p] & prime[m - p];
        comet.push(pairs);
      }
      assert.deepEqual(d.counts.slice(2), comet);
    },
  ],
  [
    'goldbach',
    1000000,
    (d) => {
      const smaller = goldbachSmaller(1000000);
      assert.equal(d.counted, true);
      assert.equal(d.count, smaller.length);
      assert.equal(d.runStarts.length, draw.GOLDBACH_RUNS + 1);
      const runs = d.runCounts.map(
        (_, k) => smaller.filter((p) => p >= d.runStarts[k] && p < d.runStarts[k + 1]).length,
      );
      assert.deepEqual(d.runCounts, runs);
    },
  ],
  ['collatz', 27, (d) => assert.deepEqual([d.steps, d.peak, d.peakStep], [111, 9232, 77])],
  // A peak past 2^53 comes whole, as a BigInt.
  [
    'collatz',
    1410123943,
    (d) => {
      const expected = collatz(1410123943);
      assert.ok(expected.peak > 2n ** 53n);
      assert.deepEqual(
        [d.steps, d.peak, d.peakStep, d.terms.length],
        [expected.steps, expected.peak, expected.peakStep, expected.steps + 1],
      );
    },
  ],
  [
    'nicomachus',
    5,
    (d) =>
      assert.deepEqual(
        [d.sides, d.cubeSums],
        [
          [1, 3, 6, 10, 15],
          [1, 9, 36, 100, 225],
        ],
      ),
  ],
  // The terminal's one run of 450 numbers, and band 60's run of 60.
  ['nicomachus', 60, (d) => assert.deepEqual([d.written, d.more, d.band], [[[31, 929, 450]], true, [3541, 3659, 60]])],
  [
    'four-square',
    1000,
    (d) => {
      const all = fourSquares(1000);
      const given = new Set(d.roots.map((r) => [...r].sort((a, b) => b - a).join()));
      assert.equal(d.complete, true);
      assert.equal(d.count, d.roots.length);
      assert.equal(given.size, d.count);
      for (const r of d.roots) assert.ok(all.has(r.join()), `${r} of 1000`);
    },
  ],
  [
    'sieve',
    100,
    (d) => {
      const prime = sieve(100);
      assert.equal(d.count, 25);
      d.factors.forEach((f, k) => {
        if (k < 2) return assert.equal(f, 0);
        for (let p = 2; p < f; p++) assert.notEqual(k % p, 0, `${k}`);
        assert.ok(prime[f] && k % f === 0, `${k}: ${f}`);
      });
    },
  ],
  [
    'sieve',
    99991,
    (d) => {
      const prime = sieve(99991);
      let count = 0;
      const pi = [];
      for (let x = 0; x <= 99991; x++) pi.push((count += prime[x]));
      assert.deepEqual(
        d.curvePi,
        d.curveX.map((x) => pi[x]),
      );
      assert.equal(d.curveX[d.curveX.length - 1], 99991);
    },
  ],
];

test(
  "the program's numbers arrive as the exports encode them",
  { skip: !MODULE && 'no QUORVANTILE_MODULE' },
  async () => {
    const wasmBinary = fs.readFileSync(MODULE.replace(/\.js$/, '.wasm'));
    const module = await createRequire(import.meta.url)(MODULE)({ wasmBinary, print: () => {}, printErr: () => {} });
    for (const [demo, n, check] of ROUND_TRIPS) {
      const d = DEMONSTRATIONS[demo].numbers(module, n);
      assert.equal(d.n, n);
      try {
        check(d);
      } catch (error) {
        error.message = `${demo} ${n}: ${error.message}`;
        throw error;
      }
      // Each picture draws from them at both ends of its widths.
      for (const width of [draw.NARROWEST, draw.WIDEST]) {
        const picture = DEMONSTRATIONS[demo].draw(d, { width, more: () => d });
        assert.match(picture.markup(), /^<svg /, `${demo} ${n} at ${width}`);
      }
    }
  },
);

// Small numbers, as the exports give them, for the pictures' own tests.
function sieveNumbers(n) {
  const prime = sieve(n);
  const factors = Array.from({ length: n + 1 }, (_, k) => {
    for (let p = 2; p <= k; p++) if (prime[p] && k % p === 0) return p;
    return 0;
  });
  return { n, count: prime.reduce((a, b) => a + b, 0), factors, curveX: [], curvePi: [] };
}

// The sieve's beats, run by hand.
function handTimers(t) {
  const running = new Map();
  let next = 1;
  const saved = [globalThis.setInterval, globalThis.clearInterval];
  globalThis.setInterval = (f) => (running.set(next, f), next++);
  globalThis.clearInterval = (id) => running.delete(id);
  t.after(() => ([globalThis.setInterval, globalThis.clearInterval] = saved));
  return (k) => {
    for (let i = 0; i < k; i++) [...running.values()].forEach((f) => f());
  };
}

test('the sieve plays and steps through its primes, and Collatz switches scale', (t) => {
  const beats = handTimers(t);
  const picture = draw.sievePicture(sieveNumbers(100), { width: 400 });
  const [play, step] = picture.controls;
  const struck = () => (picture.markup().match(/fill-opacity="0.35"/g) || []).length;
  const note = () => {
    const last = /<text[^>]*>((?:<tspan[^>]*>[^<]*<\/tspan>)+)<\/text><\/g><\/svg>$/.exec(picture.markup())[1];
    return [...last.matchAll(/>([^<]*)</g)]
      .map((m) => m[1])
      .filter(Boolean)
      .join(' ');
  };
  // Drawn done: every composite struck; one step starts again from nothing.
  assert.deepEqual([struck(), note()], [74, "composites struck in their smallest prime's colour"]);
  step.act();
  assert.deepEqual([struck(), note()], [0, 'nothing struck yet']);
  const seen = [];
  for (let k = 0; k < 4; k++) {
    step.act();
    seen.push([struck(), note()]);
  }
  // 2 strikes 49 numbers, 3 then 16 more, 5 then 6, 7 then 3.
  assert.deepEqual(
    seen.map(([s]) => s),
    [49, 65, 71, 74],
  );
  assert.equal(seen[0][1], 'striking the multiples of 2');
  // Play runs from the start to the end, a prime per beat, and stops.
  let redrawn = 0;
  assert.equal(play.key(), 'picture.sieve.play');
  play.act(() => redrawn++);
  assert.equal(play.key(), 'picture.sieve.pause');
  assert.equal(struck(), 0);
  beats(1);
  assert.equal(struck(), 49);
  beats(3);
  assert.deepEqual([struck(), redrawn, play.key()], [74, 4, 'picture.sieve.play']);
  // Paused mid-way, it stays.
  play.act(() => redrawn++);
  beats(1);
  play.act(() => redrawn++);
  beats(5);
  assert.deepEqual([struck(), play.key()], [49, 'picture.sieve.play']);

  const terms = [27];
  while (terms[terms.length - 1] !== 1) {
    const v = terms[terms.length - 1];
    terms.push(v % 2 ? 3 * v + 1 : v / 2);
  }
  const path = draw.collatzPicture({ n: 27, steps: 111, peak: 9232n, peakStep: 77, terms }, { width: 400 });
  const [scale] = path.controls;
  const yLabels = () => [...path.markup().matchAll(/text-anchor="end">([^<]+)</g)].map((m) => m[1]);
  assert.equal(scale.key(), 'picture.collatz.log');
  assert.ok(yLabels().includes('8000'));
  scale.act();
  assert.equal(scale.key(), 'picture.collatz.linear');
  assert.deepEqual(
    yLabels().filter((l) => l.startsWith('10')),
    ['10', '100', '1000'],
  );
  scale.act();
  assert.ok(yLabels().includes('8000'));
});

// The luminance of a #rrggbb colour, as contrast ratios use it.
function luminance(hex) {
  const [r, g, b] = [1, 3, 5]
    .map((k) => parseInt(hex.slice(k, k + 2), 16) / 255)
    .map((c) => (c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4));
  return 0.2126 * r + 0.7152 * g + 0.0722 * b;
}

test("on paper every picture is in the palette's paper colours, titled, and printed the same", () => {
  const contrast = (a, b) =>
    (Math.max(luminance(a), luminance(b)) + 0.05) / (Math.min(luminance(a), luminance(b)) + 0.05);
  // Words, axes, lines and marks read on white.
  for (const role of ['words', 'axis', 'line', 'accent']) {
    assert.ok(contrast(PALETTE[role].paper, PALETTE.background.paper) >= 4.5, role);
  }
  const changing = Object.entries(PALETTE).filter(([role, c]) => role !== 'background' && c.screen !== c.paper);
  const paperColours = new Set(Object.values(PALETTE).map((c) => c.paper));
  const screens = [
    draw.sievePicture(sieveNumbers(100), { width: 400 }),
    draw.collatzPicture(
      { n: 6, steps: 8, peak: 16n, peakStep: 3, terms: [6, 3, 10, 5, 16, 8, 4, 2, 1] },
      { width: 400 },
    ),
    draw.goldbachPicture(
      { n: 10, bound: 10, counts: [0, 0, 1, 1, 1, 2], counted: true, count: 2, smaller: [3, 5] },
      { width: 640 },
    ),
  ];
  for (const picture of screens) {
    const paper = onPaper(titled(picture.markup()));
    const colours = [...paper.matchAll(/ (?:fill|stroke)="(#[0-9a-f]{6})"/g)].map((m) => m[1]);
    assert.deepEqual(
      colours.filter((c) => !paperColours.has(c)),
      [],
      picture.label,
    );
    assert.ok(colours.includes(PALETTE.words.paper), picture.label);
    assert.equal(
      paper.match(/<rect class="qv-bg"[^>]*>/g).every((r) => r.includes(`fill="${PALETTE.background.paper}"`)),
      true,
    );
    // The title: the label, over the picture.
    assert.ok(paper.includes(`class="qv-title"`) && paper.includes(picture.label.split(' ')[0]), picture.label);
  }
  const printed = paperStyle('#p');
  for (const [role, { screen, paper }] of changing) {
    assert.ok(
      printed.includes(`#p [fill="${screen}"] { fill: ${paper}; }`) &&
        printed.includes(`#p [stroke="${screen}"] { stroke: ${paper}; }`),
      role,
    );
  }
});

test("the pictures' words: the same keys and blanks in Chinese as in English, and every key a picture uses", () => {
  const WORDS = PICTURE_WORDS;
  const blanks = (text) => (text.match(/\{\w+\}/g) || []).sort();
  assert.deepEqual(Object.keys(WORDS.zh).sort(), Object.keys(WORDS.en).sort());
  for (const key of Object.keys(WORDS.en)) assert.deepEqual(blanks(WORDS.zh[key]), blanks(WORDS.en[key]), key);
  const used = new Set();
  for (const file of ['pane.js', 'draw.js']) {
    const source = fs.readFileSync(new URL(`../pictures/${file}`, import.meta.url), 'utf8');
    for (const [, key] of source.matchAll(/'(picture\.[\w.]+)'/g)) used.add(key);
  }
  assert.deepEqual(
    [...used].filter((key) => !(key in WORDS.en)),
    [],
  );
});
