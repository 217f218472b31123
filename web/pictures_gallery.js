// The picture pane before there is a picture: the five demonstrations as
// small pictures, each a lesson link (lesson_link.js) that opens its
// demonstration with the number shown, through lesson.js as any link does.
// Whenever the pane holds nothing else (pictures.js empties it at every new
// visit), the gallery is put back. Its drawings are the pictures of
// pictures_draw.js without their words, from the running program's numbers,
// made once while the program waits at its first prompt; until then the
// cards carry their words only. A phone hides the pane while it holds the
// gallery (style.css). Runs after pictures.js and lesson_link.js.
'use strict';

(function () {
  const pane = document.getElementById('picture');
  const parts = globalThis.quorvantilePictureParts;
  if (!pane || !parts || !parts.DEMONSTRATIONS) return;
  const { hashFor } = window.quorvantileLessonLink;
  const i18n = window.quorvantileI18n;
  const { focusAfterClick } = window.quorvantilePageCommon;

  // Each demonstration with the number its card opens, in the menu's order.
  const SAMPLES = [
    ['goldbach', 100],
    ['collatz', 27],
    ['nicomachus', 5],
    ['four-square', 30], // its first decomposition has four different squares
    ['sieve', 100],
  ];
  // The drawings' layout, in the pictures' units: 4:3.
  const THUMB_WIDTH = 400;
  const THUMB_ROOM = 300;
  // The room a card's words and the cards' gaps take, in px, when the cards
  // are laid out in as many columns as give the largest drawings.
  const CARD_WORDS_PX = 24;
  const GAP_PX = 8;

  i18n.add({
    en: {
      'gallery.label': 'The demonstrations',
      'gallery.heading': 'Open a demonstration with a number:',
      'gallery.goldbach': "Goldbach's conjecture",
      'gallery.collatz': 'Collatz conjecture',
      'gallery.nicomachus': "Nicomachus's theorem",
      'gallery.four-square': 'Four squares',
      'gallery.sieve': 'Sieve of Eratosthenes',
    },
    zh: {
      'gallery.label': '演示',
      'gallery.heading': '用一个数打开演示：',
      'gallery.goldbach': '哥德巴赫猜想',
      'gallery.collatz': '考拉兹猜想',
      'gallery.nicomachus': '尼科马库斯定理',
      'gallery.four-square': '四平方和定理',
      'gallery.sieve': '埃拉托斯特尼筛法',
    },
  });

  const gallery = document.createElement('nav');
  gallery.className = 'qv-gallery';
  const heading = document.createElement('p');
  const grid = document.createElement('div');
  grid.className = 'qv-gallery-cards';
  gallery.append(heading, grid);
  const cards = SAMPLES.map(([demo, number]) => {
    const card = document.createElement('a');
    card.className = 'qv-card';
    card.href = hashFor(demo, number);
    // Off the Tab order: from the terminal, Tab reaches the controls, and
    // the menu offers by keyboard what the cards offer to a pointer.
    card.tabIndex = -1;
    card.dataset.demo = demo;
    const drawing = document.createElement('span');
    drawing.className = 'qv-card-drawing';
    const words = document.createElement('span');
    words.className = 'qv-card-words';
    card.append(drawing, words);
    // The same link again is no change of the address: followed all the same.
    card.addEventListener('click', (event) => {
      if (location.hash === card.getAttribute('href')) {
        event.preventDefault();
        window.dispatchEvent(new HashChangeEvent('hashchange'));
      }
      focusAfterClick(event);
    });
    grid.append(card);
    return card;
  });

  function words() {
    gallery.setAttribute('aria-label', i18n.t('gallery.label'));
    heading.textContent = i18n.t('gallery.heading');
    SAMPLES.forEach(([demo, number], k) => {
      cards[k].lastChild.textContent = `${i18n.t(`gallery.${demo}`)}: ${number}`;
    });
  }

  // As many columns as give the largest 4:3 drawings in the pane's box.
  function layOut() {
    const width = grid.clientWidth;
    const height = grid.clientHeight;
    if (width === 0 || height === 0) return;
    let best = { scale: -1, columns: 1, rows: SAMPLES.length };
    for (let columns = 1; columns <= SAMPLES.length; columns++) {
      const rows = Math.ceil(SAMPLES.length / columns);
      const cellWidth = (width - (columns - 1) * GAP_PX) / columns;
      const cellHeight = (height - (rows - 1) * GAP_PX) / rows - CARD_WORDS_PX;
      const scale = Math.min(cellWidth / 4, cellHeight / 3);
      if (scale > best.scale) best = { scale, columns, rows };
    }
    grid.style.gridTemplateColumns = `repeat(${best.columns}, minmax(0, 1fr))`;
    grid.style.gridTemplateRows = `repeat(${best.rows}, minmax(0, 1fr))`;
  }

  // A picture's markup as a drawing only: its words and titles go (the card
  // says what it shows), and it takes the size of its box.
  function drawingOnly(markup) {
    return markup
      .replace(/<title>[\s\S]*?<\/title>/g, '')
      .replace(/<text[\s\S]*?<\/text>/g, '')
      .replace(/ role="img" aria-label="[^"]*"/, ' aria-hidden="true" focusable="false"')
      .replace(/ width="[\d.]+" height="[\d.]+"/, '');
  }

  let drawn = false;
  function drawThumbnails(module) {
    if (drawn || !module) return;
    drawn = true;
    SAMPLES.forEach(([demo, number], k) => {
      const { numbers, draw } = parts.DEMONSTRATIONS[demo];
      try {
        const picture = draw(numbers(module, number), { width: THUMB_WIDTH, room: THUMB_ROOM, more: () => null });
        if (picture.markup) cards[k].firstChild.innerHTML = drawingOnly(picture.markup());
        if (picture.controls) picture.controls.forEach((c) => c.dispose && c.dispose());
      } catch (error) {
        console.warn('gallery:', error);
        drawn = false; // the program has gone: the next run draws them
      }
    });
  }

  function showWhenEmpty() {
    if (pane.childElementCount === 0) pane.append(gallery);
  }

  // The program's numbers once it waits (never inside the event: pictures.js).
  window.addEventListener('quorvantile-waiting', () => {
    const task = () => drawThumbnails(window.quorvantile && window.quorvantile.module);
    if (typeof requestIdleCallback === 'function') requestIdleCallback(task, { timeout: 1000 });
    else setTimeout(task, 0);
  });
  window.addEventListener('quorvantile-lang', words);
  new MutationObserver(showWhenEmpty).observe(pane, { childList: true });
  if (typeof ResizeObserver === 'function') new ResizeObserver(layOut).observe(grid);
  words();
  showWhenEmpty();
})();
