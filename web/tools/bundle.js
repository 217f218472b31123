// Bundles the page for the browser with esbuild: shell/main.js and every
// module and style sheet it imports, the npm packages among them, into one
// classic script and one style sheet, each with its source map:
//   node tools/bundle.js <output folder>
// writes quorvantile-page.js and quorvantile-page.css (and their .map) there.
// A classic script, not a module: it also runs inlined in the single file
// opened from disk, where a browser loads no module.
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import * as esbuild from 'esbuild';

const web = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const [output] = process.argv.slice(2);
if (!output) {
  console.error('usage: node tools/bundle.js <output folder>');
  process.exit(2);
}
await esbuild.build({
  absWorkingDir: web,
  entryPoints: { 'quorvantile-page': 'shell/main.js' },
  outdir: path.resolve(output),
  bundle: true,
  minify: true,
  sourcemap: true,
  format: 'iife',
  target: 'es2020',
  logLevel: 'warning',
});
