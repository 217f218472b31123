// The pieces the pictures are drawn with, as SVG markup: text, axes with
// round ticks, the picture's frame, colours. Part of the pictures
// (web/pictures.js).
'use strict';

(function (parts) {
  const SVG_NS = 'http://www.w3.org/2000/svg';
  // A chart's height and margins, in the picture's units.
  const CHART_MAX_HEIGHT = 360;
  const MARGIN = { left: 64, right: 20, top: 20, bottom: 40 };
  // The marks that stand out (a peak, the entry's own count) and the lines.
  const ACCENT = '#ff5555';
  const LINE = '#55ff55';

  function escapeText(text) {
    return String(text).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/"/g, '&quot;');
  }

  function text(x, y, content, attributes = '') {
    return `<text x="${x}" y="${y}" ${attributes}>${escapeText(content)}</text>`;
  }

  function round(v) {
    return Math.round(v * 10) / 10;
  }

  // About `count` round values from 0 to max. Every axis counts whole things
  // (pairs, steps, primes, numbers), so the step is a whole number too.
  function ticks(max, count = 5) {
    if (max <= 0) return [0];
    const raw = Math.max(1, max / count);
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

  // A chart's height for a picture `width` wide: 4:3 in the upright layout,
  // which a phone's low pane then scales down less; lower in the wide one.
  function chartHeight(width) {
    return Math.min(CHART_MAX_HEIGHT, Math.round((width * 3) / 4));
  }

  // A chart's axes over [0, xMax] × [0, yMax] (or [1, yMax] on a log scale)
  // in a box `width` wide and `height` high at `top`, with the mapping
  // functions.
  function axes({ width, xMax, yMax, log = false, top = 0, height = chartHeight(width), xTitle = '', yTitle = '' }) {
    const left = MARGIN.left;
    const right = width - MARGIN.right;
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
    let markup = `<g stroke="#8a8a8a" stroke-width="1">` +
      `<line x1="${left}" y1="${y0}" x2="${right}" y2="${y0}"/><line x1="${left}" y1="${y0}" x2="${left}" y2="${y1}"/>`;
    for (const v of ticks(xMax)) markup += `<line x1="${x(v)}" y1="${y0}" x2="${x(v)}" y2="${y0 + 4}"/>`;
    for (const v of yValues) markup += `<line x1="${left - 4}" y1="${y(v)}" x2="${left}" y2="${y(v)}"/>`;
    markup += `</g><g fill="#d0d0d0" font-size="12">`;
    for (const v of ticks(xMax)) markup += text(x(v), y0 + 17, tickLabel(v), 'text-anchor="middle"');
    for (const v of yValues) markup += text(left - 7, y(v) + 4, yLabel(v), 'text-anchor="end"');
    if (xTitle) markup += text(right, y0 + 33, xTitle, 'text-anchor="end"');
    if (yTitle) markup += text(left + 6, y1 - 6, yTitle);
    markup += '</g>';
    return { x, y, y0, y1, left, right, markup };
  }

  // The picture: one image, its label its accessible name and its title.
  function svg(width, label, height, body) {
    return `<svg xmlns="${SVG_NS}" class="qv-svg" role="img" aria-label="${escapeText(label)}" ` +
      `viewBox="0 0 ${width} ${height}" width="${width}" height="${height}" ` +
      `font-family="system-ui, sans-serif"><title>${escapeText(label)}</title>` +
      `<rect class="qv-bg" width="${width}" height="${height}" fill="#000000"/>${body}</svg>`;
  }

  // A colour per index, far apart on the colour wheel.
  function hue(k, lightness = 58) {
    return `hsl(${Math.round((k * 137.508) % 360)}, 70%, ${lightness}%)`;
  }

  Object.assign(parts, { chartHeight, MARGIN, ACCENT, LINE, escapeText, text, round, ticks, tickLabel, axes, svg, hue });
  if (typeof module !== 'undefined') module.exports = parts;
})((typeof globalThis.quorvantilePictureParts === 'object' ? globalThis.quorvantilePictureParts : (globalThis.quorvantilePictureParts = {})));
