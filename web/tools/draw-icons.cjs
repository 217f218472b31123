// Draws the page's icons from the program's own farewell picture
// (app/farewell.cc): each ':' two dots, each '.' a dot low in its cell, each
// ' and ` a tick high in it, green on black as the program shows it; its words
// are left out, too small to read at an icon's size. Writes icon.svg, and
// icon-192.png and icon-512.png drawn from it by headless Chromium, into web/:
//   node web/tools/draw-icons.cjs
'use strict';

const fs = require('node:fs');
const path = require('node:path');
const { launchBrowser } = require('../tests/harness.cjs');

const web = path.join(__dirname, '..');
const source = fs.readFileSync(path.join(web, '..', 'app', 'farewell.cc'), 'utf8');
const lines = [...source.matchAll(/^\s*"\\t(.*)",$/gm)].map((m) => m[1].replace(/[^.:'` ]/g, ' '));
if (lines.length < 10) throw new Error('app/farewell.cc: the picture was not found');

// A cell of the picture, in the icon's units, as a terminal's cell is
// about twice as high as wide; the margin keeps the figure inside the
// circle that a round icon mask leaves.
const CELL_W = 6;
const CELL_H = 13;
const SIZE = 512;
const MARGIN = 64;
const GREEN = '#55ff55';

let left = Infinity;
let right = 0;
for (const line of lines) {
  const first = line.search(/\S/);
  if (first >= 0) left = Math.min(left, first);
  right = Math.max(right, line.trimEnd().length);
}
const scale = Math.min((SIZE - 2 * MARGIN) / ((right - left) * CELL_W), (SIZE - 2 * MARGIN) / (lines.length * CELL_H));
const width = (right - left) * CELL_W * scale;
const height = lines.length * CELL_H * scale;
const x0 = (SIZE - width) / 2;
const y0 = (SIZE - height) / 2;
const r = 1.6 * scale;
const marks = [];
const dot = (x, y) => marks.push(`<circle cx="${x.toFixed(1)}" cy="${y.toFixed(1)}" r="${r.toFixed(1)}"/>`);
lines.forEach((line, row) => {
  for (let col = left; col < line.length; col++) {
    const x = x0 + (col - left + 0.5) * CELL_W * scale;
    const top = y0 + row * CELL_H * scale;
    const ch = line[col];
    if (ch === '.') dot(x, top + 0.8 * CELL_H * scale);
    if (ch === ':') {
      dot(x, top + 0.35 * CELL_H * scale);
      dot(x, top + 0.8 * CELL_H * scale);
    }
    if (ch === "'" || ch === '`') {
      const lean = ch === '`' ? -1 : 0;
      marks.push(
        `<line x1="${(x + lean * scale).toFixed(1)}" y1="${(top + 0.1 * CELL_H * scale).toFixed(1)}" ` +
          `x2="${(x - lean * scale).toFixed(1)}" y2="${(top + 0.4 * CELL_H * scale).toFixed(1)}"/>`,
      );
    }
  }
});
const svg =
  `<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 ${SIZE} ${SIZE}">\n` +
  `<rect width="${SIZE}" height="${SIZE}" fill="#000"/>\n` +
  `<g fill="${GREEN}" stroke="${GREEN}" stroke-width="${(1.4 * scale).toFixed(1)}" stroke-linecap="round">\n` +
  `${marks.join('\n')}\n</g>\n</svg>\n`;
fs.writeFileSync(path.join(web, 'icon.svg'), svg);

(async () => {
  const chromium = await launchBrowser();
  try {
    const page = await chromium.browser.newPage();
    for (const size of [192, 512]) {
      await page.setViewport({ width: size, height: size });
      await page.setContent(
        `<body style="margin:0;background:#000"><img src="data:image/svg+xml;base64,${Buffer.from(svg).toString(
          'base64',
        )}" width="${size}" height="${size}" style="display:block"></body>`,
      );
      await page.screenshot({ path: path.join(web, `icon-${size}.png`) });
    }
  } finally {
    await chromium.close();
  }
})().catch((error) => {
  console.error(error);
  process.exit(1);
});
