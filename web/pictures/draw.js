// Each demonstration's picture, made from the numbers the program gives for
// an entry (decoded by pictures/demonstrations.js, which names the
// picture of each) and laid out for a picture `width` units wide and, where
// it can, at most `room` units high (the pane's room, web/pictures.js):
// { label, markup(), controls }. Every word is placed apart from the others
// and inside the picture at any width from NARROWEST to WIDEST.
import { t } from './words.js';
import { COLOUR, ACCENT, LINE } from './palette.js';
import {
  chartHeight,
  CHART_LEAST_HEIGHT,
  MARGIN,
  SMALLEST_WORD_SIZE,
  textWidth,
  wrapWords,
  text,
  lines,
  round,
  axes,
  svg,
  hue,
} from './svg.js';

// The widths pictures are laid out for: the pane picks one between these
// that keeps the smallest words legible at its size (pictures/pane.js).
export const WIDEST = 640;
export const NARROWEST = 320;
// Goldbach: n's pairs are drawn as arcs up to this many (a few hundred
// stay legible); past the comet, n's pairs are counted in this many runs
// of their smaller prime.
export const ARC_PAIRS_LIMIT = 300;
export const GOLDBACH_RUNS = 48;
// The arcs' height, and the least that still parts them; the caption's
// gap above them and the primes' line below them take this much more.
const ARCS_HEIGHT = 150;
const ARCS_LEAST_HEIGHT = 45;
const ARCS_WORDS_HEIGHT = 36;
// Nicomachus's bands stay legible up to this n; above it, the two sides of
// the equation as they grow.
const TILING_LIMIT = 40;
// Runs named in the words beside the square; the terminal lists up to 16.
const DRAWN_RUNS = 4;
// Sums of odd numbers are drawn wider than textWidth reckons (a plus sign
// takes most of an em in some faces): their lines are wrapped this much
// short of the room they have.
const SUMS_WRAP = 0.85;
// Decompositions fetched from the program at a time for the stepper.
export const FOUR_SQUARES_WINDOW = 64;
// Time between two primes' strikes while the sieve plays.
export const SIEVE_STEP_MS = 700;
// The size of the words of a picture's body, and the room between two words
// side by side on one line.
const WORD_SIZE = 15;
const WORD_GAP = 6;

// A picture that is one chart `height` high, with nothing to change.
function chartPicture(width, height, label, body) {
  return { label, controls: [], markup: () => svg(width, label, height, body) };
}

// A word beside a point: to its left or right, above or below it, as long
// as it stays between `left` and `right` and below `top`.
function besidePoint(px, py, content, size, { left, right, top }) {
  const w = textWidth(content, size);
  const toLeft = px - 9 - w >= left;
  const x = toLeft ? px - 9 : Math.min(px + 9, right - w);
  const y = py - 9 - size >= top ? py - 9 : py + 9 + size;
  return text(round(x), round(y), content, `font-size="${size}" text-anchor="${toLeft ? 'end' : 'start'}"`);
}

// The numbers under an axis at the points `at` ({x, label}, in the order
// they matter), each where it is clear of those already placed.
function axisNumbers(at, y, size, width) {
  const placed = [];
  let markup = '';
  for (const { x, label } of at) {
    const w = textWidth(label, size);
    const from = Math.min(Math.max(x - w / 2, 1), width - 1 - w);
    if (placed.some(([a, b]) => from < b + WORD_GAP && from + w > a - WORD_GAP)) continue;
    placed.push([from, from + w]);
    markup += text(round(from), y, label);
  }
  return markup;
}

export function goldbachPicture(d, { width, room = Infinity }) {
  return d.counts ? goldbachComet(d, width, room) : goldbachRuns(d, width, room);
}

function goldbachLabel(d) {
  return d.counted ? t('picture.goldbach', { n: d.n, count: d.count }) : t('picture.goldbach.counting', { n: d.n });
}

function goldbachComet(d, width, room) {
  const label = goldbachLabel(d);
  // The arcs under the comet, at their full height where the comet keeps
  // its least above them, else as low as the room asks, down to their least.
  const arcsShown = d.counted && d.count > 0 && d.count <= ARC_PAIRS_LIMIT;
  const caption = arcsShown
    ? wrapWords(t('picture.goldbach.arcs', { n: d.n }), width - 2 * MARGIN.right, SMALLEST_WORD_SIZE)
    : [];
  const arcsWords = arcsShown ? caption.length * SMALLEST_WORD_SIZE * 1.3 + ARCS_WORDS_HEIGHT : 0;
  const arcsHeight = Math.max(ARCS_LEAST_HEIGHT, Math.min(ARCS_HEIGHT, room - arcsWords - CHART_LEAST_HEIGHT));
  const chart = chartHeight(width, room - (arcsShown ? arcsWords + arcsHeight : 0));
  let yMax = 1;
  for (let i = 2; i < d.counts.length; i++) yMax = Math.max(yMax, d.counts[i]);
  const a = axes({
    width,
    height: chart,
    xMax: d.bound,
    yMax,
    xTitle: t('picture.goldbach.comet', { bound: d.bound }),
  });
  // One dot per pixel that any even number lands on; few numbers get
  // larger dots.
  const few = d.counts.length < 1500;
  const seen = new Set();
  let dots = '';
  for (let i = 2; i < d.counts.length; i++) {
    const px = Math.round(a.x(2 * i));
    const py = Math.round(a.y(d.counts[i]));
    const key = px * 4096 + py;
    if (seen.has(key)) continue;
    seen.add(key);
    dots += few ? `M${px} ${py}h0.01` : `M${px} ${py}h1`;
  }
  let body =
    a.markup +
    `<path d="${dots}" stroke="${LINE}" stroke-width="${few ? 4 : 1.2}" ` +
    `stroke-linecap="${few ? 'round' : 'butt'}" fill="none"/>`;
  if (d.counted && d.n >= 4) {
    const px = a.x(d.n);
    const py = a.y(d.count);
    body +=
      `<circle cx="${px}" cy="${py}" r="5" fill="none" stroke="${ACCENT}" stroke-width="2"/>` +
      `<g fill="${ACCENT}">${besidePoint(px, py, `${d.n}: ${d.count}`, 13, { left: a.left, right: width, top: 0 })}</g>`;
  }
  let height = chart;
  if (arcsShown) {
    const arcs = goldbachArcs(d, width, height, caption, arcsHeight);
    body += arcs.markup;
    height += arcs.height;
  }
  return { label, markup: () => svg(width, label, height, body), controls: [] };
}

// n's pairs p + q as arcs from p to q over a line from 0 to n, p + p as a
// ring at p; each names its pair on hover, and the line carries the
// primes where they fit, the first pairs' first: `caption` over them, the
// largest arc `arcsHeight` high.
function goldbachArcs(d, width, top, caption, arcsHeight) {
  const captionHeight = caption.length * SMALLEST_WORD_SIZE * 1.3;
  const base = round(top + captionHeight + 8 + arcsHeight);
  const left = MARGIN.right + 8;
  const x = (v) => round(left + ((width - 2 * left) * v) / d.n);
  const ry = (arcsHeight - 10) / ((width - 2 * left) / 2);
  let arcs = '';
  const numbers = [];
  d.smaller.forEach((p, k) => {
    const q = d.n - p;
    const pair = `<title>${p} + ${q} = ${d.n}</title>`;
    if (p === q) {
      arcs += `<circle cx="${x(p)}" cy="${base - 6}" r="6" stroke="${hue(k)}" stroke-width="2" fill="none">${pair}</circle>`;
    } else {
      const rx = (x(q) - x(p)) / 2;
      arcs +=
        `<path d="M${x(p)} ${base}A${round(rx)} ${round(Math.max(rx * ry, 3))} 0 0 1 ${x(q)} ${base}" ` +
        `stroke="${hue(k)}" stroke-width="2" fill="none">${pair}</path>`;
    }
    numbers.push({ x: x(p), label: String(p) }, { x: x(q), label: String(q) });
  });
  const markup =
    arcs +
    `<line x1="${x(0)}" y1="${base}" x2="${x(d.n)}" y2="${base}" stroke="${COLOUR.axis}"/>` +
    `<g fill="${COLOUR.words}" font-size="${SMALLEST_WORD_SIZE}">` +
    lines(MARGIN.right, round(top + SMALLEST_WORD_SIZE + 2), caption, SMALLEST_WORD_SIZE) +
    axisNumbers(numbers, base + 17, SMALLEST_WORD_SIZE, width) +
    '</g>';
  return { markup, height: round(base - top + ARCS_WORDS_HEIGHT - 8) };
}

// Past the comet: n's pairs counted by where their smaller prime lies, a
// bar for each run of p; the runs fill in as they are counted.
function goldbachRuns(d, width, room) {
  const label = goldbachLabel(d);
  const runs = d.runCounts.length;
  const half = Math.floor(d.n / 2);
  let yMax = 1;
  for (const c of d.runCounts) yMax = Math.max(yMax, Number(c));
  const height = chartHeight(width, room);
  const a = axes({
    width,
    height,
    xMax: half,
    yMax,
    xTitle: t('picture.goldbach.runs.p', { n: d.n }),
    yTitle: t('picture.goldbach.runs.count'),
  });
  let bars = '';
  for (let k = 0; k < runs; k++) {
    const from = d.runStarts[k];
    const to = d.runStarts[k + 1] - 1;
    const x0 = a.x(from - 1);
    const x1 = a.x(to);
    const top = a.y(Number(d.runCounts[k]));
    bars +=
      `<rect x="${x0}" y="${top}" width="${round(Math.max(x1 - x0 - 1, 1))}" height="${round(a.y0 - top)}" ` +
      `fill="${COLOUR.bars}"><title>${t('picture.goldbach.runs.bar', { from, to, count: d.runCounts[k] })}</title></rect>`;
  }
  return chartPicture(width, height, label, a.markup + bars);
}

export function collatzPicture(d, { width, room = Infinity }) {
  const label = t('picture.collatz', { n: d.n, steps: d.steps, peak: d.peak, peakStep: d.peakStep });
  const height = chartHeight(width, room);
  const peak = Number(d.peak);
  const terms = d.terms.map(Number);
  // A path that climbs past 10000 reads better on a log scale.
  const state = { log: peak >= 10000 };
  const markup = () => {
    const a = axes({
      width,
      height,
      xMax: Math.max(d.steps, 1),
      yMax: peak,
      log: state.log,
      xTitle: t('picture.collatz.step'),
      yTitle: t('picture.collatz.value'),
    });
    let path = '';
    terms.forEach((v, k) => (path += `${k ? 'L' : 'M'}${a.x(k)} ${a.y(v)}`));
    const px = a.x(d.peakStep);
    const py = a.y(peak);
    const words = `${d.peak} (${t('picture.collatz.step')} ${d.peakStep})`;
    return svg(
      width,
      label,
      height,
      a.markup +
        `<path d="${path}" stroke="${LINE}" stroke-width="1.5" fill="none" stroke-linejoin="round"/>` +
        `<circle cx="${px}" cy="${py}" r="5" fill="none" stroke="${ACCENT}" stroke-width="2"/>` +
        `<g fill="${ACCENT}">${besidePoint(px, py, words, 13, { left: a.left, right: width, top: a.y1 })}</g>`,
    );
  };
  const controls = [
    {
      key: () => (state.log ? 'picture.collatz.linear' : 'picture.collatz.log'),
      act: () => (state.log = !state.log),
    },
  ];
  return { label, markup, controls, state };
}

// A run [first, last, count] as the terminal begins and ends it, its
// second term too where it has more than three.
function shortRun([first, last, count]) {
  const terms = Number(count);
  if (terms <= 3) return Array.from({ length: terms }, (_, k) => Number(first) + 2 * k).join('+');
  return `${first}+${Number(first) + 2}+…+${last}`;
}

// What the terminal wrote for n, in sentences: its runs (d.written, the
// turn's own choice) and, where they are not the run of n odd numbers
// that band n stands for (d.band), that run as well. With `most`, a list
// of more runs names the first ones and the last, so that the words beside
// a drawing keep their size on a small screen; the label names them all.
function runSentences(d, most = Infinity) {
  const { n, written, band } = d;
  const cube = BigInt(n) ** 3n;
  if (written.length === 0) return [t('picture.nicomachus.none', { n, cube })];
  const first = written[0];
  if (written.length === 1 && Number(first[2]) === n) {
    return [t('picture.nicomachus.run', { n, cube, run: shortRun(first) })];
  }
  if (written.length === 1) {
    return [
      t('picture.nicomachus.written', { n, cube, run: shortRun(first), count: first[2] }),
      t('picture.nicomachus.another', { n, run: shortRun(band) }),
    ];
  }
  const named = written.length > most ? [...written.slice(0, most - 1), null, written[written.length - 1]] : written;
  const runs = named.map((run) => (run ? shortRun(run) : '…')).join(', ');
  return [
    t('picture.nicomachus.several', { n, cube, count: written.length, runs }),
    t('picture.nicomachus.band', { n, run: shortRun(band) }),
  ];
}

// A sentence that begins a line of the drawing.
function capital(sentence) {
  return sentence.charAt(0).toUpperCase() + sentence.slice(1);
}

export function nicomachusPicture(d, { width, room = Infinity }) {
  const n = d.sides.length;
  if (n === 0) {
    const label = t('picture.nicomachus.tooLarge', { n: d.n });
    return { label, markup: null, controls: [] };
  }
  const side = Number(d.sides[n - 1]);
  const sum = d.cubeSums[n - 1];
  const cube = n ** 3;
  const sentences = runSentences(d);
  const label = t('picture.nicomachus', { n, runs: sentences.join(t('picture.nicomachus.then')), sum, side });
  if (n > TILING_LIMIT) {
    // The sentences over the chart, the terminal's run first, in the
    // outline's colour.
    const wordsWidth = width - 2 * MARGIN.right;
    const said = sentences.map((sentence) => wrapWords(capital(sentence), wordsWidth * SUMS_WRAP, SMALLEST_WORD_SIZE));
    const step = SMALLEST_WORD_SIZE * 1.3;
    let y = MARGIN.right;
    let words = '';
    said.forEach((wrapped, k) => {
      words += `<g fill="${k === 0 ? ACCENT : COLOUR.words}">${lines(MARGIN.right, round(y + SMALLEST_WORD_SIZE), wrapped, SMALLEST_WORD_SIZE)}</g>`;
      y += wrapped.length * step + 4;
    });
    const top = round(y);
    const height = chartHeight(width, room - top);
    const a = axes({
      width,
      top,
      height,
      xMax: n,
      yMax: Number(sum),
      xTitle: 'k',
      yTitle: t('picture.nicomachus.grow', { n }),
    });
    const barWidth = Math.max((a.right - a.left) / n, 0.5);
    let bars = '';
    let line = '';
    for (let k = 1; k <= n; k++) {
      const top = a.y(Number(d.cubeSums[k - 1]));
      bars += `M${round(a.x(k) - barWidth / 2)} ${a.y0}V${top}h${round(barWidth)}V${a.y0}z`;
      line += `${k > 1 ? 'L' : 'M'}${a.x(k)} ${a.y(Number(d.sides[k - 1]) ** 2)}`;
    }
    const body =
      words +
      a.markup +
      `<path d="${bars}" fill="${COLOUR.bars}"/>` +
      `<path d="${line}" stroke="${ACCENT}" stroke-width="2" fill="none"/>`;
    return { label, controls: [], markup: () => svg(width, label, top + height, body) };
  }
  // The square of side 1+…+n: band k is the L between the squares of sides
  // 1+…+(k−1) and 1+…+k, of area k³; band n, outlined, is the run of odd
  // numbers the terminal wrote, which the words beside the square (above
  // it, in a narrow picture) spell out: n³ and its run, then the sum of the
  // cubes.
  const pad = 20;
  const beside = width >= 560;
  // The square as large as the width gives, and as the room gives (below
  // the words, in a narrow picture), down to the least that still shows
  // the bands.
  const SQUARE_LEAST = 120;
  const broad = beside ? Math.max(SQUARE_LEAST, Math.min(400, width - 200 - 3 * pad, room - 2 * pad)) : width - 2 * pad;
  const wordsLeft = beside ? broad + 2 * pad : pad;
  const wordsWidth = width - wordsLeft - pad;
  // A long run in smaller words, which still read, beside the square; above
  // it, on a narrow screen, by its ends only. Where the terminal wrote more
  // runs than band n's (or none), the sentences that say so follow it.
  const long = n > 10;
  const runSize = long && beside ? SMALLEST_WORD_SIZE : WORD_SIZE;
  const [bandFirst, , bandCount] = d.band.map(Number);
  const run = Array.from({ length: bandCount || 0 }, (_, k) => bandFirst + 2 * k);
  const spelled = long && !beside ? shortRun(d.band).replaceAll('+', ' + ') : run.join(' + ');
  const runLines = [
    `${n}³ = ${cube}`,
    ...(run.length ? wrapWords(`= ${spelled}`, wordsWidth * SUMS_WRAP, runSize) : []),
  ];
  // On a narrow screen the caption under the picture says which runs the
  // terminal wrote where it wrote several, and the drawing keeps its room.
  const plain = d.written.length === 1 && Number(d.written[0][2]) === n;
  const told = plain || (!beside && d.written.length > 1) ? [] : runSentences(d, DRAWN_RUNS).slice(0, 1);
  const sumLines = [
    ...told.flatMap((sentence) => wrapWords(capital(sentence), wordsWidth * SUMS_WRAP, WORD_SIZE)),
    ...wrapWords(`1³+…+${n}³ = ${sum} = ${side}²`, wordsWidth, WORD_SIZE),
  ];
  const wordsTop = pad + runSize;
  const sumTop = round(wordsTop + runLines.length * runSize * 1.3 + 8);
  const wordsBottom = round(sumTop + (sumLines.length - 1) * WORD_SIZE * 1.3 + pad);
  // In the outline's colour, which has its own on paper.
  const words =
    `<g fill="${ACCENT}">${lines(wordsLeft, wordsTop, runLines, runSize)}</g>` +
    `<g fill="${COLOUR.words}">${lines(wordsLeft, sumTop, sumLines, WORD_SIZE)}</g>`;
  const squareTop = beside ? pad : wordsBottom;
  const size = beside ? broad : Math.max(SQUARE_LEAST, Math.min(broad, room - wordsBottom - pad));
  const scale = size / side;
  const sx = (v) => round(pad + v * scale);
  const sy = (v) => round(squareTop + v * scale);
  let bands = '';
  let numbers = '';
  for (let k = 1; k <= n; k++) {
    const inner = k > 1 ? Number(d.sides[k - 2]) : 0;
    const outer = Number(d.sides[k - 1]);
    bands +=
      `<path d="M${sx(inner)} ${sy(0)}H${sx(outer)}V${sy(outer)}H${sx(0)}V${sy(inner)}H${sx(inner)}z" ` +
      `fill="${hue(k)}" stroke="${COLOUR.ink}" stroke-width="1"/>`;
    // k³ in the corner of its band, where it fits.
    const room = k * scale;
    const fontSize = Math.min(16, room * 0.6);
    if (fontSize >= SMALLEST_WORD_SIZE && textWidth(`${k}³`, fontSize) <= room - 2) {
      numbers += text(
        sx((inner + outer) / 2),
        round(sy((inner + outer) / 2) + fontSize / 3),
        `${k}³`,
        `font-size="${round(fontSize)}" text-anchor="middle" fill="${COLOUR.ink}"`,
      );
    }
  }
  const last = Number(d.sides[n - 2] || 0);
  const outline =
    `<path d="M${sx(last)} ${sy(0)}H${sx(side)}V${sy(side)}H${sx(0)}V${sy(last)}H${sx(last)}z" ` +
    `fill="none" stroke="${ACCENT}" stroke-width="3"/>`;
  const height = round(Math.max(squareTop + size + pad, beside ? wordsBottom : 0));
  return { label, controls: [], markup: () => svg(width, label, height, bands + outline + numbers + words) };
}

export function fourSquaresPicture(d, { width, room = Infinity, more }) {
  const label = d.complete
    ? t('picture.fourSquares', { n: d.n, count: d.count })
    : t('picture.fourSquares.many', { n: d.n, count: d.count });
  const state = { at: 0, window: d };
  const roots = () => state.window.roots[state.at - state.window.first];
  const left = MARGIN.right;
  const usableWidth = width - 2 * left;
  // The words under the squares: a root each, in as many columns as fit
  // the widest of any decomposition of n (whose roots are at most √n).
  const widest = 18 + textWidth(`${Math.floor(Math.sqrt(d.n))}² = ${d.n}`, 13) + 2 * WORD_GAP;
  const columns = [4, 2, 1].find((c) => c * widest <= usableWidth) || 1;
  const columnWidth = usableWidth / columns;
  const legendRows = Math.ceil(4 / columns);
  // The equation, cut after its "=" where it would not fit on one line.
  const equationLines = (r) => {
    const whole = `${d.n} = ${r.map((v) => `${v}²`).join(' + ')}`;
    return textWidth(whole, WORD_SIZE) <= usableWidth ? [whole] : [`${d.n} =`, r.map((v) => `${v}²`).join(' + ')];
  };
  const equationHeight = round(WORD_SIZE * 1.3 * 2);
  const squaresTop = 16 + equationHeight;
  // The squares are scaled to this height at most (less where the room
  // is less), and to the width; the picture is as high as the first
  // decompositions' tallest square.
  const gap = 16;
  const words = 22 + legendRows * 20 + 26;
  const most = Math.min(170, room - squaresTop - words);
  const scaleOf = (r, tallest) =>
    Math.min(tallest / Math.max(r[0], 1), (usableWidth - 3 * gap) / Math.max(r[0] + r[1] + r[2] + r[3], 1));
  const squaresHeight = round(Math.max(40, ...d.roots.map((r) => r[0] * scaleOf(r, most))));
  const legendTop = squaresTop + squaresHeight + 22;
  const height = squaresTop + squaresHeight + words;
  const markup = () => {
    const r = roots();
    const scale = scaleOf(r, squaresHeight);
    const bottom = squaresTop + squaresHeight;
    let x = left;
    let squares = '';
    let legend = '';
    r.forEach((root, k) => {
      const sidePx = round(root * scale);
      const top = round(bottom - sidePx);
      // Unit cells, while they are large enough to count.
      let cells = '';
      if (root > 1 && scale >= 4) {
        for (let u = 1; u < root; u++) {
          const at = round(u * scale);
          cells += `M${round(x + at)} ${top}v${sidePx}M${round(x)} ${round(top + at)}h${sidePx}`;
        }
      }
      squares +=
        `<rect x="${round(x)}" y="${top}" width="${sidePx}" height="${Math.max(sidePx, 0)}" fill="${hue(k + 1)}"/>` +
        (cells ? `<path d="${cells}" stroke="${COLOUR.ink}" stroke-opacity="0.35" stroke-width="1"/>` : '');
      x += Math.max(sidePx, 2) + gap;
      const lx = round(left + (k % columns) * columnWidth);
      const ly = legendTop + Math.floor(k / columns) * 20;
      legend +=
        `<rect x="${lx}" y="${ly - 11}" width="12" height="12" fill="${hue(k + 1)}"/>` +
        text(lx + 18, ly, `${root}² = ${root * root}`);
    });
    const which = t('picture.fourSquares.which', { at: state.at + 1, count: d.complete ? d.count : `${d.count}+` });
    return svg(
      width,
      label,
      height,
      squares +
        `<g fill="${COLOUR.words}" font-size="13">${legend}` +
        lines(left, 24, equationLines(r), WORD_SIZE, 'class="qv-equation"') +
        text(left, height - 10, which) +
        '</g>',
    );
  };
  const move = (by) => {
    const at = state.at + by;
    if (at < 0 || at >= d.count) return;
    const w = state.window;
    if (at < w.first || at >= w.first + w.roots.length) {
      const first = Math.max(0, by > 0 ? at : at - FOUR_SQUARES_WINDOW + 1);
      state.window = more(first);
    }
    state.at = at;
  };
  const controls = [
    { key: () => 'picture.fourSquares.previous', act: () => move(-1), disabled: () => state.at === 0 },
    { key: () => 'picture.fourSquares.next', act: () => move(1), disabled: () => state.at + 1 >= d.count },
  ];
  return { label, markup, controls, state };
}

export function sievePicture(d, { width, room = Infinity }) {
  const label = t('picture.sieve', { n: d.n, count: d.count });
  if (d.factors.length === 0) {
    const height = chartHeight(width, room);
    const a = axes({
      width,
      height,
      xMax: d.n,
      yMax: d.count,
      xTitle: 'x',
      yTitle: t('picture.sieve.curve', { n: d.n }),
    });
    let pi = '';
    let estimate = '';
    d.curveX.forEach((x, k) => {
      pi += `${k ? 'L' : 'M'}${a.x(x)} ${a.y(d.curvePi[k])}`;
      if (x >= 3) estimate += `${estimate ? 'L' : 'M'}${a.x(x)} ${a.y(x / Math.log(x))}`;
    });
    return chartPicture(
      width,
      height,
      label,
      a.markup +
        `<path d="${pi}" stroke="${LINE}" stroke-width="2" fill="none"/>` +
        `<path d="${estimate}" stroke="${ACCENT}" stroke-width="1.5" stroke-dasharray="5 4" fill="none"/>`,
    );
  }
  // The sieving primes in order: those whose square is at most n.
  const sieving = [];
  for (let p = 2; p * p <= d.n; p++) if (d.factors[p] === p) sieving.push(p);
  const colour = new Map(sieving.map((p, k) => [p, hue(k, 62)]));
  const state = { stage: sieving.length, timer: null };
  const columns = d.n <= 100 ? 10 : d.n <= 400 ? 20 : 40;
  const rows = Math.ceil(d.n / columns);
  // Which colour strikes for which prime, as many to a row as fit.
  const perRow = Math.max(1, Math.floor((width - 2 * MARGIN.right) / 46));
  const legendRows = Math.max(1, Math.ceil(sieving.length / perRow));
  // The note under the legend, as many lines as its longest sentence takes.
  const noteSize = 13;
  const noteWidth = width - 2 * MARGIN.right;
  const noteLines = (content) => wrapWords(content, noteWidth, noteSize);
  const longest = Math.max(
    ...[
      t('picture.sieve.done'),
      t('picture.sieve.start'),
      t('picture.sieve.striking', { p: sieving[sieving.length - 1] || 2 }),
    ].map((s) => noteLines(s).length),
  );
  const below = 18 + 24 * legendRows + noteSize + (longest - 1) * noteSize * 1.3 + 12;
  // The cells as large as the width and the room give (the grid over the
  // legend and the note), down to a few units.
  const CELL_LEAST = 4;
  const cell = Math.max(CELL_LEAST, Math.min(44, (width - 2 * MARGIN.right) / columns, (room - 12 - below) / rows));
  // The numbers in their cells, where they fit legibly.
  const cellWords = Math.max(SMALLEST_WORD_SIZE, round(cell * 0.38));
  const numbered = textWidth(String(d.n), cellWords) <= cell - 4;
  const gridBottom = round(12 + rows * cell);
  let legend = '';
  sieving.forEach((p, k) => {
    const x = MARGIN.right + (k % perRow) * 46;
    const y = gridBottom + 10 + 24 * Math.floor(k / perRow);
    legend +=
      `<rect x="${x}" y="${y}" width="14" height="14" fill="${colour.get(p)}"/>` +
      text(x + 18, y + 12, p, 'font-size="13"');
  });
  const noteTop = gridBottom + 18 + 24 * legendRows + noteSize;
  const height = round(noteTop + (longest - 1) * noteSize * 1.3 + 12);
  const markup = () => {
    const struckBy = state.stage > 0 ? sieving[state.stage - 1] : 0;
    const done = state.stage === sieving.length;
    let cells = '';
    for (let k = 1; k <= d.n; k++) {
      const x = round(MARGIN.right + ((k - 1) % columns) * cell);
      const y = round(12 + Math.floor((k - 1) / columns) * cell);
      const f = d.factors[k];
      const struck = f !== k && f !== 0 && f <= struckBy;
      const prime = f === k && (done || k <= struckBy);
      const fillColour = struck ? colour.get(f) : prime ? COLOUR.prime : COLOUR.unstruck;
      cells +=
        `<rect x="${x}" y="${y}" width="${round(cell - 1)}" height="${round(cell - 1)}" fill="${fillColour}"` +
        `${struck ? ' fill-opacity="0.35"' : ''}/>`;
      if (struck)
        cells += `<path d="M${x + 2} ${round(y + cell - 3)}L${round(x + cell - 3)} ${y + 2}" stroke="${colour.get(f)}" stroke-width="1.5"/>`;
      if (numbered) {
        cells += text(
          round(x + cell / 2),
          round(y + cell / 2 + cellWords * 0.36),
          k,
          `font-size="${cellWords}" text-anchor="middle" fill="${prime ? COLOUR.ink : COLOUR.words}"${prime ? ' font-weight="700"' : ''}`,
        );
      }
    }
    const note = done
      ? t('picture.sieve.done')
      : struckBy
        ? t('picture.sieve.striking', { p: struckBy })
        : t('picture.sieve.start');
    return svg(
      width,
      label,
      height,
      cells + `<g fill="${COLOUR.words}">` + legend + lines(MARGIN.right, noteTop, noteLines(note), noteSize) + '</g>',
    );
  };
  return { label, markup, controls: sieveControls(state, sieving.length), state };
}

function sieveControls(state, stages) {
  const stop = () => {
    clearInterval(state.timer);
    state.timer = null;
  };
  const step = () => {
    state.stage = state.stage >= stages ? 0 : state.stage + 1;
  };
  return [
    {
      key: () => (state.timer ? 'picture.sieve.pause' : 'picture.sieve.play'),
      act: (redraw) => {
        if (state.timer) return stop();
        if (state.stage >= stages) state.stage = 0;
        state.timer = setInterval(() => {
          step();
          if (state.stage >= stages) stop();
          redraw();
        }, SIEVE_STEP_MS);
      },
      dispose: stop,
    },
    {
      key: () => 'picture.sieve.step',
      act: () => {
        stop();
        step();
      },
    },
  ];
}
