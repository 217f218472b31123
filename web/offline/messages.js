// The message a page sends the waiting service worker to take over now
// (Workbox's own type for it): { type: SKIP_WAITING, ifAlone }, `ifAlone`
// asking it to take over only when that page is the one window of the page
// open, and to answer whether it did. The page (offline/register.js) and the
// worker (offline/service-worker.js) both name it from here.
export const SKIP_WAITING = 'SKIP_WAITING';
