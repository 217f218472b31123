// The five pictures, each made from the numbers the program gave for one
// entry: make(numbers, { width, more }) returns { label, markup(), controls },
// where label is the picture's accessible name, markup() its SVG for its
// current state, and controls the buttons [{ key(), act(redraw), disabled(),
// dispose() }] that change that state. `width` is the picture's width in its
// own units; `more(first)` fetches further four-square decompositions. Part
// of the pictures (web/pictures.js).
'use strict';

(function (parts) {
  const { t, chartHeight, MARGIN, ACCENT, LINE, text, round, axes, svg, hue } = parts;
  // The widths pictures are laid out for. A pane narrower than
  // NARROW_PANE_PX (a phone) gets the narrow one, so that words stay legible;
  // so does a pane at least TALL_PANE_RATIO times as high as it is wide (beside
  // the terminal), which scales the narrow layout up: its words read from the
  // back of a room on a projector. A low, wide pane (below the terminal on an
  // upright tablet) keeps the wide one, which fits its shape.
  const WIDE = 640;
  const NARROW = 400;
  const NARROW_PANE_PX = 520;
  const TALL_PANE_RATIO = 0.9;
  // n's pairs are drawn as arcs up to this many (a few hundred stay legible).
  const ARC_PAIRS_LIMIT = 300;
  // Nicomachus's bands stay legible up to this n; above it, the two sides of
  // the equation as they grow.
  const TILING_LIMIT = 40;
  // Decompositions fetched from the program at a time for the stepper.
  const FOUR_SQUARES_WINDOW = 64;
  // Time between two primes' strikes while the sieve plays.
  const SIEVE_STEP_MS = 700;

  function goldbachPicture(d, { width }) {
    const counted = d.count >= 0;
    const label = counted ? t('picture.goldbach', { n: d.n, count: d.count }) : t('picture.goldbach.counting', { n: d.n });
    let yMax = 1;
    for (let i = 2; i < d.counts.length; i++) yMax = Math.max(yMax, d.counts[i]);
    const a = axes({ width, xMax: d.bound, yMax, xTitle: t('picture.goldbach.comet', { bound: d.bound }) });
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
    let body = a.markup + `<path d="${dots}" stroke="${LINE}" stroke-width="${few ? 4 : 1.2}" ` +
      `stroke-linecap="${few ? 'round' : 'butt'}" fill="none"/>`;
    if (counted && d.n <= d.bound && d.n >= 4) {
      body += `<circle cx="${a.x(d.n)}" cy="${a.y(d.count)}" r="5" fill="none" stroke="${ACCENT}" stroke-width="2"/>` +
        text(a.x(d.n) - 8, a.y(d.count) - 9, `${d.n}: ${d.count}`, `fill="${ACCENT}" font-size="13" text-anchor="end"`);
    } else if (d.n > d.bound) {
      body += text(a.right, a.y1 + 4, t('picture.goldbach.beyond', { n: d.n }), `fill="${ACCENT}" font-size="13" text-anchor="end"`);
    }
    let height = chartHeight(width);
    if (counted && d.count > 0 && d.count <= ARC_PAIRS_LIMIT) {
      const arcsHeight = 200;
      const base = height + arcsHeight - 40;
      const x = (v) => round(MARGIN.left + ((width - MARGIN.left - MARGIN.right) * v) / d.n);
      const ry = (arcsHeight - 70) / ((width - MARGIN.left - MARGIN.right) / 2);
      let arcs = '';
      d.smaller.forEach((p, k) => {
        const rx = (x(d.n - p) - x(p)) / 2;
        arcs += `<path d="M${x(p)} ${base}A${round(rx)} ${round(rx * ry)} 0 0 1 ${x(d.n - p)} ${base}" ` +
          `stroke="${hue(k)}" stroke-width="1.5" fill="none"/>`;
      });
      body += arcs + `<line x1="${x(0)}" y1="${base}" x2="${x(d.n)}" y2="${base}" stroke="#8a8a8a"/>` +
        `<g fill="#d0d0d0" font-size="12">${text(x(0), base + 16, '0', 'text-anchor="middle"')}` +
        `${text(x(d.n / 2), base + 16, d.n / 2, 'text-anchor="middle"')}${text(x(d.n), base + 16, d.n, 'text-anchor="middle"')}` +
        `${text(x(0), height + 14, t('picture.goldbach.arcs', { n: d.n }))}</g>`;
      height += arcsHeight;
    }
    return { label, markup: () => svg(width, label, height, body), controls: [] };
  }

  function collatzPicture(d, { width }) {
    const label = t('picture.collatz', { n: d.n, steps: d.steps, peak: d.peak, peakStep: d.peakStep });
    const state = { log: d.peak.length > 4 };
    const markup = () => {
      const a = axes({
        width, xMax: Math.max(d.steps, 1), yMax: Number(d.peak), log: state.log,
        xTitle: t('picture.collatz.step'), yTitle: t('picture.collatz.value'),
      });
      let path = '';
      d.terms.forEach((v, k) => (path += `${k ? 'L' : 'M'}${a.x(k)} ${a.y(v)}`));
      const px = a.x(d.peakStep);
      const py = a.y(Number(d.peak));
      const anchor = d.peakStep > d.steps / 2 ? 'end' : 'start';
      return svg(width, label, chartHeight(width), a.markup +
        `<path d="${path}" stroke="${LINE}" stroke-width="1.5" fill="none" stroke-linejoin="round"/>` +
        `<circle cx="${px}" cy="${py}" r="5" fill="none" stroke="${ACCENT}" stroke-width="2"/>` +
        text(anchor === 'end' ? px - 9 : px + 9, py + 14, `${d.peak} (${t('picture.collatz.step')} ${d.peakStep})`,
          `fill="${ACCENT}" font-size="13" text-anchor="${anchor}"`));
    };
    const controls = [{
      key: () => (state.log ? 'picture.collatz.linear' : 'picture.collatz.log'),
      act: () => (state.log = !state.log),
    }];
    return { label, markup, controls };
  }

  function nicomachusPicture(d, { width }) {
    const n = d.sides.length;
    if (n === 0) {
      const label = t('picture.nicomachus.tooLarge', { n: d.n });
      return { label, markup: null, controls: [] };
    }
    const side = d.sides[n - 1];
    const label = t('picture.nicomachus', { n, sum: d.cubeSums[n - 1], side });
    if (n > TILING_LIMIT) {
      const a = axes({ width, xMax: n, yMax: d.cubeSums[n - 1], xTitle: 'k', yTitle: t('picture.nicomachus.grow', { n }) });
      const barWidth = Math.max((a.right - a.left) / n, 0.5);
      let bars = '';
      let line = '';
      for (let k = 1; k <= n; k++) {
        const top = a.y(d.cubeSums[k - 1]);
        bars += `M${round(a.x(k) - barWidth / 2)} ${a.y0}V${top}h${round(barWidth)}V${a.y0}z`;
        line += `${k > 1 ? 'L' : 'M'}${a.x(k)} ${a.y(d.sides[k - 1] ** 2)}`;
      }
      return {
        label, controls: [],
        markup: () => svg(width, label, chartHeight(width), a.markup + `<path d="${bars}" fill="#3b6ea8"/>` +
          `<path d="${line}" stroke="${ACCENT}" stroke-width="2" fill="none"/>`),
      };
    }
    // The square of side 1+…+n: band k is the L between the squares of sides
    // 1+…+(k−1) and 1+…+k, of area k³.
    const pad = 20;
    // The equation beside the square, or below it in a narrow picture.
    const below = width < WIDE;
    const size = below ? width - 2 * pad : 440;
    const scale = size / side;
    const s = (v) => round(pad + v * scale);
    let bands = '';
    let labels = '';
    for (let k = 1; k <= n; k++) {
      const inner = k > 1 ? d.sides[k - 2] : 0;
      const outer = d.sides[k - 1];
      bands += `<path d="M${s(inner)} ${s(0)}H${s(outer)}V${s(outer)}H${s(0)}V${s(inner)}H${s(inner)}z" ` +
        `fill="${hue(k)}" stroke="#000000" stroke-width="1"/>`;
      const room = k * scale;
      if (room >= 14) {
        const fontSize = Math.min(16, room * 0.6);
        labels += text(s((inner + outer) / 2), s((inner + outer) / 2) + fontSize / 3, `${k}³`,
          `font-size="${round(fontSize)}" text-anchor="middle" fill="#000000"`);
      }
    }
    const height = size + 2 * pad + (below ? 30 : 0);
    const legend = `<g fill="#d0d0d0" font-size="15">` + (below
      ? text(pad, size + pad + 30, `1³+…+${n}³ = ${d.cubeSums[n - 1]} = ${side}²`)
      : text(size + 2 * pad, pad + 16, `1³+…+${n}³`) + text(size + 2 * pad, pad + 40, `= ${d.cubeSums[n - 1]}`) +
        text(size + 2 * pad, pad + 64, `= ${side}²`)) + '</g>';
    return { label, controls: [], markup: () => svg(width, label, height, bands + labels + legend) };
  }

  function fourSquaresPicture(d, { width, more }) {
    const label = d.complete ? t('picture.fourSquares', { n: d.n, count: d.count }) :
      t('picture.fourSquares.many', { n: d.n, count: d.count });
    const state = { at: 0, window: d };
    const roots = () => state.window.roots[state.at - state.window.first];
    const markup = () => {
      const r = roots();
      const height = 300;
      const gap = 16;
      const usable = width - 2 * MARGIN.right - 3 * gap;
      const scale = Math.min((height - 90) / Math.max(r[0], 1), usable / Math.max(r[0] + r[1] + r[2] + r[3], 1));
      let x = MARGIN.right;
      let squares = '';
      r.forEach((root, k) => {
        const sidePx = round(root * scale);
        const top = height - 50 - sidePx;
        // Unit cells, while they are large enough to count.
        let cells = '';
        if (root > 1 && scale >= 4) {
          for (let u = 1; u < root; u++) {
            const at = round(u * scale);
            cells += `M${round(x + at)} ${top}v${sidePx}M${round(x)} ${round(top + at)}h${sidePx}`;
          }
        }
        squares += `<rect x="${round(x)}" y="${top}" width="${sidePx}" height="${sidePx}" fill="${hue(k + 1)}"/>` +
          (cells ? `<path d="${cells}" stroke="#000000" stroke-opacity="0.35" stroke-width="1"/>` : '') +
          `<g fill="#d0d0d0" font-size="13">${text(round(x), height - 32, `${root}²=${root * root}`)}</g>`;
        x += Math.max(sidePx, 40) + gap;
      });
      const which = t('picture.fourSquares.which', { at: state.at + 1, count: d.complete ? d.count : `${d.count}+` });
      return svg(width, label, height, squares + `<g fill="#d0d0d0" font-size="15">` +
        text(MARGIN.right, 24, `${d.n} = ${r.map((v) => `${v}²`).join(' + ')}`, 'class="qv-equation"') +
        text(MARGIN.right, height - 10, which, 'font-size="13"') + '</g>');
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
    return { label, markup, controls };
  }

  function sievePicture(d, { width }) {
    const label = t('picture.sieve', { n: d.n, count: d.count });
    if (d.factors.length === 0) {
      const a = axes({ width, xMax: d.n, yMax: d.count, xTitle: 'x', yTitle: t('picture.sieve.curve', { n: d.n }) });
      let pi = '';
      let estimate = '';
      d.curveX.forEach((x, k) => {
        pi += `${k ? 'L' : 'M'}${a.x(x)} ${a.y(d.curvePi[k])}`;
        if (x >= 3) estimate += `${estimate ? 'L' : 'M'}${a.x(x)} ${a.y(x / Math.log(x))}`;
      });
      return {
        label, controls: [],
        markup: () => svg(width, label, chartHeight(width), a.markup + `<path d="${pi}" stroke="${LINE}" stroke-width="2" fill="none"/>` +
          `<path d="${estimate}" stroke="${ACCENT}" stroke-width="1.5" stroke-dasharray="5 4" fill="none"/>`),
      };
    }
    // The sieving primes in order: those whose square is at most n.
    const sieving = [];
    for (let p = 2; p * p <= d.n; p++) if (d.factors[p] === p) sieving.push(p);
    const colour = new Map(sieving.map((p, k) => [p, hue(k, 62)]));
    const state = { stage: sieving.length, timer: null };
    const columns = d.n <= 100 ? 10 : d.n <= 400 ? 20 : 40;
    const rows = Math.ceil(d.n / columns);
    const cell = Math.min(44, (width - 2 * MARGIN.right) / columns);
    const gridBottom = round(12 + rows * cell);
    // Which colour strikes for which prime, as many to a row as fit.
    const perRow = Math.floor((width - 2 * MARGIN.right) / 46);
    const legendRows = Math.max(1, Math.ceil(sieving.length / perRow));
    const height = gridBottom + 42 + 24 * legendRows;
    let legend = '';
    sieving.forEach((p, k) => {
      const x = MARGIN.right + (k % perRow) * 46;
      const y = gridBottom + 10 + 24 * Math.floor(k / perRow);
      legend += `<rect x="${x}" y="${y}" width="14" height="14" fill="${colour.get(p)}"/>` +
        text(x + 18, y + 12, p, 'font-size="13"');
    });
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
        const fillColour = struck ? colour.get(f) : prime ? '#ffffff' : '#1c1c1c';
        cells += `<rect x="${x}" y="${y}" width="${round(cell - 1)}" height="${round(cell - 1)}" fill="${fillColour}"` +
          `${struck ? ' fill-opacity="0.35"' : ''}/>`;
        if (struck) cells += `<path d="M${x + 2} ${round(y + cell - 3)}L${round(x + cell - 3)} ${y + 2}" stroke="${colour.get(f)}" stroke-width="1.5"/>`;
        if (cell >= 14) {
          cells += text(round(x + cell / 2), round(y + cell / 2 + cell * 0.14), k,
            `font-size="${round(cell * 0.38)}" text-anchor="middle" fill="${prime ? '#000000' : '#d0d0d0'}"${prime ? ' font-weight="700"' : ''}`);
        }
      }
      const note = done ? t('picture.sieve.done') : struckBy ? t('picture.sieve.striking', { p: struckBy }) : t('picture.sieve.start');
      // The note's longest sentence fits the narrow picture's width.
      return svg(width, label, height, cells + `<g fill="#d0d0d0" font-size="${width < WIDE ? 13 : 14}">` + legend +
        text(MARGIN.right, height - 14, note) + '</g>');
    };
    return { label, markup, controls: sieveControls(state, sieving.length) };
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
      { key: () => 'picture.sieve.step', act: () => { stop(); step(); } },
    ];
  }

  const PICTURES = {
    goldbach: goldbachPicture,
    collatz: collatzPicture,
    nicomachus: nicomachusPicture,
    'four-square': fourSquaresPicture,
    sieve: sievePicture,
  };

  Object.assign(parts, { WIDE, NARROW, NARROW_PANE_PX, TALL_PANE_RATIO, ARC_PAIRS_LIMIT, FOUR_SQUARES_WINDOW, PICTURES });
  if (typeof module !== 'undefined') module.exports = parts;
})((typeof globalThis.quorvantilePictureParts === 'object' ? globalThis.quorvantilePictureParts : (globalThis.quorvantilePictureParts = {})));
