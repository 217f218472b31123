// The page's words under plain node: the language a browser's preferences
// choose, the English fallback, and that Chinese has every word English has.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import fs from 'node:fs';
import { i18n } from '../shell/i18n.js';

test("the first language: the remembered one, else the first the page has of the browser's", () => {
  const cases = [
    [null, ['zh-CN', 'en'], 'zh'],
    [null, ['zh-Hant-TW'], 'zh'],
    [null, ['fr-FR', 'en-GB', 'zh'], 'en'],
    [null, ['fr', 'de'], 'en'],
    [null, [], 'en'],
    ['zh', ['en-US'], 'zh'],
    ['en', ['zh-CN'], 'en'],
    ['klingon', ['zh-CN'], 'zh'],
  ];
  for (const [remembered, preferred, expected] of cases) {
    assert.equal(i18n.firstLang(remembered, preferred), expected, `${remembered} ${preferred}`);
  }
});

test('words: filled in, English where Chinese lacks one, the key where both do', () => {
  i18n.add({ en: { 'test.only-english': 'Only {what}' }, zh: { 'test.both': '两者 {n}' } });
  i18n.lang = 'zh';
  assert.equal(i18n.t('note.copied', { lines: 12 }), '已复制 12 行。');
  assert.equal(i18n.t('test.only-english', { what: 'this' }), 'Only this');
  assert.equal(i18n.t('test.both', {}), '两者 {n}');
  assert.equal(i18n.t('no.such.key'), 'no.such.key');
  i18n.lang = 'en';
  assert.equal(i18n.t('note.copied', { lines: 12 }), 'Copied 12 lines.');
});

test('every English word of the page has its Chinese, with the same blanks to fill', () => {
  const blanks = (text) => (text.match(/\{\w+\}/g) || []).sort();
  const missing = [];
  for (const key of i18n.keys('en')) {
    if (key.startsWith('test.')) continue;
    i18n.lang = 'en';
    const english = i18n.t(key);
    i18n.lang = 'zh';
    const chinese = i18n.t(key);
    if (!i18n.keys('zh').includes(key)) missing.push(key);
    else assert.deepEqual(blanks(chinese), blanks(english), key);
  }
  i18n.lang = 'en';
  assert.deepEqual(missing, []);
});

test('index.html holds no words of its own: each element that shows one names its key in both languages', () => {
  const html = fs
    .readFileSync(new URL('../index.html', import.meta.url), 'utf8')
    .replace(/<noscript>[\s\S]*?<\/noscript>/, '');
  const keys = [...html.matchAll(/\bdata-i18n(?:-label|-title)?="([^"]+)"/g)].map((m) => m[1]);
  assert.ok(keys.length >= 20, `only ${keys.length} keys found in index.html`);
  for (const key of keys) {
    assert.ok(i18n.keys('en').includes(key) && i18n.keys('zh').includes(key), key);
  }
  const words = html
    .replace(/<title>[^<]*<\/title>/, '')
    .replace(/<[^>]*>/g, '')
    .trim();
  assert.equal(words, '');
  assert.doesNotMatch(html, /aria-label=/);
});
