// The page's own words in English and Chinese (the program's text is never
// translated), every one of them: index.html holds none. Exports
// i18n = { lang, t(key, vars), add(words), setLang(lang), apply(root),
// addEventListener('lang', listener) }:
//   t('key', { n: 3 }) gives the word for the page's language, '{n}' filled
//   in; a key missing in Chinese falls back to English, an unknown key is
//   returned as it is.
//   add({ en: {...}, zh: {...} }) lets other scripts bring their own words.
//   setLang('en' | 'zh') switches, remembers the choice (localStorage) and
//   dispatches 'lang' on i18n.
//   apply(root) fills every [data-i18n] element's text, [data-i18n-label]
//   element's aria-label and [data-i18n-title] element's title (its hint).
// The first language is the one remembered, else the first of the browser's
// languages that the page has, else English. Under node (tests) the same
// object, built without a window.
import { load, store } from './page_common.js';

const LANGS = ['en', 'zh'];
const STORE_KEY = 'quorvantile.lang';

const words = {
  en: {
    'page.title': 'Quorvantile',
    'page.heading': 'Quorvantile',
    'page.terminal': "The program's terminal",
    'page.controls': 'Controls',
    'page.picture': 'Picture',
    'page.hint':
      'Type into the terminal; Enter sends the line. Ctrl-C stops the program, or copies what is selected; ' +
      'Ctrl-V pastes; Ctrl-D at the start of a line ends the input; Tab moves to the controls.',
    'control.stop': 'Stop',
    'control.stop.hint': 'Stop the program (Ctrl-C)',
    'control.pause': 'Pause',
    'control.pause.hint': 'Hold the output; the program waits',
    'control.resume': 'Resume',
    'control.resume.hint': 'Let the output go on',
    'control.restart': 'Start again',
    'control.fullscreen': 'Full screen',
    'control.fullscreen.leave': 'Leave full screen',
    'control.smaller': 'A−',
    'control.smaller.hint': 'Smaller text (more columns)',
    'control.larger': 'A+',
    'control.larger.hint': 'Larger text',
    'control.save': 'Save',
    'control.save.hint': 'Save the session as a text file',
    'control.print': 'Print',
    'control.print.hint':
      "Print the session's end (at most some 30 pages) and the picture; Save keeps the whole session",
    'control.copy': 'Copy all',
    'control.copy.hint': 'Copy the whole session',
    'control.reader': 'Screen reader',
    'control.reader.hint': 'Screen reader mode: the terminal reads out its new lines',
    'control.lang': '中文',
    'control.lang.hint': '切换到中文',
    'control.pictures': 'Pictures',
    'control.pictures.hint': 'Show or hide the pictures beside the terminal',
    'control.link': 'Link',
    'control.link.hint': 'Copy a link that opens this page in the demonstration and number entered last',
    'lesson.bad.unknown':
      'This lesson link was not understood: {link}. A lesson link ends in # and a demonstration with a ' +
      'number, such as #collatz=27. The program waits at the menu.',
    'lesson.bad.refused':
      'This lesson link cannot be followed: {link}. This demonstration takes {takes}. The program waits at the menu.',
    'lesson.bad.leaves':
      'This lesson link cannot be followed: {link}. {number} leaves this demonstration rather than showing it. ' +
      'The program waits at the menu.',
    'lesson.takes.even': 'a positive even integer',
    'lesson.takes.positive': 'a positive integer',
    'lesson.takes.nicomachus': 'a whole number from 1 to 1290',
    'lesson.takes.sieve': 'a whole number from 1 to 1000000',
    'lesson.copied': 'Copied the link {link}',
    'lesson.copyFailed': 'Copy this link: {link}',
    'lesson.qr': 'Scan to open this demonstration on a phone or tablet',
    'lesson.close': 'Close',
    'note.copied': 'Copied {lines} lines.',
    'note.copyFailed': 'The browser did not allow copying. Select the text and press Ctrl-C.',
    'note.saved': 'Saved {name}.',
    'note.printing': 'Printing the session: all its {lines} lines.',
    'note.printingCut': "Printing the session's last {lines} of {total} lines; Save keeps them all.",
    'note.textSize': 'Text size {size} px.',
    'session.restarted': '[Run {run} of this session, started again at {time}]',
    'session.cut': '[The start of this session is cut: its first {count} bytes are not kept.]',
    'print.cut': '[{lines} earlier lines are not printed; Save keeps the whole session.]',
    'note.textSizeScroll':
      'Text size {size} px: the lines are wider than the terminal; scroll it sideways to read their ends.',
    'note.textSizePicture':
      'Text size {size} px: beside the picture the lines no longer fit; scroll sideways, or turn Pictures off to give the terminal their room.',
    'page.pictureHint': 'The picture of a demonstration appears here once it takes a number.',
    'loading.progress': 'The program is loading… {percent}% of {total} MB',
    'loading.bytes': 'The program is loading… {loaded} MB',
    'status.loading': 'The program is loading…',
    'status.running': 'The program is running.',
    'status.paused': 'The output is paused; the program waits. Press Resume to go on.',
    'status.stopped': 'The program has stopped. Start it again?',
    'status.ended': 'The program has ended. Start it again?',
    'status.aborted': 'The program stopped after an error. Start it again?',
    'status.failed': 'The program could not be loaded. Reload the page to try again.',
    'status.load-wasm-missing':
      'The program could not be loaded: quorvantile.wasm is missing or could not be read. ' +
      'Copy the whole folder again, or open quorvantile.html, the page in one file.',
    'status.load-from-disk':
      'The program could not be loaded: this page was opened from disk, and browsers let such a page ' +
      'load no other file. Open quorvantile.html (the page in one file) instead, or serve this folder ' +
      '(for example python3 -m http.server) and open it at http://127.0.0.1:8000/.',
    'status.load-script-missing':
      'The program could not be loaded: quorvantile.js is missing or could not be read. ' +
      'Copy the whole folder again, or open quorvantile.html, the page in one file.',
    'status.load-failed': 'The program could not be loaded. Start it again, or reload the page.',
    'update.ready': 'A new version is ready.',
    'update.start': 'Start it',
    'update.start.hint': 'Start the new version of the page; the terminal starts afresh',
    'update.saveStart': 'Save and start it',
    'update.saveStart.hint': 'Save this session as a text file, then start the new version of the page',
  },
  zh: {
    'page.title': 'Quorvantile',
    'page.heading': 'Quorvantile',
    'page.terminal': '程序的终端',
    'page.controls': '控制',
    'page.picture': '图示',
    'page.hint':
      '在终端中输入，按 Enter 发送这一行。Ctrl-C 停止程序，有选中文字时则复制；Ctrl-V 粘贴；' +
      '在行首按 Ctrl-D 结束输入；Tab 移到控制按钮。',
    'control.stop': '停止',
    'control.stop.hint': '停止程序（Ctrl-C）',
    'control.pause': '暂停',
    'control.pause.hint': '暂停输出，程序等待',
    'control.resume': '继续',
    'control.resume.hint': '继续输出',
    'control.restart': '重新开始',
    'control.fullscreen': '全屏',
    'control.fullscreen.leave': '退出全屏',
    'control.smaller': 'A−',
    'control.smaller.hint': '缩小文字（更多列）',
    'control.larger': 'A+',
    'control.larger.hint': '放大文字',
    'control.save': '保存',
    'control.save.hint': '把这次会话保存为文本文件',
    'control.print': '打印',
    'control.print.hint': '打印会话的末尾（最多约 30 页）和图示；“保存”保留整个会话',
    'control.copy': '全部复制',
    'control.copy.hint': '复制整个会话',
    'control.reader': '读屏模式',
    'control.reader.hint': '读屏模式：终端朗读新出现的行',
    'control.lang': 'English',
    'control.lang.hint': 'Switch to English',
    'control.pictures': '图示',
    'control.pictures.hint': '显示或隐藏终端旁的图示',
    'control.link': '链接',
    'control.link.hint': '复制一个链接：打开它，页面即进入最后输入的演示和数字',
    'lesson.bad.unknown':
      '无法识别这个课程链接：{link}。课程链接以 # 加演示名称和数字结尾，例如 #collatz=27。程序在菜单处等待。',
    'lesson.bad.refused': '无法打开这个课程链接：{link}。这个演示只接受{takes}。程序在菜单处等待。',
    'lesson.bad.leaves': '无法打开这个课程链接：{link}。{number} 会退出这个演示，而不是展示它。程序在菜单处等待。',
    'lesson.takes.even': '正偶数',
    'lesson.takes.positive': '正整数',
    'lesson.takes.nicomachus': '1 到 1290 之间的整数',
    'lesson.takes.sieve': '1 到 1000000 之间的整数',
    'lesson.copied': '已复制链接 {link}',
    'lesson.copyFailed': '请复制此链接：{link}',
    'lesson.qr': '用手机或平板扫描，打开这个演示',
    'lesson.close': '关闭',
    'note.copied': '已复制 {lines} 行。',
    'note.copyFailed': '浏览器不允许复制。请选中文字后按 Ctrl-C。',
    'note.saved': '已保存 {name}。',
    'note.printing': '正在打印会话：全部 {lines} 行。',
    'note.printingCut': '正在打印会话 {total} 行中的最后 {lines} 行；“保存”保留全部。',
    'note.textSize': '文字大小 {size} 像素。',
    'session.restarted': '[本次会话的第 {run} 次运行，{time} 重新开始]',
    'session.cut': '[本次会话的开头已被截去：前 {count} 字节未保留。]',
    'print.cut': '[前面的 {lines} 行未打印；“保存”保留整个会话。]',
    'note.textSizeScroll': '文字大小 {size} 像素：行比终端宽，请左右滚动终端查看行尾。',
    'note.textSizePicture': '文字大小 {size} 像素：图示旁放不下整行了，请左右滚动，或关闭“图示”把位置让给终端。',
    'page.pictureHint': '演示接受一个数后，它的图示显示在这里。',
    'loading.progress': '程序正在加载… {percent}%，共 {total} MB',
    'loading.bytes': '程序正在加载… 已载入 {loaded} MB',
    'status.loading': '程序正在加载…',
    'status.running': '程序正在运行。',
    'status.paused': '输出已暂停，程序在等待。按“继续”接着运行。',
    'status.stopped': '程序已停止。要重新开始吗？',
    'status.ended': '程序已结束。要重新开始吗？',
    'status.aborted': '程序因出错而停止。要重新开始吗？',
    'status.failed': '程序无法加载。请刷新页面重试。',
    'status.load-wasm-missing':
      '程序无法加载：缺少 quorvantile.wasm 或无法读取。请重新复制整个文件夹，或打开单文件页面 quorvantile.html。',
    'status.load-from-disk':
      '程序无法加载：此页面是从磁盘打开的，浏览器不允许它加载其他文件。请改为打开单文件页面 quorvantile.html，' +
      '或用网页服务器提供此文件夹（例如 python3 -m http.server），再打开 http://127.0.0.1:8000/。',
    'status.load-script-missing':
      '程序无法加载：缺少 quorvantile.js 或无法读取。请重新复制整个文件夹，或打开单文件页面 quorvantile.html。',
    'status.load-failed': '程序无法加载。请重新开始，或刷新页面。',
    'update.ready': '新版本已就绪。',
    'update.start': '启用新版本',
    'update.start.hint': '启用页面的新版本；终端将重新开始',
    'update.saveStart': '保存并启用新版本',
    'update.saveStart.hint': '先把本次会话保存为文本文件，再启用页面的新版本',
  },
};

// 'zh', 'zh-CN', 'zh-Hant-TW' all mean Chinese; 'en-GB' English.
function supported(tag) {
  const base = String(tag || '')
    .toLowerCase()
    .split('-')[0];
  return LANGS.includes(base) ? base : null;
}

function firstLang(remembered, preferred) {
  if (supported(remembered)) return supported(remembered);
  for (const tag of preferred || []) {
    if (supported(tag)) return supported(tag);
  }
  return 'en';
}

function fill(text, vars) {
  if (!vars) return text;
  return text.replace(/\{(\w+)\}/g, (whole, name) => (name in vars ? String(vars[name]) : whole));
}

const preferred = typeof navigator === 'undefined' ? [] : navigator.languages || [navigator.language];

const events = new EventTarget();
export const i18n = {
  addEventListener: (type, listener) => events.addEventListener(type, listener),
  lang: firstLang(load(STORE_KEY, null), preferred),
  langs: LANGS,
  t(key, vars) {
    const table = words[this.lang] || words.en;
    const text = key in table ? table[key] : key in words.en ? words.en[key] : key;
    return fill(text, vars);
  },
  add(more) {
    for (const lang of Object.keys(more)) {
      if (!words[lang]) words[lang] = {};
      Object.assign(words[lang], more[lang]);
    }
  },
  setLang(lang) {
    const chosen = supported(lang);
    if (!chosen) return;
    store(STORE_KEY, chosen);
    if (chosen === this.lang) return;
    this.lang = chosen;
    this.apply();
    events.dispatchEvent(new CustomEvent('lang', { detail: { lang: chosen } }));
  },
  apply(root) {
    if (typeof document === 'undefined') return;
    const scope = root || document;
    if (!root) {
      document.documentElement.lang = this.lang === 'zh' ? 'zh-CN' : 'en';
      document.title = this.t('page.title');
    }
    for (const element of scope.querySelectorAll('[data-i18n]')) {
      element.textContent = this.t(element.dataset.i18n);
    }
    for (const element of scope.querySelectorAll('[data-i18n-label]')) {
      element.setAttribute('aria-label', this.t(element.dataset.i18nLabel));
    }
    for (const element of scope.querySelectorAll('[data-i18n-title]')) {
      element.title = this.t(element.dataset.i18nTitle);
    }
  },
  keys(lang) {
    return Object.keys(words[lang] || {});
  },
  fill, // '{name}' in a text filled in from vars: for the words other scripts keep
  firstLang, // the choice from a remembered and a preferred list, for tests
};

i18n.apply();
