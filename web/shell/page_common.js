// What the page's scripts share, each once:
//   load(key, fallback), store(key, value)
//                     the browser's storage, where it is refused the
//                     fallback and a choice kept for this visit only
//   download(blob, name)
//                     the file offered as a download through a passing link
//   focusAfterClick(event, term)
//                     the keyboard back to the terminal `term` after a click on a
//                     button with the mouse; never after a tap, which would
//                     open a phone's on-screen keyboard over the page, nor
//                     after Enter or Space, which leave it where the user
//                     put it
// How long a download's object URL is kept: the browser has long taken
// the file by then.
const DOWNLOAD_URL_MS = 60000;

export function load(key, fallback) {
  try {
    if (typeof localStorage === 'undefined') return fallback;
    const value = localStorage.getItem(key);
    return value === null ? fallback : value;
  } catch {
    return fallback; // storage refused (privacy settings): the defaults
  }
}

export function store(key, value) {
  try {
    if (typeof localStorage !== 'undefined') localStorage.setItem(key, String(value));
  } catch {
    // remembered for this visit only
  }
}

export function download(blob, name) {
  const url = URL.createObjectURL(blob);
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), DOWNLOAD_URL_MS);
}

// The kind of pointer that pressed last: a click event does not say.
let lastPointer = 'mouse';
if (typeof document !== 'undefined') {
  document.addEventListener(
    'pointerdown',
    (event) => {
      lastPointer = event.pointerType;
    },
    true,
  );
}

export function focusAfterClick(event, term) {
  if (event.detail > 0 && lastPointer !== 'touch') term.focus();
}
