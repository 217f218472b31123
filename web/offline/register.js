// Keeps the served page for offline use, and brings it a new release whole.
// Registers service-worker.js (with Workbox's window library) when the page
// comes over http(s) with its manifest linked; the single file (opened from
// disk, its manifest link taken out) registers nothing. A new release that
// the worker has installed waits while a page of the old one is open:
//  - a page just opened, the only one of the page, asks it to take over and
//    loads once more, wholly new, before its program starts;
//  - so does such a page nothing was typed into yet, once the release is
//    ready (the page is found and tells it a moment after it opens);
//  - any other page keeps its release and says "A new version is ready"
//    beside a control that starts it, which saves the session first where
//    anything was typed (Save's file), so that no lesson is lost by it.
//   keepOffline({ run, exporter }) -> opening, a promise that the page
//   awaits before the program's first start: it settles once the page knows
//   it is not about to load again.
import { Workbox, messageSW } from 'workbox-window';
import { i18n } from '../shell/i18n.js';
import { SKIP_WAITING } from './messages.js';

// The one wait that holds the program's start: a worker that has not
// answered by then (it had to start up on a busy machine) no longer holds
// it, and the page goes on as it is.
const OPENING_MS = 5000;
// Chromium does not let a new release take over while the leaving one is
// answering, and now and then not until it idles out (30 s) when a request
// reaches it just as it stops (the manifest's icon, which the browser
// itself asks for as a page opens). Another page of it coming and going
// sets the take-over going: a release that has not taken over after each
// of these waits is given one, a hidden frame of a style sheet.
const TAKE_OVER_MS = 400;
const NUDGES = 5;

export function keepOffline({ run, exporter }) {
  const served = location.protocol === 'https:' || location.protocol === 'http:';
  if (!served || !('serviceWorker' in navigator) || !document.querySelector('link[rel="manifest"]')) return null;
  const offer = document.getElementById('update');
  const startButton = document.getElementById('update-start');
  // A page that came from the network, not from a kept release: the
  // worker's first claim of it changes nothing.
  let controlled = !!navigator.serviceWorker.controller;
  let touched = false; // anything was typed into the program (by hand or by a lesson link)
  let asked = false; // this page asked the new release to take over: it loads again once it has
  let reloading = false;
  let frame = null; // the hidden frame of a nudge while it loads

  function reload() {
    if (reloading) return;
    reloading = true;
    // A frame cut off as it loads is a failed request: it loads first.
    if (frame) frame.addEventListener('load', () => location.reload(), { once: true });
    else location.reload();
  }

  function nudge(left) {
    if (left === 0) {
      // It did not come: the page stays as it is, and offers it.
      if (!reloading) {
        asked = false;
        showOffer();
      }
      return;
    }
    setTimeout(() => {
      if (reloading) return;
      if (!frame) {
        const loading = document.createElement('iframe');
        loading.hidden = true;
        // A style sheet shows as text; the manifest would be a download.
        loading.src = document.querySelector('link[rel="stylesheet"]').href;
        loading.addEventListener('load', () => {
          loading.remove();
          frame = null;
        });
        frame = loading;
        document.body.append(loading);
      }
      nudge(left - 1);
    }, TAKE_OVER_MS);
  }

  // Asks `waiting` to take over (with `ifAlone`, only if this page is the
  // only one open); whether it does.
  async function takeOver(waiting, ifAlone) {
    asked = true;
    const message = { type: SKIP_WAITING, ifAlone };
    if (!ifAlone) waiting.postMessage(message);
    else if ((await messageSW(waiting, message)) !== true) asked = false;
    if (asked) nudge(NUDGES);
    return asked;
  }

  async function open() {
    const registration = await navigator.serviceWorker.getRegistration();
    if (!controlled || !registration) return;
    // A kept page asks for a new release at once (the browser would after
    // a delay); offline, it quietly finds none.
    if (!registration.waiting) {
      registration.update().catch(() => {});
      return;
    }
    if (await takeOver(registration.waiting, true)) await new Promise(() => {}); // the page loads again
  }

  function showOffer() {
    const key = touched ? 'update.saveStart' : 'update.start';
    startButton.dataset.i18n = key;
    startButton.dataset.i18nTitle = `${key}.hint`;
    i18n.apply(offer);
    offer.hidden = false;
  }

  async function startNewRelease() {
    if (touched) exporter.save();
    const registration = await navigator.serviceWorker.getRegistration();
    // Another page may have started it already: this one then only loads again.
    if (registration && registration.waiting) takeOver(registration.waiting, false);
    else reload();
  }

  const opening = Promise.race([
    open().catch(() => {}),
    new Promise((resolve) => setTimeout(resolve, OPENING_MS)),
  ]).then(() => {
    // A take-over that never came no longer reloads a page in use.
    if (!reloading) asked = false;
  });

  run.term.onData(() => {
    touched = true;
    if (!offer.hidden) showOffer();
  });
  startButton.addEventListener('click', startNewRelease);

  // The release in use changed: on this page's asking, it loads once more;
  // when another page started it, this one does so only if nothing was
  // typed into it yet, and otherwise offers to.
  navigator.serviceWorker.addEventListener('controllerchange', () => {
    if (!controlled) {
      controlled = true;
      return;
    }
    if (asked || !touched) reload();
    else showOffer();
  });

  async function newRelease(waiting) {
    if (asked || reloading) return;
    if (touched || !(await takeOver(waiting, true))) showOffer();
  }

  // Each release that comes to wait. (Workbox's 'waiting' event misses one
  // whose install began before the page registered, and any after the first
  // found by another page.)
  function follow(registration) {
    const watch = (worker) => {
      if (!worker) return;
      // The first release installed on a page the network gave is no new one.
      const settled = () =>
        worker.state === 'installed' &&
        registration.waiting === worker &&
        navigator.serviceWorker.controller &&
        newRelease(worker);
      worker.addEventListener('statechange', settled);
      settled();
    };
    watch(registration.waiting);
    watch(registration.installing);
    registration.addEventListener('updatefound', () => watch(registration.installing));
  }

  // A page that cannot be kept still works online: say so, quietly.
  new Workbox('service-worker.js')
    .register()
    .then(follow)
    .catch((error) => {
      console.warn('The page cannot be kept for offline use:', error.message);
    });
  return opening;
}
