// Bundles the page and its service worker with esbuild:
//   node tools/bundle.js page <output folder>
//     shell/main.js and every module and style sheet it imports, the npm
//     packages among them, into quorvantile-page.js and quorvantile-page.css
//     (and their source maps). A classic script, not a module: it also runs
//     inlined in the single file opened from disk, where a browser loads no
//     module.
//   node tools/bundle.js worker <page folder> <file>...
//     offline/service-worker.js with the Workbox modules it imports, into
//     <page folder>/service-worker.js, the page's files it keeps listed in
//     it, each with its revision (a digest of its bytes, by workbox-build),
//     so that a new release fetches what changed and takes over whole. Every
//     file named must be in the page's folder.
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import * as esbuild from 'esbuild';
import workboxBuild from 'workbox-build';

const web = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
// The program's WebAssembly is the largest file (a few MB); Workbox leaves
// out files over its own 2 MB default, which would break the offline start.
const LARGEST_FILE = 256 * 1024 * 1024;
const COMMON = { absWorkingDir: web, bundle: true, format: 'iife', target: 'es2020', logLevel: 'warning' };

async function page(output) {
  await esbuild.build({
    ...COMMON,
    entryPoints: { 'quorvantile-page': 'shell/main.js' },
    outdir: path.resolve(output),
    minify: true,
    sourcemap: true,
  });
}

async function worker(pageDir, files) {
  const { manifestEntries, warnings } = await workboxBuild.getManifest({
    globDirectory: pageDir,
    globPatterns: files,
    maximumFileSizeToCacheInBytes: LARGEST_FILE,
  });
  const listed = new Set(manifestEntries.map((entry) => entry.url));
  const missing = files.filter((file) => !listed.has(file));
  if (warnings.length > 0 || missing.length > 0) {
    throw new Error(`the worker would not keep ${missing.join(', ')}: ${warnings.join('; ')}`);
  }
  await esbuild.build({
    ...COMMON,
    entryPoints: ['offline/service-worker.js'],
    outfile: path.resolve(pageDir, 'service-worker.js'),
    // The browser fetches the worker at every check for a new release.
    minify: true,
    define: {
      'self.__WB_MANIFEST': JSON.stringify(manifestEntries),
      // Workbox's logging is for its own development builds.
      'process.env.NODE_ENV': '"production"',
    },
  });
  console.log(`service-worker.js: ${manifestEntries.length} files kept`);
}

const [what, output, ...files] = process.argv.slice(2);
if (what === 'page' && output) await page(output);
else if (what === 'worker' && output && files.length > 0) await worker(output, files);
else {
  console.error('usage: node tools/bundle.js page <output folder> | worker <page folder> <file>...');
  process.exit(2);
}
