// The picture pane (#picture): when a demonstration accepts a number (the
// page's `quorvantile-accepted` event), a picture of it drawn as plain SVG
// from the numbers the running program itself computes (its picture_*
// exports, web/picture_exports.cc); a choice at the menu clears the pane.
// Every picture is one <svg role="img"> whose aria-label states its key
// numbers in the page's language, with buttons to download it as SVG or PNG.
//
// The exports are called from a later task, never inside the event: by then
// the program is paused in a wait (Asyncify has unwound it), so calling into
// the module is an ordinary call, and each export returns in bounded time.
// Plain SVG rather than a chart library: two scatter/line charts and three
// tilings need a few dozen lines of axes, nothing to load or pin, and the
// same markup serves the screen, printing and the SVG download.
'use strict';

(function () {
  const SVG_NS = 'http://www.w3.org/2000/svg';
  // The pictures' width in their own units, the SVG scaled to the pane's
  // width: narrower for a narrow pane (a phone), so that its words stay
  // legible there. Set before each picture is made.
  const WIDE = 640;
  const NARROW = 400;
  const NARROW_PANE_PX = 520;
  let WIDTH = WIDE;
  const CHART_HEIGHT = 360;
  const MARGIN = { left: 64, right: 20, top: 20, bottom: 40 };
  // n's pairs are drawn as arcs up to this many (a few hundred stay legible).
  const ARC_PAIRS_LIMIT = 300;
  // Nicomachus's bands stay legible up to this n; above it, the two sides of
  // the equation as they grow.
  const TILING_LIMIT = 40;
  // Decompositions fetched from the program at a time for the stepper.
  const FOUR_SQUARES_WINDOW = 64;
  // Time between two primes' strikes while the sieve plays.
  const SIEVE_STEP_MS = 700;
  // PNG downloads are drawn at this multiple of the SVG's units.
  const PNG_SCALE = 2;

  const WORDS = {
    en: {
      'picture.goldbach': 'Goldbach pairs of {n}: {count}',
      'picture.goldbach.uncounted': 'Goldbach pairs of {n}: too many to count here',
      'picture.goldbach.comet': 'pairs of every even number up to {bound}',
      'picture.goldbach.beyond': '{n} lies beyond the comet',
      'picture.goldbach.arcs': 'the pairs of {n} as arcs: p + q = {n}',
      'picture.collatz': 'Collatz path of {n}: {steps} steps, peak {peak} at step {peakStep}',
      'picture.collatz.step': 'step',
      'picture.collatz.value': 'value',
      'picture.collatz.log': 'Logarithmic scale',
      'picture.collatz.linear': 'Linear scale',
      'picture.nicomachus': 'Nicomachus {n}: 1³+…+{n}³ = {sum} = {side}²',
      'picture.nicomachus.tooLarge': 'Nicomachus {n}: the cube of {n} is too large to draw',
      'picture.nicomachus.grow': '1³+…+k³ (bars) and (1+…+k)² (line) for k = 1 to {n}',
      'picture.fourSquares': 'Four squares of {n}: {count} decompositions',
      'picture.fourSquares.many': 'Four squares of {n}: more than {count} decompositions',
      'picture.fourSquares.which': 'decomposition {at} of {count}',
      'picture.fourSquares.previous': 'Previous',
      'picture.fourSquares.next': 'Next',
      'picture.sieve': 'Primes up to {n}: {count}',
      'picture.sieve.curve': 'π(x), the primes up to x (line), and x/ln x (dashes), for x up to {n}',
      'picture.sieve.striking': 'striking the multiples of {p}',
      'picture.sieve.done': 'every composite struck in the colour of its smallest prime factor',
      'picture.sieve.start': 'nothing struck yet',
      'picture.sieve.play': 'Play',
      'picture.sieve.pause': 'Pause',
      'picture.sieve.step': 'Step',
      'picture.downloadSvg': 'Download SVG',
      'picture.downloadPng': 'Download PNG',
      'picture.failed': 'The picture could not be drawn: the program has stopped.',
    },
    zh: {
      'picture.goldbach': '{n} 的哥德巴赫素数对：{count} 对',
      'picture.goldbach.uncounted': '{n} 的哥德巴赫素数对：太多，这里不计数',
      'picture.goldbach.comet': '不超过 {bound} 的每个偶数的素数对个数',
      'picture.goldbach.beyond': '{n} 在彗星图之外',
      'picture.goldbach.arcs': '{n} 的素数对画成弧线：p + q = {n}',
      'picture.collatz': '{n} 的考拉兹路径：{steps} 步，第 {peakStep} 步达到最高点 {peak}',
      'picture.collatz.step': '步',
      'picture.collatz.value': '值',
      'picture.collatz.log': '对数刻度',
      'picture.collatz.linear': '线性刻度',
      'picture.nicomachus': '尼科马库斯 {n}：1³+…+{n}³ = {sum} = {side}²',
      'picture.nicomachus.tooLarge': '尼科马库斯 {n}：{n} 的立方太大，无法画出',
      'picture.nicomachus.grow': 'k = 1 到 {n} 的 1³+…+k³（柱）与 (1+…+k)²（线）',
      'picture.fourSquares': '{n} 的四平方和分解：{count} 种',
      'picture.fourSquares.many': '{n} 的四平方和分解：超过 {count} 种',
      'picture.fourSquares.which': '第 {at} 种，共 {count} 种',
      'picture.fourSquares.previous': '上一个',
      'picture.fourSquares.next': '下一个',
      'picture.sieve': '不超过 {n} 的素数：{count} 个',
      'picture.sieve.curve': 'π(x)（实线，不超过 x 的素数个数）与 x/ln x（虚线），x 不超过 {n}',
      'picture.sieve.striking': '划去 {p} 的倍数',
      'picture.sieve.done': '每个合数都以其最小素因数的颜色划去',
      'picture.sieve.start': '还没有划去任何数',
      'picture.sieve.play': '播放',
      'picture.sieve.pause': '暂停',
      'picture.sieve.step': '单步',
      'picture.downloadSvg': '下载 SVG',
      'picture.downloadPng': '下载 PNG',
      'picture.failed': '无法画出图片：程序已经停止。',
    },
  };

  function fill(text, vars) {
    return text.replace(/\{(\w+)\}/g, (whole, name) => (vars && name in vars ? String(vars[name]) : whole));
  }

  function t(key, vars) {
    const i18n = typeof window !== 'undefined' ? window.quorvantileI18n : undefined;
    return i18n ? i18n.t(key, vars) : fill(WORDS.en[key], vars);
  }

  // ---------------------------------------------------------------------
  // The program's numbers: a block of doubles whose first element counts
  // the rest (web/picture_exports.cc).

  function take(module, pointer) {
    if (!pointer) throw new Error('the program has no memory left for the picture');
    const at = pointer / 8;
    const heap = module.HEAPF64;
    const values = heap.slice(at + 1, at + 1 + heap[at]);
    module._picture_free(pointer);
    return values;
  }

  // The comet up to the program's largest bound, computed once per program:
  // the comet of any n is its beginning.
  const comets = new WeakMap();
  function fullComet(module) {
    if (!comets.has(module)) {
      const comet = take(module, module._picture_goldbach_comet(0x7fffffff));
      comets.set(module, { bound: comet[0], counts: comet.subarray(1) });
    }
    return comets.get(module);
  }

  const data = {
    goldbach(module, n) {
      const comet = fullComet(module);
      const bound = Math.min(n - (n % 2), comet.bound);
      const pairs = take(module, module._picture_goldbach_pairs(n, ARC_PAIRS_LIMIT + 1));
      return { n, bound, counts: comet.counts.subarray(0, bound / 2 + 1), count: pairs[0], smaller: pairs.subarray(1) };
    },
    collatz(module, n) {
      const v = take(module, module._picture_collatz(n));
      const peak = (BigInt(v[2]) << 32n) + BigInt(v[3]);
      return { n, steps: v[0], peakStep: v[1], peak: peak.toString(), terms: v.subarray(5) };
    },
    nicomachus(module, n) {
      const v = take(module, module._picture_nicomachus(n));
      const sides = [];
      const cubeSums = [];
      for (let k = 0; k < v.length; k += 2) {
        sides.push(v[k]);
        cubeSums.push(v[k + 1]);
      }
      return { n, sides, cubeSums };
    },
    'four-square'(module, n, first = 0) {
      const v = take(module, module._picture_four_squares(n, first, FOUR_SQUARES_WINDOW));
      const roots = [];
      for (let k = 2; k < v.length; k += 4) roots.push([v[k], v[k + 1], v[k + 2], v[k + 3]]);
      return { n, count: v[0], complete: v[1] === 1, first, roots };
    },
    sieve(module, n) {
      const v = take(module, module._picture_sieve(n));
      const [count, gridSize, points] = v;
      const factors = v.subarray(3, 3 + gridSize);
      const curveX = v.subarray(3 + gridSize, 3 + gridSize + points);
      const curvePi = v.subarray(3 + gridSize + points, 3 + gridSize + 2 * points);
      return { n, count, factors, curveX, curvePi };
    },
  };

  // ---------------------------------------------------------------------
  // SVG pieces, as markup.

  function escapeText(text) {
    return String(text).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/"/g, '&quot;');
  }

  function text(x, y, content, attributes = '') {
    return `<text x="${x}" y="${y}" ${attributes}>${escapeText(content)}</text>`;
  }

  function round(v) {
    return Math.round(v * 10) / 10;
  }

  // About `count` round values from 0 to max.
  function ticks(max, count = 5) {
    if (max <= 0) return [0];
    const raw = max / count;
    const power = 10 ** Math.floor(Math.log10(raw));
    const step = [1, 2, 5, 10].map((f) => f * power).find((s) => s >= raw);
    const values = [];
    for (let v = 0; v <= max + step * 1e-9; v += step) values.push(Math.round(v / step) * step);
    return values;
  }

  // Round values as 20k, 1.5M, 7G; the axes' values come from ticks().
  function tickLabel(v) {
    if (v < 1e4) return String(v);
    const prefixes = ['k', 'M', 'G', 'T', 'P', 'E'];
    const power = Math.min(Math.floor(Math.log10(v) / 3), prefixes.length);
    return `${+(v / 10 ** (3 * power)).toPrecision(3)}${prefixes[power - 1]}`;
  }

  const SUPERSCRIPTS = '⁰¹²³⁴⁵⁶⁷⁸⁹';
  function powerOfTen(k) {
    return k < 4 ? String(10 ** k) : `10${[...String(k)].map((d) => SUPERSCRIPTS[d]).join('')}`;
  }

  // A chart's axes over [0, xMax] × [0, yMax] (or [1, yMax] on a log scale)
  // in a box of height `height` at `top`, with the mapping functions.
  function axes({ xMax, yMax, log = false, top = 0, height = CHART_HEIGHT, xTitle = '', yTitle = '' }) {
    const left = MARGIN.left;
    const right = WIDTH - MARGIN.right;
    const y0 = top + height - MARGIN.bottom;
    const y1 = top + MARGIN.top;
    const x = (v) => round(left + ((right - left) * v) / (xMax || 1));
    const logMax = Math.log10(Math.max(yMax, 10));
    const y = log
      ? (v) => round(y0 - ((y0 - y1) * Math.log10(Math.max(v, 1))) / logMax)
      : (v) => round(y0 - ((y0 - y1) * v) / (yMax || 1));
    // On a log scale, every decade up to six of them, else every second or third.
    const decades = Math.floor(logMax);
    const every = Math.ceil((decades + 1) / 7);
    const powers = Array.from({ length: Math.floor(decades / every) + 1 }, (_, k) => k * every);
    const yValues = log ? powers.map((k) => 10 ** k) : ticks(yMax);
    const yLabel = log ? (v) => powerOfTen(Math.round(Math.log10(v))) : tickLabel;
    let markup = `<g class="qv-axis" stroke="#8a8a8a" stroke-width="1">` +
      `<line x1="${left}" y1="${y0}" x2="${right}" y2="${y0}"/><line x1="${left}" y1="${y0}" x2="${left}" y2="${y1}"/>`;
    for (const v of ticks(xMax)) markup += `<line x1="${x(v)}" y1="${y0}" x2="${x(v)}" y2="${y0 + 4}"/>`;
    for (const v of yValues) markup += `<line x1="${left - 4}" y1="${y(v)}" x2="${left}" y2="${y(v)}"/>`;
    markup += `</g><g class="qv-ink" fill="#d0d0d0" font-size="12">`;
    for (const v of ticks(xMax)) markup += text(x(v), y0 + 17, tickLabel(v), 'text-anchor="middle"');
    for (const v of yValues) markup += text(left - 7, y(v) + 4, yLabel(v), 'text-anchor="end"');
    if (xTitle) markup += text(right, y0 + 33, xTitle, 'text-anchor="end"');
    if (yTitle) markup += text(left + 6, y1 - 6, yTitle);
    markup += '</g>';
    return { x, y, y0, y1, left, right, markup };
  }

  function svg(label, height, body) {
    return `<svg xmlns="${SVG_NS}" class="qv-svg" role="img" aria-label="${escapeText(label)}" ` +
      `viewBox="0 0 ${WIDTH} ${height}" width="${WIDTH}" height="${height}" ` +
      `font-family="system-ui, sans-serif"><title>${escapeText(label)}</title>` +
      `<rect class="qv-bg" width="${WIDTH}" height="${height}" fill="#000000"/>${body}</svg>`;
  }

  // A colour per index, far apart on the colour wheel.
  function hue(k, lightness = 58) {
    return `hsl(${Math.round((k * 137.508) % 360)}, 70%, ${lightness}%)`;
  }

  // ---------------------------------------------------------------------
  // The pictures. Each returns { label, markup(state), controls } where
  // controls are [{ key, act }] buttons that change the picture's state.

  const ACCENT = '#ff5555';
  const LINE = '#55ff55';

  function goldbachPicture(d) {
    const counted = d.count >= 0;
    const label = counted ? t('picture.goldbach', { n: d.n, count: d.count }) : t('picture.goldbach.uncounted', { n: d.n });
    let yMax = 1;
    for (let i = 2; i < d.counts.length; i++) yMax = Math.max(yMax, d.counts[i]);
    const a = axes({ xMax: d.bound, yMax, xTitle: t('picture.goldbach.comet', { bound: d.bound }) });
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
        text(a.x(d.n) - 8, a.y(d.count) - 9, `${d.n}: ${d.count}`, `fill="${ACCENT}" font-size="13" text-anchor="end" class="qv-mark"`);
    } else if (d.n > d.bound) {
      body += text(a.right, a.y1 + 4, t('picture.goldbach.beyond', { n: d.n }), `fill="${ACCENT}" font-size="13" text-anchor="end" class="qv-mark"`);
    }
    let height = CHART_HEIGHT;
    if (counted && d.count > 0 && d.count <= ARC_PAIRS_LIMIT) {
      const arcsHeight = 200;
      const base = height + arcsHeight - 40;
      const x = (v) => round(MARGIN.left + ((WIDTH - MARGIN.left - MARGIN.right) * v) / d.n);
      const ry = (arcsHeight - 70) / ((WIDTH - MARGIN.left - MARGIN.right) / 2);
      let arcs = '';
      d.smaller.forEach((p, k) => {
        const rx = (x(d.n - p) - x(p)) / 2;
        arcs += `<path d="M${x(p)} ${base}A${round(rx)} ${round(rx * ry)} 0 0 1 ${x(d.n - p)} ${base}" ` +
          `stroke="${hue(k)}" stroke-width="1.5" fill="none"/>`;
      });
      body += arcs + `<line class="qv-axis" x1="${x(0)}" y1="${base}" x2="${x(d.n)}" y2="${base}" stroke="#8a8a8a"/>` +
        `<g class="qv-ink" fill="#d0d0d0" font-size="12">${text(x(0), base + 16, '0', 'text-anchor="middle"')}` +
        `${text(x(d.n / 2), base + 16, d.n / 2, 'text-anchor="middle"')}${text(x(d.n), base + 16, d.n, 'text-anchor="middle"')}` +
        `${text(x(0), height + 14, t('picture.goldbach.arcs', { n: d.n }))}</g>`;
      height += arcsHeight;
    }
    return { label, markup: () => svg(label, height, body), controls: [] };
  }

  function collatzPicture(d) {
    const label = t('picture.collatz', { n: d.n, steps: d.steps, peak: d.peak, peakStep: d.peakStep });
    const state = { log: d.peak.length > 4 };
    const markup = () => {
      const a = axes({
        xMax: Math.max(d.steps, 1), yMax: Number(d.peak), log: state.log,
        xTitle: t('picture.collatz.step'), yTitle: t('picture.collatz.value'),
      });
      let path = '';
      d.terms.forEach((v, k) => (path += `${k ? 'L' : 'M'}${a.x(k)} ${a.y(v)}`));
      const px = a.x(d.peakStep);
      const py = a.y(Number(d.peak));
      const anchor = d.peakStep > d.steps / 2 ? 'end' : 'start';
      return svg(label, CHART_HEIGHT, a.markup +
        `<path d="${path}" stroke="${LINE}" stroke-width="1.5" fill="none" stroke-linejoin="round"/>` +
        `<circle cx="${px}" cy="${py}" r="5" fill="none" stroke="${ACCENT}" stroke-width="2"/>` +
        text(anchor === 'end' ? px - 9 : px + 9, py + 14, `${d.peak} (${t('picture.collatz.step')} ${d.peakStep})`,
          `fill="${ACCENT}" font-size="13" text-anchor="${anchor}" class="qv-mark"`));
    };
    const controls = [{
      key: () => (state.log ? 'picture.collatz.linear' : 'picture.collatz.log'),
      act: () => (state.log = !state.log),
    }];
    return { label, markup, controls };
  }

  function nicomachusPicture(d) {
    const n = d.sides.length;
    if (n === 0) {
      const label = t('picture.nicomachus.tooLarge', { n: d.n });
      return { label, markup: null, controls: [] };
    }
    const side = d.sides[n - 1];
    const label = t('picture.nicomachus', { n, sum: d.cubeSums[n - 1], side });
    if (n > TILING_LIMIT) {
      const a = axes({ xMax: n, yMax: d.cubeSums[n - 1], xTitle: 'k', yTitle: t('picture.nicomachus.grow', { n }) });
      const width = Math.max((a.right - a.left) / n, 0.5);
      let bars = '';
      let line = '';
      for (let k = 1; k <= n; k++) {
        const top = a.y(d.cubeSums[k - 1]);
        bars += `M${round(a.x(k) - width / 2)} ${a.y0}V${top}h${round(width)}V${a.y0}z`;
        line += `${k > 1 ? 'L' : 'M'}${a.x(k)} ${a.y(d.sides[k - 1] ** 2)}`;
      }
      return {
        label, controls: [],
        markup: () => svg(label, CHART_HEIGHT, a.markup + `<path d="${bars}" fill="#3b6ea8"/>` +
          `<path d="${line}" stroke="${ACCENT}" stroke-width="2" fill="none"/>`),
      };
    }
    // The square of side 1+…+n: band k is the L between the squares of sides
    // 1+…+(k−1) and 1+…+k, of area k³.
    const pad = 20;
    // The equation beside the square, or below it in a narrow picture.
    const below = WIDTH < WIDE;
    const size = below ? WIDTH - 2 * pad : 440;
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
    const legend = `<g class="qv-ink" fill="#d0d0d0" font-size="15">` + (below
      ? text(pad, size + pad + 30, `1³+…+${n}³ = ${d.cubeSums[n - 1]} = ${side}²`)
      : text(size + 2 * pad, pad + 16, `1³+…+${n}³`) + text(size + 2 * pad, pad + 40, `= ${d.cubeSums[n - 1]}`) +
        text(size + 2 * pad, pad + 64, `= ${side}²`)) + '</g>';
    return { label, controls: [], markup: () => svg(label, height, bands + labels + legend) };
  }

  function fourSquaresPicture(d, module) {
    const label = d.complete ? t('picture.fourSquares', { n: d.n, count: d.count }) :
      t('picture.fourSquares.many', { n: d.n, count: d.count });
    const state = { at: 0, window: d };
    const roots = () => state.window.roots[state.at - state.window.first];
    const markup = () => {
      const r = roots();
      const height = 300;
      const gap = 16;
      const usable = WIDTH - 2 * MARGIN.right - 3 * gap;
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
          `<g class="qv-ink" fill="#d0d0d0" font-size="13">${text(round(x), height - 32, `${root}²=${root * root}`)}</g>`;
        x += Math.max(sidePx, 40) + gap;
      });
      const which = t('picture.fourSquares.which', { at: state.at + 1, count: d.complete ? d.count : `${d.count}+` });
      return svg(label, height, squares + `<g class="qv-ink" fill="#d0d0d0" font-size="15">` +
        text(MARGIN.right, 24, `${d.n} = ${r.map((v) => `${v}²`).join(' + ')}`, 'class="qv-equation"') +
        text(MARGIN.right, height - 10, which, 'font-size="13"') + '</g>');
    };
    const move = (by) => {
      const at = state.at + by;
      if (at < 0 || at >= d.count) return;
      const w = state.window;
      if (at < w.first || at >= w.first + w.roots.length) {
        const first = Math.max(0, by > 0 ? at : at - FOUR_SQUARES_WINDOW + 1);
        state.window = data['four-square'](module, d.n, first);
      }
      state.at = at;
    };
    const controls = [
      { key: () => 'picture.fourSquares.previous', act: () => move(-1), disabled: () => state.at === 0 },
      { key: () => 'picture.fourSquares.next', act: () => move(1), disabled: () => state.at + 1 >= d.count },
    ];
    return { label, markup, controls };
  }

  function sievePicture(d) {
    const label = t('picture.sieve', { n: d.n, count: d.count });
    if (d.factors.length === 0) {
      const a = axes({ xMax: d.n, yMax: d.count, xTitle: 'x', yTitle: t('picture.sieve.curve', { n: d.n }) });
      let pi = '';
      let estimate = '';
      d.curveX.forEach((x, k) => {
        pi += `${k ? 'L' : 'M'}${a.x(x)} ${a.y(d.curvePi[k])}`;
        if (x >= 3) estimate += `${estimate ? 'L' : 'M'}${a.x(x)} ${a.y(x / Math.log(x))}`;
      });
      return {
        label, controls: [],
        markup: () => svg(label, CHART_HEIGHT, a.markup + `<path d="${pi}" stroke="${LINE}" stroke-width="2" fill="none"/>` +
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
    const cell = Math.min(44, (WIDTH - 2 * MARGIN.right) / columns);
    const gridBottom = round(12 + rows * cell);
    // Which colour strikes for which prime, as many to a row as fit.
    const perRow = Math.floor((WIDTH - 2 * MARGIN.right) / 46);
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
      return svg(label, height, cells + `<g class="qv-ink" fill="#d0d0d0" font-size="14">` + legend +
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

  // ---------------------------------------------------------------------
  // Downloads.

  function save(blob, name) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  }

  function svgBlob(svgElement) {
    return new Blob([new XMLSerializer().serializeToString(svgElement)], { type: 'image/svg+xml' });
  }

  // Drawn through an <img> of the SVG as a data: URL, which leaves the
  // canvas readable also in a page opened from disk.
  function pngBlob(svgElement) {
    return new Promise((resolve, reject) => {
      const source = new XMLSerializer().serializeToString(svgElement);
      const image = new Image();
      image.onload = () => {
        const canvas = document.createElement('canvas');
        canvas.width = image.width * PNG_SCALE;
        canvas.height = image.height * PNG_SCALE;
        const context = canvas.getContext('2d');
        context.scale(PNG_SCALE, PNG_SCALE);
        context.drawImage(image, 0, 0);
        canvas.toBlob((blob) => (blob ? resolve(blob) : reject(new Error('no PNG'))), 'image/png');
      };
      image.onerror = () => reject(new Error('the SVG could not be drawn'));
      image.src = `data:image/svg+xml;charset=utf-8,${encodeURIComponent(source)}`;
    });
  }

  // ---------------------------------------------------------------------
  // The pane.

  const pane = typeof document !== 'undefined' ? document.getElementById('picture') : null;
  const pictures = { timings: [], shown: null, pngBlob, svgBlob };
  let pending = null;
  let scheduled = false;
  let current = null; // { picture, demo, number }

  // A button of the picture. After a click with the mouse or a touch the
  // keys go back to the terminal, where the next number is typed; a button
  // pressed from the keyboard keeps the focus.
  function button(key, act) {
    const b = document.createElement('button');
    b.type = 'button';
    b.textContent = t(key);
    b.addEventListener('click', (event) => {
      act();
      const term = window.quorvantile && window.quorvantile.term;
      if (event.detail > 0 && term) term.focus();
    });
    return b;
  }

  function clear() {
    if (current) current.picture.controls.forEach((c) => c.dispose && c.dispose());
    current = null;
    pictures.shown = null;
    if (pane) pane.replaceChildren();
  }

  // Draws `current` into the pane, anew: after a change of state or language.
  function render() {
    const { picture, demo, number } = current;
    const figure = document.createElement('figure');
    figure.className = 'qv-picture';
    figure.dataset.demo = demo;
    figure.dataset.number = number;
    if (!picture.markup) {
      const sentence = document.createElement('p');
      sentence.setAttribute('role', 'img');
      sentence.setAttribute('aria-label', picture.label);
      sentence.textContent = picture.label;
      figure.append(sentence);
      pane.replaceChildren(figure);
      return;
    }
    figure.innerHTML = picture.markup();
    const caption = document.createElement('figcaption');
    caption.textContent = figure.querySelector('svg').getAttribute('aria-label');
    caption.setAttribute('aria-hidden', 'true');
    const bar = document.createElement('div');
    bar.className = 'qv-picture-controls';
    const redraw = () => {
      if (current && current.picture === picture) render();
    };
    for (const control of picture.controls) {
      const b = button(control.key(), () => {
        try {
          control.act(redraw);
          redraw();
        } catch (error) {
          failed(error);
        }
      });
      if (control.disabled) b.disabled = control.disabled();
      bar.append(b);
    }
    const name = `quorvantile-${demo}-${number}`;
    bar.append(
      button('picture.downloadSvg', () => save(svgBlob(figure.querySelector('svg')), `${name}.svg`)),
      button('picture.downloadPng', () => pngBlob(figure.querySelector('svg')).then((blob) => save(blob, `${name}.png`))),
    );
    figure.append(caption, bar);
    // Keeps the keyboard focus on the control that was used, across redraws.
    const focused = pane.contains(document.activeElement) ? [...pane.querySelectorAll('button')].indexOf(document.activeElement) : -1;
    pane.replaceChildren(figure);
    if (focused >= 0) pane.querySelectorAll('button')[focused]?.focus();
  }

  // The program has gone (an abort, say) and its numbers with it.
  function failed(error) {
    console.warn('picture:', error);
    clear();
    const sentence = document.createElement('p');
    sentence.textContent = t('picture.failed');
    pane.replaceChildren(sentence);
  }

  function draw({ demo, number, module }) {
    clear();
    const make = PICTURES[demo];
    if (!make || !pane) return;
    const started = performance.now();
    let dataMs = 0;
    try {
      const numbers = data[demo](module, number);
      dataMs = performance.now() - started;
      WIDTH = paneWidth();
      const picture = make(numbers, module);
      current = { picture, demo, number, numbers, module, width: WIDTH };
      render();
      pictures.shown = { demo, number, label: picture.label };
    } catch (error) {
      failed(error);
    }
    const tenths = (ms) => Math.round(ms * 10) / 10;
    const timing = { demo, number, at: Math.round(started), ms: tenths(performance.now() - started), dataMs: tenths(dataMs) };
    pictures.timings.push(timing);
    // ...and once the browser has laid it out and painted it.
    requestAnimationFrame(() => setTimeout(() => {
      timing.paintedMs = tenths(performance.now() - started);
    }, 0));
  }

  // The first call of an export runs in the browser's baseline code, several
  // times slower than later ones (the first comet to 100000: about 200 ms
  // instead of 30). When the menu starts a demonstration, its exports are
  // called once with small numbers while the page is idle, and Goldbach's
  // comet is made, before the first picture needs them.
  const WARM_UPS = {
    1: (module) => {
      fullComet(module);
      module._picture_free(module._picture_goldbach_pairs(2000000, 0));
    },
    4: (module) => module._picture_free(module._picture_four_squares(1000000, 0, 1)),
    5: (module) => module._picture_free(module._picture_sieve(100000)),
  };
  const idle = typeof requestIdleCallback === 'function' ? (f) => requestIdleCallback(f, { timeout: 300 }) : (f) => setTimeout(f, 0);
  const warmed = new WeakMap();
  function warmUp(module, choice) {
    if (!(choice in WARM_UPS)) return;
    if (!warmed.has(module)) warmed.set(module, new Set());
    if (warmed.get(module).has(choice)) return;
    warmed.get(module).add(choice);
    idle(() => {
      try {
        WARM_UPS[choice](module);
      } catch (error) {
        // A program that has gone draws no pictures either.
      }
    });
  }

  function paneWidth() {
    return pane.clientWidth > 0 && pane.clientWidth < NARROW_PANE_PX ? NARROW : WIDE;
  }

  // Makes the picture anew from the numbers it already has: for a pane that
  // changed between wide and narrow, or for another language.
  function remake() {
    if (!current) return;
    const { demo, number, numbers, module } = current;
    current.picture.controls.forEach((c) => c.dispose && c.dispose());
    WIDTH = paneWidth();
    current = { picture: PICTURES[demo](numbers, module), demo, number, numbers, module, width: WIDTH };
    pictures.shown = { demo, number, label: current.picture.label };
    render();
  }

  function refit() {
    if (current && paneWidth() !== current.width) remake();
  }

  function picturesOn() {
    return document.documentElement.dataset.pictures !== 'off';
  }

  // Draws the latest request in a task of its own, once the pictures show.
  function schedule() {
    if (scheduled || !pending || !picturesOn()) return;
    scheduled = true;
    setTimeout(() => {
      scheduled = false;
      const request = pending;
      pending = null;
      if (request) draw(request);
    }, 0);
  }

  if (pane) {
    if (window.quorvantileI18n) window.quorvantileI18n.add(WORDS);
    window.addEventListener('quorvantile-accepted', (event) => {
      const { demo, number, module } = event.detail;
      if (module && demo === 'menu') warmUp(module, number);
      if (!(demo in PICTURES) || !module) {
        pending = null;
        clear();
        return;
      }
      pending = { demo, number, module };
      schedule();
    });
    window.addEventListener('quorvantile-state', (event) => {
      if (event.detail && event.detail.state === 'loading') {
        pending = null;
        clear();
      }
    });
    window.addEventListener('quorvantile-lang', remake);
    if (typeof ResizeObserver === 'function') new ResizeObserver(refit).observe(pane);
    new MutationObserver(schedule).observe(document.documentElement, { attributes: true, attributeFilter: ['data-pictures'] });
    window.quorvantilePictures = pictures;
  }

  if (typeof module !== 'undefined') module.exports = { WORDS, fill, ticks, tickLabel };
})();
