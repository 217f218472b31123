// The pieces the pictures are drawn with, as SVG markup: text, axes with
// round ticks, the picture's frame, and its colours on paper.
import { PALETTE, COLOUR, TO_PAPER } from './palette.js';

const SVG_NS = 'http://www.w3.org/2000/svg';
// A chart's height and margins, in the picture's units. Below the least
// height a chart keeps no room for its plot between its axis titles.
const CHART_MAX_HEIGHT = 360;
export const CHART_LEAST_HEIGHT = 130;
export const MARGIN = { left: 64, right: 20, top: 20, bottom: 40 };
// The smallest words of any picture, in its units: the pane scales a
// picture so that these are still legible (pictures/pane.js).
export const SMALLEST_WORD_SIZE = 12;

// A picture's markup as it goes on paper.
export function onPaper(markup) {
  return markup
    .replace(/(<rect class="qv-bg"[^>]*fill=")[^"]*"/g, `$1${PALETTE.background.paper}"`)
    .replace(/ (fill|stroke)="(#[0-9a-f]{6})"/g, (whole, attribute, colour) =>
      TO_PAPER.has(colour) ? ` ${attribute}="${TO_PAPER.get(colour)}"` : whole,
    );
}

// The same for printing, as a style sheet: the pane's own picture on paper.
export function paperStyle(scope) {
  let css =
    `${scope} svg { background: ${PALETTE.background.paper}; }\n` +
    `${scope} .qv-bg { fill: ${PALETTE.background.paper}; }\n`;
  for (const [screen, paper] of TO_PAPER) {
    css += `${scope} [fill="${screen}"] { fill: ${paper}; }\n${scope} [stroke="${screen}"] { stroke: ${paper}; }\n`;
  }
  return css;
}

// About how wide `content` is drawn at `size`, a little on the wide side:
// the pictures place their words apart by it. Chinese characters and the
// ellipsis take a whole em, digits and Latin letters in the sans-serif
// face about 0.6.
export function textWidth(content, size) {
  let ems = 0;
  for (const c of String(content)) ems += c >= '\u2e80' || c === '…' ? 1.02 : 0.62;
  return ems * size;
}

// `content` cut at its spaces into lines at most `width` wide at `size`.
export function wrapWords(content, width, size) {
  const lines = [];
  let line = '';
  for (const word of String(content).split(' ')) {
    const tried = line ? `${line} ${word}` : word;
    if (line && textWidth(tried, size) > width) {
      lines.push(line);
      line = word;
    } else {
      line = tried;
    }
  }
  if (line) lines.push(line);
  return lines;
}

export function escapeText(text) {
  return String(text).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/"/g, '&quot;');
}

export function text(x, y, content, attributes = '') {
  return `<text x="${x}" y="${y}" ${attributes}>${escapeText(content)}</text>`;
}

export function round(v) {
  return Math.round(v * 10) / 10;
}

// About `count` round values from 0 to max. Every axis counts whole things
// (pairs, steps, primes, numbers), so the step is a whole number too.
export function ticks(max, count = 5) {
  if (max <= 0) return [0];
  const raw = Math.max(1, max / count);
  const power = 10 ** Math.floor(Math.log10(raw));
  const step = [1, 2, 5, 10].map((f) => f * power).find((s) => s >= raw);
  const values = [];
  for (let v = 0; v <= max + step * 1e-9; v += step) values.push(Math.round(v / step) * step);
  return values;
}

// Round values as 20k, 1.5M, 7G; the axes' values come from ticks().
export function tickLabel(v) {
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
// which a phone's low pane then scales down less; lower in the wide one;
// at most `most` (the pane's room), down to the least height.
export function chartHeight(width, most = Infinity) {
  return Math.max(CHART_LEAST_HEIGHT, Math.min(CHART_MAX_HEIGHT, Math.round((width * 3) / 4), Math.floor(most)));
}

// A chart's axes over [0, xMax] × [0, yMax] (or [1, yMax] on a log scale)
// in a box `width` wide and `height` high at `top`, with the mapping
// functions.
export function axes({
  width,
  xMax,
  yMax,
  log = false,
  top = 0,
  height = chartHeight(width),
  xTitle = '',
  yTitle = '',
}) {
  const left = MARGIN.left;
  const right = width - MARGIN.right;
  // The y axis's title over it, in as many lines as it takes, kept inside
  // the picture; the axis starts below it.
  const titleLines = yTitle ? wrapWords(yTitle, width - 4, SMALLEST_WORD_SIZE) : [];
  const titleStep = Math.round(SMALLEST_WORD_SIZE * 1.3);
  const titleX = Math.max(
    2,
    Math.min(left + 6, width - 2 - Math.max(0, ...titleLines.map((l) => textWidth(l, SMALLEST_WORD_SIZE)))),
  );
  const y0 = top + height - MARGIN.bottom;
  const y1 = top + MARGIN.top + titleStep * Math.max(0, titleLines.length - 1);
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
  let markup =
    `<g stroke="${COLOUR.axis}" stroke-width="1">` +
    `<line x1="${left}" y1="${y0}" x2="${right}" y2="${y0}"/><line x1="${left}" y1="${y0}" x2="${left}" y2="${y1}"/>`;
  for (const v of ticks(xMax)) markup += `<line x1="${x(v)}" y1="${y0}" x2="${x(v)}" y2="${y0 + 4}"/>`;
  for (const v of yValues) markup += `<line x1="${left - 4}" y1="${y(v)}" x2="${left}" y2="${y(v)}"/>`;
  markup += `</g><g fill="${COLOUR.words}" font-size="${SMALLEST_WORD_SIZE}">`;
  for (const v of ticks(xMax)) markup += text(x(v), y0 + 17, tickLabel(v), 'text-anchor="middle"');
  for (const v of yValues) markup += text(left - 7, y(v) + 4, yLabel(v), 'text-anchor="end"');
  if (xTitle) markup += text(right, y0 + 33, xTitle, 'text-anchor="end"');
  titleLines.forEach((line, k) => (markup += text(titleX, top + MARGIN.top - 6 + k * titleStep, line)));
  markup += '</g>';
  return { x, y, y0, y1, left, right, markup };
}

// Words in lines from (x, y) down, `size` high, as one <text>.
export function lines(x, y, content, size, attributes = '') {
  const spans = content.map(
    (line, k) => `<tspan x="${x}" dy="${k ? round(size * 1.3) : 0}">${escapeText(line)}</tspan>`,
  );
  return `<text x="${x}" y="${y}" font-size="${size}" ${attributes}>${spans.join('')}</text>`;
}

// A picture's markup with its label written over it as a title, for a
// picture that leaves the page (a download), where no caption goes with it.
const TITLE_WORD_SIZE = 15;
export function titled(markup) {
  const [, width, height] = /viewBox="0 0 ([\d.]+) ([\d.]+)"/.exec(markup).map(Number);
  const label = /aria-label="([^"]*)"/.exec(markup)[1];
  const plain = label
    .replace(/&quot;/g, '"')
    .replace(/&lt;/g, '<')
    .replace(/&gt;/g, '>')
    .replace(/&amp;/g, '&');
  // Bold words run about a tenth wider.
  const title = wrapWords(plain, (width - 2 * MARGIN.right) / 1.12, TITLE_WORD_SIZE);
  const band = Math.round(title.length * TITLE_WORD_SIZE * 1.3 + 14);
  const inner = markup.slice(markup.indexOf('>') + 1, markup.lastIndexOf('</svg>'));
  return svg(
    width,
    plain,
    height + band,
    `<g fill="${COLOUR.words}">` +
      lines(MARGIN.right, TITLE_WORD_SIZE + 6, title, TITLE_WORD_SIZE, 'class="qv-title" font-weight="700"') +
      `</g><g transform="translate(0 ${band})">${inner.replace(/^<title>.*?<\/title>/, '')}</g>`,
  );
}

// The picture: one image, its label its accessible name and its title.
export function svg(width, label, height, body) {
  return (
    `<svg xmlns="${SVG_NS}" class="qv-svg" role="img" aria-label="${escapeText(label)}" ` +
    `viewBox="0 0 ${width} ${height}" width="${width}" height="${height}" ` +
    `font-family="system-ui, sans-serif"><title>${escapeText(label)}</title>` +
    `<rect class="qv-bg" width="${width}" height="${height}" fill="${PALETTE.background.screen}"/>${body}</svg>`
  );
}

// A colour per index, far apart on the colour wheel.
export function hue(k, lightness = 58) {
  return `hsl(${Math.round((k * 137.508) % 360)}, 70%, ${lightness}%)`;
}
