// The picture pane (#picture): when a demonstration accepts a number (the
// page's `quorvantile-accepted` event), a picture of it drawn as plain SVG
// from the numbers the running program itself computes (its picture_*
// exports, web/picture_exports.cc); a choice at the menu clears the pane.
// Every picture is one <svg role="img"> whose aria-label states its key
// numbers in the page's language, with buttons to download it as SVG or PNG.
// The words, the SVG pieces and the pictures themselves are in
// pictures_words.js, pictures_svg.js and pictures_draw.js, loaded before.
//
// The exports are called from a later task, never inside the event: by then
// the program is paused in a wait (Asyncify has unwound it), so calling into
// the module is an ordinary call, and each export returns in bounded time.
// Plain SVG rather than a chart library: two scatter/line charts and three
// tilings need a few dozen lines of axes, nothing to load or pin, and the
// same markup serves the screen, printing and the SVG download.
'use strict';

(function (parts) {
  const { t, WIDE, NARROW, NARROW_PANE_PX, TALL_PANE_RATIO, ARC_PAIRS_LIMIT, FOUR_SQUARES_WINDOW, PICTURES } = parts;
  // PNG downloads are this many pixels wide whatever the pane they were
  // drawn for (a phone's picture is narrower than a projector's): sharp on a
  // worksheet, about 8 inches across at 160 dpi.
  const PNG_WIDTH = 1280;
  // Pairs past the program's counting limit are counted here by parts, this
  // many smaller summands to a task: some tens of milliseconds each.
  const PAIR_COUNT_PART = 20000000;

  // The program's numbers: a block of doubles whose first element counts
  // the rest (web/picture_exports.cc).

  function take(module, pointer) {
    if (!pointer) throw new Error('the program has no memory left for the picture');
    const at = pointer / 8;
    const heap = module.HEAPF64;
    const values = heap.slice(at + 1, at + 1 + heap[at]);
    module._picture_free(pointer);
    return values;
  }

  // The comet up to the program's largest bound, computed once per program:
  // the comet of any n is its beginning.
  const comets = new WeakMap();
  function fullComet(module) {
    if (!comets.has(module)) {
      const comet = take(module, module._picture_goldbach_comet(0x7fffffff));
      comets.set(module, { bound: comet[0], counts: comet.subarray(1) });
    }
    return comets.get(module);
  }

  const data = {
    goldbach(module, n) {
      const comet = fullComet(module);
      const bound = Math.min(n - (n % 2), comet.bound);
      const pairs = take(module, module._picture_goldbach_pairs(n, ARC_PAIRS_LIMIT + 1));
      return { n, bound, counts: comet.counts.subarray(0, bound / 2 + 1), count: pairs[0], smaller: pairs.subarray(1) };
    },
    collatz(module, n) {
      const v = take(module, module._picture_collatz(n));
      const peak = (BigInt(v[2]) << 32n) + BigInt(v[3]);
      return { n, steps: v[0], peakStep: v[1], peak: peak.toString(), terms: v.subarray(5) };
    },
    nicomachus(module, n) {
      const v = take(module, module._picture_nicomachus(n));
      const sides = [];
      const cubeSums = [];
      for (let k = 0; k < v.length; k += 2) {
        sides.push(v[k]);
        cubeSums.push(v[k + 1]);
      }
      return { n, sides, cubeSums };
    },
    'four-square'(module, n, first = 0) {
      const v = take(module, module._picture_four_squares(n, first, FOUR_SQUARES_WINDOW));
      const roots = [];
      for (let k = 2; k < v.length; k += 4) roots.push([v[k], v[k + 1], v[k + 2], v[k + 3]]);
      return { n, count: v[0], complete: v[1] === 1, first, roots };
    },
    sieve(module, n) {
      const v = take(module, module._picture_sieve(n));
      const [count, gridSize, points] = v;
      const factors = v.subarray(3, 3 + gridSize);
      const curveX = v.subarray(3 + gridSize, 3 + gridSize + points);
      const curvePi = v.subarray(3 + gridSize + points, 3 + gridSize + 2 * points);
      return { n, count, factors, curveX, curvePi };
    },
  };

  // ---------------------------------------------------------------------
  // Downloads.

  function save(blob, name) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  }

  // Downloads are for worksheets: the picture on white, its words and axes
  // in black and its lines in darker tones (pictures.css does the same for
  // printing). Keyed by the colours pictures_svg.js and pictures_draw.js use.
  const PAPER = {
    fill: { '#d0d0d0': '#000000', '#1c1c1c': '#eeeeee', '#ff5555': '#c00000' },
    stroke: { '#55ff55': '#1a7f1a', '#ff5555': '#c00000', '#8a8a8a': '#444444' },
  };

  function onPaper(svgElement) {
    const copy = svgElement.cloneNode(true);
    copy.querySelector('.qv-bg').setAttribute('fill', '#ffffff');
    for (const [attribute, colours] of Object.entries(PAPER)) {
      for (const element of copy.querySelectorAll(`[${attribute}]`)) {
        const colour = colours[element.getAttribute(attribute)];
        if (colour) element.setAttribute(attribute, colour);
      }
    }
    return new XMLSerializer().serializeToString(copy);
  }

  function svgBlob(svgElement) {
    return new Blob([onPaper(svgElement)], { type: 'image/svg+xml' });
  }

  // Drawn through an <img> of the SVG as a data: URL, which leaves the
  // canvas readable also in a page opened from disk.
  function pngBlob(svgElement) {
    return new Promise((resolve, reject) => {
      const source = onPaper(svgElement);
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

  const pane = typeof document !== 'undefined' ? document.getElementById('picture') : null;
  const pictures = { timings: [], counted: [], shown: null, pngBlob, svgBlob };
  let pending = null;
  let scheduled = false;
  let current = null; // { picture, demo, number }

  // A button of the picture. After a click with the mouse or a touch the
  // keys go back to the terminal, where the next number is typed; a button
  // pressed from the keyboard keeps the focus.
  function button(key, act) {
    const b = document.createElement('button');
    b.type = 'button';
    b.textContent = t(key);
    b.addEventListener('click', (event) => {
      act();
      const term = window.quorvantile && window.quorvantile.term;
      if (event.detail > 0 && term) term.focus();
    });
    return b;
  }

  function clear() {
    if (current) current.picture.controls.forEach((c) => c.dispose && c.dispose());
    current = null;
    pictures.shown = null;
    if (pane) pane.replaceChildren();
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
      button('picture.downloadPng', () => pngBlob(figure.querySelector('svg')).then((blob) => save(blob, `${name}.png`))),
    );
    figure.append(caption, bar);
    // Keeps the keyboard focus on the control that was used, across redraws.
    const focused = pane.contains(document.activeElement) ? [...pane.querySelectorAll('button')].indexOf(document.activeElement) : -1;
    pane.replaceChildren(figure);
    if (focused >= 0) pane.querySelectorAll('button')[focused]?.focus();
  }

  // The program has gone (an abort, say) and its numbers with it.
  function failed(error) {
    console.warn('picture:', error);
    clear();
    const sentence = document.createElement('p');
    sentence.textContent = t('picture.failed');
    pane.replaceChildren(sentence);
  }

  function draw({ demo, number, module }) {
    // Measured before clear(): an empty pane is hidden and has no width.
    const width = paneWidth();
    clear();
    const make = PICTURES[demo];
    if (!make || !pane) return;
    const started = performance.now();
    let dataMs = 0;
    try {
      const numbers = data[demo](module, number);
      dataMs = performance.now() - started;
      const picture = make(numbers, options(demo, number, module, width));
      current = { picture, demo, number, numbers, module, width };
      render();
      if (demo === 'goldbach' && numbers.count < 0) countByParts(current);
      pictures.shown = { demo, number, label: picture.label };
    } catch (error) {
      failed(error);
    }
    const tenths = (ms) => Math.round(ms * 10) / 10;
    const timing = { demo, number, at: Math.round(started), ms: tenths(performance.now() - started), dataMs: tenths(dataMs) };
    pictures.timings.push(timing);
    // ...and once the browser has laid it out and painted it.
    requestAnimationFrame(() => setTimeout(() => {
      timing.paintedMs = tenths(performance.now() - started);
    }, 0));
  }

  // The first call of an export runs in the browser's baseline code, several
  // times slower than later ones (the first comet to 100000: about 200 ms
  // instead of 30). When the menu starts a demonstration, its exports are
  // called once with small numbers while the page is idle, and Goldbach's
  // comet is made, before the first picture needs them.
  const WARM_UPS = {
    1: (module) => {
      fullComet(module);
      module._picture_free(module._picture_goldbach_pairs(2000000, 0));
    },
    4: (module) => module._picture_free(module._picture_four_squares(1000000, 0, 1)),
    5: (module) => module._picture_free(module._picture_sieve(100000)),
  };
  const idle = typeof requestIdleCallback === 'function' ? (f) => requestIdleCallback(f, { timeout: 300 }) : (f) => setTimeout(f, 0);
  const warmed = new WeakMap();
  function warmUp(module, choice) {
    if (!(choice in WARM_UPS)) return;
    if (!warmed.has(module)) warmed.set(module, new Set());
    if (warmed.get(module).has(choice)) return;
    warmed.get(module).add(choice);
    idle(() => {
      try {
        WARM_UPS[choice](module);
      } catch (error) {
        // A program that has gone draws no pictures either.
      }
    });
  }

  // What a picture is made with besides its numbers.
  function options(demo, number, module, width) {
    return { width, more: (first) => data[demo](module, number, first) };
  }

  // Counts the pairs of the Goldbach picture `shown` by parts, a task for
  // each, and then makes the picture anew with its count; stops when another
  // picture has taken its place.
  function countByParts(shown) {
    const { numbers, module } = shown;
    const n = numbers.n;
    const started = performance.now();
    let from = 2;
    let count = 0;
    const part = () => {
      if (!current || current.numbers !== numbers) return;
      const to = Math.min(from + PAIR_COUNT_PART - 1, n / 2);
      try {
        count += take(module, module._picture_goldbach_count(n, from, to))[0];
      } catch (error) {
        return; // the program has gone: the picture stays without its count
      }
      from = to + 1;
      if (from <= n / 2) {
        setTimeout(part, 0);
        return;
      }
      numbers.count = count;
      pictures.counted.push({ n, count, ms: Math.round(performance.now() - started) });
      remake();
    };
    setTimeout(part, 0);
  }

  function paneWidth() {
    const { clientWidth: width, clientHeight: height } = pane;
    if (width <= 0) return WIDE;
    return width < NARROW_PANE_PX || height >= TALL_PANE_RATIO * width ? NARROW : WIDE;
  }

  // Makes the picture anew from the numbers it already has: for a pane that
  // changed between wide and narrow, or for another language.
  function remake() {
    if (!current) return;
    const { demo, number, numbers, module } = current;
    current.picture.controls.forEach((c) => c.dispose && c.dispose());
    const width = paneWidth();
    current = { picture: PICTURES[demo](numbers, options(demo, number, module, width)), demo, number, numbers, module, width };
    pictures.shown = { demo, number, label: current.picture.label };
    render();
  }

  function refit() {
    if (current && paneWidth() !== current.width) remake();
  }

  function picturesOn() {
    return document.documentElement.dataset.pictures !== 'off';
  }

  // Draws the latest request in a task of its own, once the pictures show.
  function schedule() {
    if (scheduled || !pending || !picturesOn()) return;
    scheduled = true;
    setTimeout(() => {
      scheduled = false;
      const request = pending;
      pending = null;
      if (request) draw(request);
    }, 0);
  }

  if (pane) {
    window.addEventListener('quorvantile-accepted', (event) => {
      const { demo, number, module } = event.detail;
      if (module && demo === 'menu') warmUp(module, number);
      if (!(demo in PICTURES) || !module) {
        pending = null;
        clear();
        return;
      }
      pending = { demo, number, module };
      schedule();
    });
    window.addEventListener('quorvantile-state', (event) => {
      if (event.detail && event.detail.state === 'loading') {
        pending = null;
        clear();
      }
    });
    window.addEventListener('quorvantile-lang', remake);
    if (typeof ResizeObserver === 'function') new ResizeObserver(refit).observe(pane);
    new MutationObserver(schedule).observe(document.documentElement, { attributes: true, attributeFilter: ['data-pictures'] });
    window.quorvantilePictures = pictures;
  }

  if (typeof module !== 'undefined') module.exports = parts;
})(typeof globalThis.quorvantilePictureParts === 'object' ? globalThis.quorvantilePictureParts : (globalThis.quorvantilePictureParts = {}));
