// The served page's service worker: after the first visit every file of the
// page is kept, so that the page starts with the network gone. The build
// fills in the files and the cache's name (web/service_worker.cmake), which
// carries the version and a digest of the files: a new release is a new
// cache, filled whole before it is used, and the old one is deleted only
// when no open page uses it any more, so no page ever mixes two versions.
// The new version takes over when the page is next opened or reloaded with
// no other tab of it open (the page then loads once more, from the new
// version); until then the kept one answers.
'use strict';

const CACHE = '@QUORVANTILE_CACHE@';
const FILES = '@QUORVANTILE_FILES@'.split(',');
const CACHE_PREFIX = 'quorvantile-';

self.addEventListener('install', (event) => {
  event.waitUntil(
    caches.open(CACHE).then((cache) => cache.addAll(FILES.map((file) => new Request(file, { cache: 'reload' })))),
  );
});

self.addEventListener('activate', (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) =>
        Promise.all(
          names.filter((name) => name.startsWith(CACHE_PREFIX) && name !== CACHE).map((name) => caches.delete(name)),
        ),
      ),
  );
});

self.addEventListener('message', (event) => {
  if (event.data === 'take-over') self.skipWaiting();
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(answer(event.request));
});

async function answer(request) {
  if (request.mode === 'navigate' && (await handedOver())) {
    // Loaded again, the page is the new version's from its first file.
    return new Response('', { headers: { Refresh: '0', 'Content-Type': 'text/html' } });
  }
  const kept = await caches.open(CACHE).then((cache) => cache.match(request, { ignoreSearch: true }));
  return kept || fetch(request);
}

// A page is being opened while a new version waits: unless another page
// still shows this version, the new one is told to take over, and this
// worker answers nothing more of the page, so that none of its files comes
// from the version leaving. (The new one takes over only once this answer
// is given: waiting for it here would wait for ever.)
async function handedOver() {
  const waiting = self.registration.waiting;
  if (!waiting) return false;
  const pages = await self.clients.matchAll({ type: 'window' });
  if (pages.length > 1) return false;
  waiting.postMessage('take-over');
  return true;
}
