// The served page's service worker: after the first visit every file of the
// page is kept, so that the page starts with the network gone. The build
// fills in the files and the cache's name (web/service_worker.cmake), which
// carries the version and a digest of the files: a new release is a new
// cache, filled whole before it is used, and the old one is deleted only
// when no open page uses it any more, so no page ever mixes two versions.
// The new version takes over when the page is next opened with no other tab
// of it open (then reloading it once); until then the kept one answers.
'use strict';

const CACHE = '@QUORVANTILE_CACHE@';
const FILES = [@QUORVANTILE_FILES@];
const CACHE_PREFIX = 'quorvantile-';
// How long an opening page waits for the new version to take over before
// it is served by the old one after all.
const TAKE_OVER_MS = 3000;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) =>
    cache.addAll(FILES.map((file) => new Request(file, { cache: 'reload' })))));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys().then((names) => Promise.all(names
    .filter((name) => name.startsWith(CACHE_PREFIX) && name !== CACHE)
    .map((name) => caches.delete(name)))));
});

self.addEventListener('message', (event) => {
  if (event.data === 'take-over') self.skipWaiting();
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(answer(event.request));
});

async function answer(request) {
  if (request.mode === 'navigate' && await newVersionTookOver()) {
    // Loaded again, the page is the new version's from its first file.
    return new Response('', { headers: { Refresh: '0', 'Content-Type': 'text/html' } });
  }
  const kept = await caches.open(CACHE).then((cache) => cache.match(request, { ignoreSearch: true }));
  return kept || fetch(request);
}

// A page is being opened while a new version waits: unless another page
// still shows this version, the new one takes over now.
async function newVersionTookOver() {
  const waiting = self.registration.waiting;
  if (!waiting) return false;
  const pages = await self.clients.matchAll({ type: 'window' });
  if (pages.length > 1) return false;
  const activated = new Promise((resolve) => {
    waiting.addEventListener('statechange', () => {
      if (waiting.state === 'activated') resolve(true);
    });
    setTimeout(() => resolve(false), TAKE_OVER_MS);
  });
  waiting.postMessage('take-over');
  return activated;
}
