// The picture pane (#picture): when a demonstration accepts a number (the
// run's 'accepted' event), a picture of it drawn as plain SVG from the
// numbers the running program itself computes (its picture_* exports,
// pictures/picture_exports_web.cc); a new visit (the run's 'visit') clears
// the pane. Each demonstration is described once, in
// pictures/demonstrations.js.
//   createPicturePane({ pane, run, term }) -> { timings, counted, shown,
//                                               svgBlob(svg), pngBlob(svg) }
// (what was drawn and how long it took, for the tests).
// Every picture is one <svg role="img"> whose aria-label states its key
// numbers in the page's language, with buttons to download it as SVG or PNG.
//
// The exports are called from a later task, never inside the event: by then
// the program is paused in a wait (Asyncify has unwound it), so calling into
// the module is an ordinary call, and each export returns in bounded time.
// Plain SVG rather than a chart library: two scatter/line charts and three
// tilings need a few dozen lines of axes, nothing to load or pin, and the
// same markup serves the screen, printing and the SVG download.
import { i18n } from '../shell/i18n.js';
import { download, focusAfterClick } from '../shell/page_common.js';
import { DEMONSTRATIONS } from './demonstrations.js';
import { teaches } from '../shell/lesson_link.js';
import { NARROWEST, WIDEST } from './draw.js';
import { onPaper, paperStyle, titled, SMALLEST_WORD_SIZE } from './svg.js';
import { PALETTE } from './palette.js';
import { t } from './words.js';

// PNG downloads are this many pixels wide whatever the pane they were
// drawn for (a phone's picture is narrower than a projector's): sharp on a
// worksheet, about 8 inches across at 160 dpi.
const PNG_WIDTH = 1280;
// The smallest words of a picture are drawn at least this many pixels
// high, and never smaller than the terminal's text: legible on a phone.
const LEGIBLE_PX = 11;

// ---------------------------------------------------------------------
// Downloads: on white, for worksheets, with the label written over the
// picture as its title.

// Through the page's one download helper, as Save does.
const save = download;

function exported(svgElement) {
  return onPaper(titled(new XMLSerializer().serializeToString(svgElement)));
}

function svgBlob(svgElement) {
  return new Blob([exported(svgElement)], { type: 'image/svg+xml' });
}

// Drawn through an <img> of the SVG as a data: URL, which leaves the
// canvas readable also in a page opened from disk.
function pngBlob(svgElement) {
  return new Promise((resolve, reject) => {
    const source = exported(svgElement);
    const image = new Image();
    image.onload = () => {
      const scale = PNG_WIDTH / image.width;
      const canvas = document.createElement('canvas');
      canvas.width = PNG_WIDTH;
      canvas.height = Math.round(image.height * scale);
      const context = canvas.getContext('2d');
      context.scale(scale, scale);
      context.drawImage(image, 0, 0);
      canvas.toBlob((blob) => (blob ? resolve(blob) : reject(new Error('no PNG'))), 'image/png');
    };
    image.onerror = () => reject(new Error('the SVG could not be drawn'));
    image.src = `data:image/svg+xml;charset=utf-8,${encodeURIComponent(source)}`;
  });
}

// ---------------------------------------------------------------------
// The pane.

export function createPicturePane({ pane, run, term }) {
  const pictures = { timings: [], counted: [], shown: null, pngBlob, svgBlob };
  let pending = null;
  let scheduled = false;
  // A picture's numbers take the one thread the program's listing runs on
  // too: while a turn is still writing, they wait for its end (the program
  // asking for its next line) or LISTING_PATIENCE_MS, whichever is first. A
  // listing that ends within it ends sooner, its picture straight after; a
  // longer one gets its picture while it runs.
  const LISTING_PATIENCE_MS = 500;
  let turnRunning = false;
  let patience = null;
  let current = null; // { picture, demo, number, numbers, module, width, room }
  // The height in px that the pane leaves the picture below its buttons and
  // above its caption, as the last picture shown measured it (the same for
  // the next one, unless the pane changed); Infinity until then.
  let roomPx = Infinity;

  // A button of the picture. The keys go back to the terminal, where the
  // next number is typed, as after the bar's buttons (never after a tap,
  // which would open a phone's keyboard over the picture).
  function button(key, act) {
    const b = document.createElement('button');
    b.type = 'button';
    b.textContent = t(key);
    b.addEventListener('click', (event) => {
      act();
      focusAfterClick(event, term);
    });
    return b;
  }

  function clear() {
    if (current) current.picture.controls.forEach((c) => c.dispose && c.dispose());
    current = null;
    pictures.shown = null;
    pane.replaceChildren();
  }

  // Draws `current` into the pane, anew: after a change of state or language.
  function render() {
    const { picture, demo, number } = current;
    const figure = document.createElement('figure');
    figure.className = 'qv-picture';
    figure.dataset.demo = demo;
    figure.dataset.number = number;
    if (!picture.markup) {
      const sentence = document.createElement('p');
      sentence.setAttribute('role', 'img');
      sentence.setAttribute('aria-label', picture.label);
      sentence.textContent = picture.label;
      figure.append(sentence);
      pane.replaceChildren(figure);
      return;
    }
    figure.innerHTML = picture.markup();
    const caption = document.createElement('figcaption');
    caption.textContent = figure.querySelector('svg').getAttribute('aria-label');
    caption.setAttribute('aria-hidden', 'true');
    const bar = document.createElement('div');
    bar.className = 'qv-picture-controls';
    const redraw = () => {
      if (current && current.picture === picture) render();
    };
    for (const control of picture.controls) {
      const b = button(control.key(), () => {
        try {
          control.act(redraw);
          redraw();
        } catch (error) {
          failed(error);
        }
      });
      if (control.disabled) b.disabled = control.disabled();
      b.classList.add('qv-drawing-control'); // changes only the drawing
      bar.append(b);
    }
    const name = `quorvantile-${demo}-${number}`;
    bar.append(
      button('picture.downloadSvg', () => save(svgBlob(figure.querySelector('svg')), `${name}.svg`)),
      button('picture.downloadPng', () =>
        pngBlob(figure.querySelector('svg')).then((blob) => save(blob, `${name}.png`)),
      ),
    );
    // The buttons above the picture, in view however tall it is.
    figure.prepend(bar);
    figure.append(caption);
    // Keeps the keyboard focus on the control that was used, across redraws.
    const focused = pane.contains(document.activeElement)
      ? [...pane.querySelectorAll('button')].indexOf(document.activeElement)
      : -1;
    pane.replaceChildren(figure);
    if (focused >= 0) pane.querySelectorAll('button')[focused]?.focus();
    // Laid out for another room than it has: made again for this one.
    roomPx = roomOf(figure);
    if (pictureRoom(current.width) !== current.room) remake();
  }

  // The px left to the picture in `figure`: its height less its buttons' and
  // caption's, with their margins. Infinity where the picture is not shown
  // (a low pane holds the sentence and the buttons only).
  function roomOf(figure) {
    const drawing = figure.querySelector('svg');
    if (!drawing || drawing.getClientRects().length === 0) return Infinity;
    let used = 0;
    for (const part of figure.children) {
      if (part === drawing) continue;
      const style = getComputedStyle(part);
      used += part.getBoundingClientRect().height + parseFloat(style.marginTop) + parseFloat(style.marginBottom);
    }
    return Math.floor(figure.clientHeight - used);
  }

  // The room in the picture's units for a picture laid out `width` wide:
  // the picture is drawn the pane's width across (less its border).
  function pictureRoom(width) {
    const paneWidth = pane.clientWidth - 2;
    if (!Number.isFinite(roomPx) || paneWidth <= 0) return Infinity;
    return Math.floor(((roomPx - 2) * width) / paneWidth);
  }

  // The program has gone (an abort, say) and its numbers with it.
  function failed(error) {
    console.warn('picture:', error);
    clear();
    const sentence = document.createElement('p');
    sentence.textContent = t('picture.failed');
    pane.replaceChildren(sentence);
  }

  // Makes the picture of `numbers` for the pane as it is now, and shows it.
  function show(demo, number, numbers, module, width) {
    const room = pictureRoom(width);
    const picture = DEMONSTRATIONS[demo].draw(numbers, {
      width,
      room,
      more: (first) => DEMONSTRATIONS[demo].numbers(module, number, first),
    });
    current = { picture, demo, number, numbers, module, width, room };
    pictures.shown = { demo, number, label: picture.label };
    render();
  }

  function draw({ demo, number, module }) {
    // Measured before clear(): an empty pane is hidden and has no width.
    const width = pictureWidth();
    clear();
    const started = performance.now();
    let dataMs = 0;
    try {
      const numbers = DEMONSTRATIONS[demo].numbers(module, number);
      dataMs = performance.now() - started;
      show(demo, number, numbers, module, width);
      const shown = current;
      const still = () => current !== null && current.numbers === shown.numbers;
      if (DEMONSTRATIONS[demo].afterwards) {
        DEMONSTRATIONS[demo].afterwards({ ...shown, still, counted: pictures.counted }, remake);
      }
    } catch (error) {
      failed(error);
    }
    const tenths = (ms) => Math.round(ms * 10) / 10;
    const timing = {
      demo,
      number,
      at: Math.round(started),
      ms: tenths(performance.now() - started),
      dataMs: tenths(dataMs),
    };
    pictures.timings.push(timing);
    // ...and once the browser has laid it out and painted it.
    requestAnimationFrame(() =>
      setTimeout(() => {
        timing.paintedMs = tenths(performance.now() - started);
      }, 0),
    );
  }

  const idle =
    typeof requestIdleCallback === 'function'
      ? (f) => requestIdleCallback(f, { timeout: 300 })
      : (f) => setTimeout(f, 0);
  const warmed = new WeakMap();
  function warmUp(module, demo) {
    const warm = DEMONSTRATIONS[demo] && DEMONSTRATIONS[demo].warmUp;
    if (!warm) return;
    if (!warmed.has(module)) warmed.set(module, new Set());
    if (warmed.get(module).has(demo)) return;
    warmed.get(module).add(demo);
    idle(() => {
      // Not while a listing runs: its picture's own numbers warm it then.
      if (turnRunning) return;
      try {
        warm(module);
      } catch (error) {
        // A program that has gone draws no pictures either.
      }
    });
  }

  // The width, in its own units, to lay a picture out for: as wide as its
  // smallest words stay legible at the pane's width (LEGIBLE_PX, or the
  // terminal's text if larger), between NARROWEST and WIDEST.
  function pictureWidth() {
    const paneWidth = pane.clientWidth - 2; // the picture's border
    if (paneWidth <= 0) return WIDEST;
    const termPx = Number(term.options.fontSize) || 0;
    const wordsPx = Math.max(LEGIBLE_PX, termPx);
    return Math.max(NARROWEST, Math.min(WIDEST, Math.floor((SMALLEST_WORD_SIZE * paneWidth) / wordsPx)));
  }

  // Makes the picture anew from the numbers it already has: for a pane of
  // another width, for another language, or with more of its numbers.
  function remake() {
    if (!current) return;
    const { demo, number, numbers, module } = current;
    current.picture.controls.forEach((c) => c.dispose && c.dispose());
    show(demo, number, numbers, module, pictureWidth());
  }

  function refit() {
    if (!current) return;
    const figure = pane.querySelector('figure');
    if (figure && current.picture.markup) roomPx = roomOf(figure);
    if (pictureWidth() !== current.width || pictureRoom(pictureWidth()) !== current.room) remake();
  }

  function picturesOn() {
    return document.documentElement.dataset.pictures !== 'off';
  }

  // Draws the latest request in a task of its own, once the pictures show
  // and the turn has ended or run long.
  function schedule() {
    if (scheduled || !pending || !picturesOn()) return;
    if (turnRunning) {
      if (patience === null) patience = setTimeout(turnRunsOn, LISTING_PATIENCE_MS);
      return;
    }
    scheduled = true;
    setTimeout(() => {
      scheduled = false;
      const request = pending;
      pending = null;
      if (request) draw(request);
    }, 0);
  }

  function turnRunsOn() {
    clearTimeout(patience);
    patience = null;
    turnRunning = false;
    schedule();
  }

  // Once the terminal has shown the turn's end (a hidden page draws no
  // frames: patience then runs out instead).
  function turnEnded() {
    if (turnRunning) requestAnimationFrame(turnRunsOn);
  }

  // The palette's colours for the pane, on the screen and on paper.
  const style = document.createElement('style');
  style.textContent =
    `#picture svg { background: ${PALETTE.background.screen}; }\n` + `@media print {\n${paperStyle('#picture')}}\n`;
  document.head.append(style);
  // A visit to a demonstration, or to anything else the menu offers:
  // the last visit's picture goes.
  run.addEventListener('visit', (event) => {
    const { demo, module } = event.detail;
    pending = null;
    clear();
    if (module) warmUp(module, demo);
  });
  run.addEventListener('accepted', (event) => {
    const { demo, number, module } = event.detail;
    if (!(demo in DEMONSTRATIONS) || !module) {
      pending = null;
      clear();
      return;
    }
    // The number that leaves the demonstration: the picture stays with
    // the last one taught (shell/lesson_link.js says which is which).
    if (!teaches(demo, number)) return;
    pending = { demo, number, module };
    // Patience counts from this turn's start: the last turn's may still be
    // running if the program never had to wait for its next line.
    clearTimeout(patience);
    patience = null;
    turnRunning = true;
    schedule();
  });
  run.addEventListener('waiting', turnEnded);
  run.addEventListener('state', (event) => {
    if (event.detail && event.detail.state === 'loading') {
      pending = null;
      clear();
    }
  });
  i18n.addEventListener('lang', remake);
  new ResizeObserver(refit).observe(pane);
  // The terminal's text sets the smallest words' size: a picture follows
  // the terminal's refits as well as the pane's.
  term.onResize(() => refit());
  new MutationObserver(schedule).observe(document.documentElement, {
    attributes: true,
    attributeFilter: ['data-pictures'],
  });
  return pictures;
}
