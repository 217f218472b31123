// The served page's service worker: after the first visit every file of the
// page is kept, so that the page starts with the network gone. The build
// fills in the files and the cache's name (web/service_worker.cmake), which
// carries the version and a digest of the files: a new release is a new
// cache, filled whole before it is used, and the old one is deleted only
// when no open page uses it any more, so no page ever mixes two versions.
// The new version takes over when the page is next opened or reloaded with
// no other window of it open: the version leaving answers that page, every
// file of it, out of the new version's cache, and tells the new version to
// take over once the page has loaded (offline.js says so). The page loads
// once, wholly new. Until then the kept one answers.
'use strict';

const CACHE = '@QUORVANTILE_CACHE@';
const FILES = '@QUORVANTILE_FILES@'.split(',');
const CACHE_PREFIX = 'quorvantile-';
// A waiting version answers at once; one that does not is from before it
// could say its cache (or is gone), and the page is then loaded once more.
const ANSWER_MS = 5000;
// A page that has not said it is loaded by then is taken over anyway.
const LOADED_MS = 30000;

// Once this version has handed over: the new version's cache (no window
// shows this version any more, so all this worker answers comes from
// there), the pages it answered that have not yet loaded, and the promise
// that settles when the new version is told to take over.
let successor = null;
const loading = new Set();
let handOver = null;

self.addEventListener('install', (event) => {
  event.waitUntil(
    caches.open(CACHE).then((cache) => cache.addAll(FILES.map((file) => new Request(file, { cache: 'reload' })))),
  );
});

// Only pages of this version are left once it is active: those the version
// before handed over, and those opened since.
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

// 'which-cache' and 'take-over' come from the version leaving while this
// one waits; 'loaded' from a page, when it has asked for all its files.
self.addEventListener('message', (event) => {
  if (event.data === 'which-cache' && event.ports[0]) event.ports[0].postMessage(CACHE);
  if (event.data === 'take-over') self.skipWaiting();
  if (event.data === 'loaded' && event.source) pageLoaded(event.source.id);
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(answer(event));
});

async function answer(event) {
  const { request } = event;
  if (request.mode === 'navigate') {
    const turn = deciding.then(() => decide(event.clientId));
    deciding = turn.catch(() => {});
    if ((await turn) === 'reload') return new Response('', { headers: { Refresh: '0', 'Content-Type': 'text/html' } });
  }
  if (request.mode === 'navigate' && successor) {
    loading.add(event.resultingClientId);
    // This worker stays until the new version takes over: stopped, it
    // would forget where the page's files come from.
    event.waitUntil(handOver);
  }
  const kept = await caches.match(request, { cacheName: successor || CACHE, ignoreSearch: true });
  return kept || fetch(request);
}

// Whether this version hands over to the one waiting as a page is opened
// from `opener`, decided for one page at a time so that it hands over
// once. 'reload' when the version waiting is from before it could say its
// cache: it takes over at once, and the page, loaded once more, is wholly
// its own.
let deciding = Promise.resolve();
async function decide(opener) {
  if (successor) return null;
  const waiting = await mayTakeOver(opener);
  if (!waiting) return null;
  successor = await cacheOf(waiting);
  if (successor) {
    handOver = takeOverOnceLoaded(waiting);
    return null;
  }
  waiting.postMessage('take-over');
  return 'reload';
}

// The version waiting, when it may take over the page being opened: no
// window shows this version but the one it is opened from (the page that
// is reloaded, or that followed a link), which it replaces. A page opened
// afresh has no opener, so any other window open keeps this version.
async function mayTakeOver(opener) {
  const waiting = self.registration.waiting;
  if (!waiting) return null;
  const pages = await self.clients.matchAll({ type: 'window' });
  return pages.every((page) => page.id === opener) ? waiting : null;
}

// The name of `waiting`'s cache, or null if it does not say one.
function cacheOf(waiting) {
  return new Promise((resolve) => {
    const channel = new MessageChannel();
    const timer = setTimeout(() => resolve(null), ANSWER_MS);
    channel.port1.onmessage = (event) => {
      clearTimeout(timer);
      const name = event.data;
      resolve(typeof name === 'string' && name.startsWith(CACHE_PREFIX) ? name : null);
    };
    waiting.postMessage('which-cache', [channel.port2]);
  });
}

// Tells `waiting` to take over once every page answered from its cache has
// loaded. Not before: a request that reaches this worker as it stops
// would go to the network instead.
let allLoaded = null;
function takeOverOnceLoaded(waiting) {
  return new Promise((resolve) => {
    allLoaded = resolve;
    setTimeout(resolve, LOADED_MS);
  }).then(() => waiting.postMessage('take-over'));
}

function pageLoaded(id) {
  loading.delete(id);
  if (successor && loading.size === 0 && allLoaded) allLoaded();
}
