// Writes the page's service worker: the worker's source (service-worker.js)
// bundled with the Workbox modules it imports into one classic script, the
// list of the page's files it keeps filled in, each with its revision (a
// digest of its bytes), so that a new release fetches what changed and
// takes over whole. Every file named must be in the page's folder.
//   node service_worker.cjs <page folder> <output> <source> <file>...
'use strict';

const path = require('node:path');
const esbuild = require('esbuild');
const { getManifest } = require('workbox-build');

// The program's WebAssembly is the largest file (a few MB); Workbox leaves
// out files over its own 2 MB default, which would break the offline start.
const LARGEST_FILE = 256 * 1024 * 1024;

async function main([pageDir, output, source, ...files]) {
  if (!pageDir || !output || !source || files.length === 0) {
    throw new Error('usage: node service_worker.cjs <page folder> <output> <source> <file>...');
  }
  const { manifestEntries, warnings } = await getManifest({
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
    entryPoints: [source],
    outfile: output,
    bundle: true,
    format: 'iife',
    target: 'es2020',
    // The browser fetches the worker at every check for a new release.
    minify: true,
    define: {
      'self.__WB_MANIFEST': JSON.stringify(manifestEntries),
      // Workbox's logging is for its own development builds.
      'process.env.NODE_ENV': '"production"',
    },
    logLevel: 'warning',
  });
  console.log(`${path.basename(output)}: ${manifestEntries.length} files kept`);
}

main(process.argv.slice(2)).catch((error) => {
  console.error(`service_worker.cjs: ${error.message}`);
  process.exit(1);
});
