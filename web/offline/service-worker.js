// The served page's service worker: after the first visit every file of the
// page is kept (Workbox's precache, listed with each file's revision by the
// build: tools/bundle.js), so that the page starts with the network gone.
// A new release installs beside the one in use and waits; it takes over
// only when no page of the old one is open any more, or when a page asks
// it to (offline/register.js: the user chose to start it, or a page just
// opened is the only one), then claims the open pages, which reload once.
// Each page is thus wholly of one release. Nothing of the hand-over is kept
// in memory: a worker stopped and started again answers the same.
import { clientsClaim } from 'workbox-core';
import { precacheAndRoute } from 'workbox-precaching';
import { SKIP_WAITING } from './messages.js';

// The page's files, as the build lists them. A search part (?x=1) names the
// same file: lesson links live after #, and nothing else is asked with one.
precacheAndRoute(self.__WB_MANIFEST, { ignoreURLParametersMatching: [/.*/] });
clientsClaim();

// The worker of the releases before this one kept the files in caches of
// its own, named so; once this one is active they serve nobody.
const EARLIER_CACHES = 'quorvantile-';
self.addEventListener('activate', (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) => Promise.all(names.filter((n) => n.startsWith(EARLIER_CACHES)).map((n) => caches.delete(n)))),
  );
});

// { type: SKIP_WAITING } takes over now, whatever is open (Workbox's
// message, sent when the user starts the new version); with `ifAlone` only
// when the page asking is the one window of the page open, and the answer
// says whether it did.
self.addEventListener('message', (event) => {
  const { data } = event;
  if (data === 'which-cache' || data === 'take-over') {
    handOverFromEarlier(event);
    return;
  }
  if (!data || data.type !== SKIP_WAITING) return;
  if (!data.ifAlone) {
    self.skipWaiting();
    return;
  }
  event.waitUntil(
    isAlone(event.source).then((alone) => {
      if (alone) self.skipWaiting();
      if (event.ports[0]) event.ports[0].postMessage(alone);
    }),
  );
});

async function isAlone(asking) {
  if (!asking) return false;
  const windows = await self.clients.matchAll({ type: 'window', includeUncontrolled: true });
  return windows.filter((w) => w.url.startsWith(self.registration.scope)).every((w) => w.id === asking.id);
}

// The worker of the release before this one hands over to a waiting one by
// asking for its cache ('which-cache') and telling it to 'take-over': no
// name it knows makes it hand over at once, and the page it answered then
// loads again, wholly this release.
function handOverFromEarlier(event) {
  if (event.data === 'take-over') self.skipWaiting();
  else if (event.ports[0]) event.ports[0].postMessage('');
}
