// Keeps the served page for offline use: registers service-worker.js when
// the page comes over http(s) with its manifest linked, and tells the worker
// that answers the page once the page has asked for all its files (a new
// version may take over from then on). The single file (opened from disk,
// its manifest link taken out) registers nothing.
//   keepOffline()
export function keepOffline() {
  const served = location.protocol === 'https:' || location.protocol === 'http:';
  if (!served || !('serviceWorker' in navigator) || !document.querySelector('link[rel="manifest"]')) return;
  window.addEventListener('load', () => {
    // By now every script and style has come, and the program's bytes were
    // asked for when the document was parsed.
    if (navigator.serviceWorker.controller) navigator.serviceWorker.controller.postMessage('loaded');
    // A page that cannot be kept still works online: say so, quietly.
    navigator.serviceWorker.register('service-worker.js').catch((error) => {
      console.warn('The page cannot be kept for offline use:', error.message);
    });
  });
}
