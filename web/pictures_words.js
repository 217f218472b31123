// The picture pane's words in English and Chinese, handed to the page's
// words (i18n.js), and t(), which gives them in the page's language through
// it (under node, the same script as a module). Part of the pictures
// (web/pictures.js); the parts meet in globalThis.quorvantilePictureParts.
'use strict';

(function (parts) {
  const WORDS = {
    en: {
      'picture.goldbach': 'Goldbach pairs of {n}: {count}',
      'picture.goldbach.counting': 'Goldbach pairs of {n}: being counted',
      'picture.goldbach.comet': 'pairs of every even number up to {bound}',
      'picture.goldbach.runs.p': 'p, the smaller prime of p + q = {n}',
      'picture.goldbach.runs.count': 'pairs in each run of p',
      'picture.goldbach.runs.bar': 'p from {from} to {to}: {count} pairs',
      'picture.goldbach.arcs': 'the pairs of {n} as arcs: p + q = {n}',
      'picture.collatz': 'Collatz path of {n}: {steps} steps, peak {peak} at step {peakStep}',
      'picture.collatz.step': 'step',
      'picture.collatz.value': 'value',
      'picture.collatz.log': 'Logarithmic scale',
      'picture.collatz.linear': 'Linear scale',
      'picture.nicomachus': 'Nicomachus {n}: {runs}; 1³+…+{n}³ = {sum} = {side}²',
      'picture.nicomachus.then': '; ',
      'picture.nicomachus.run': '{n}³ = {cube} = {run}',
      'picture.nicomachus.written': '{n}³ = {cube} = {run}, the run the terminal wrote: {count} odd numbers, not {n}',
      'picture.nicomachus.another': 'another solution, of {n} odd numbers: {run}',
      'picture.nicomachus.several': 'the terminal wrote {count} runs that add up to {n}³ = {cube}: {runs}',
      'picture.nicomachus.band': 'band {n} is the run of {n} odd numbers, {run}',
      'picture.nicomachus.none': '{n}³ = {cube} is no sum of two or more odd numbers: the terminal wrote none',
      'picture.nicomachus.tooLarge': 'Nicomachus {n}: the cube of {n} is too large to draw',
      'picture.nicomachus.grow': '1³+…+k³ (bars), (1+…+k)² (line), k = 1 to {n}',
      'picture.fourSquares': 'Four squares of {n}: {count} decompositions',
      'picture.fourSquares.many': 'Four squares of {n}: more than {count} decompositions',
      'picture.fourSquares.which': 'decomposition {at} of {count}',
      'picture.fourSquares.previous': 'Previous',
      'picture.fourSquares.next': 'Next',
      'picture.sieve': 'Primes up to {n}: {count}',
      'picture.sieve.curve': 'π(x) (line) and x/ln x (dashes) for x ≤ {n}',
      'picture.sieve.striking': 'striking the multiples of {p}',
      'picture.sieve.done': "composites struck in their smallest prime's colour",
      'picture.sieve.start': 'nothing struck yet',
      'picture.sieve.play': 'Play',
      'picture.sieve.pause': 'Pause',
      'picture.sieve.step': 'Step',
      'picture.downloadSvg': 'Download SVG',
      'picture.downloadPng': 'Download PNG',
      'picture.failed': 'The picture could not be drawn: the program has stopped.',
    },
    zh: {
      'picture.goldbach': '{n} 的哥德巴赫素数对：{count} 对',
      'picture.goldbach.counting': '{n} 的哥德巴赫素数对：正在计数',
      'picture.goldbach.comet': '不超过 {bound} 的每个偶数的素数对个数',
      'picture.goldbach.runs.p': 'p + q = {n} 中较小的素数 p',
      'picture.goldbach.runs.count': '每段 p 中的素数对个数',
      'picture.goldbach.runs.bar': 'p 从 {from} 到 {to}：{count} 对',
      'picture.goldbach.arcs': '{n} 的素数对画成弧线：p + q = {n}',
      'picture.collatz': '{n} 的考拉兹路径：{steps} 步，第 {peakStep} 步达到最高点 {peak}',
      'picture.collatz.step': '步',
      'picture.collatz.value': '值',
      'picture.collatz.log': '对数刻度',
      'picture.collatz.linear': '线性刻度',
      'picture.nicomachus': '尼科马库斯 {n}：{runs}；1³+…+{n}³ = {sum} = {side}²',
      'picture.nicomachus.then': '；',
      'picture.nicomachus.run': '{n}³ = {cube} = {run}',
      'picture.nicomachus.written': '{n}³ = {cube} = {run}，这是终端写出的一组：{count} 个奇数，不是 {n} 个',
      'picture.nicomachus.another': '另一个解，{n} 个奇数：{run}',
      'picture.nicomachus.several': '终端写出了 {count} 组和为 {n}³ = {cube} 的连续奇数：{runs}',
      'picture.nicomachus.band': '第 {n} 带是 {n} 个奇数的一组：{run}',
      'picture.nicomachus.none': '{n}³ = {cube} 不是两个或更多个连续奇数之和：终端没有写出等式',
      'picture.nicomachus.tooLarge': '尼科马库斯 {n}：{n} 的立方太大，无法画出',
      'picture.nicomachus.grow': 'k = 1 到 {n} 的 1³+…+k³（柱）与 (1+…+k)²（线）',
      'picture.fourSquares': '{n} 的四平方和分解：{count} 种',
      'picture.fourSquares.many': '{n} 的四平方和分解：超过 {count} 种',
      'picture.fourSquares.which': '第 {at} 种，共 {count} 种',
      'picture.fourSquares.previous': '上一个',
      'picture.fourSquares.next': '下一个',
      'picture.sieve': '不超过 {n} 的素数：{count} 个',
      'picture.sieve.curve': 'π(x)（实线）与 x/ln x（虚线），x ≤ {n}',
      'picture.sieve.striking': '划去 {p} 的倍数',
      'picture.sieve.done': '每个合数都以其最小素因数的颜色划去',
      'picture.sieve.start': '还没有划去任何数',
      'picture.sieve.play': '播放',
      'picture.sieve.pause': '暂停',
      'picture.sieve.step': '单步',
      'picture.downloadSvg': '下载 SVG',
      'picture.downloadPng': '下载 PNG',
      'picture.failed': '无法画出图片：程序已经停止。',
    },
  };

  const i18n = typeof module !== 'undefined' ? require('./i18n.js') : window.quorvantileI18n;
  i18n.add(WORDS);
  const t = (key, vars) => i18n.t(key, vars);

  Object.assign(parts, { WORDS, t });
  if (typeof module !== 'undefined') module.exports = parts;
})(
  typeof globalThis.quorvantilePictureParts === 'object'
    ? globalThis.quorvantilePictureParts
    : (globalThis.quorvantilePictureParts = {}),
);
