// The page's words under plain node: the language a browser's preferences
// choose, the English fallback, and that Chinese has every word English has.
'use strict';

const assert = require('node:assert/strict');
const { test } = require('node:test');
const i18n = require('../i18n.js');

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

test("the words index.html starts with are i18n.js's English, so that each is kept in one place", () => {
  const fs = require('node:fs');
  const path = require('node:path');
  const html = fs.readFileSync(path.join(__dirname, '..', 'index.html'), 'utf8');
  const plain = (text) => text.replace(/\s+/g, ' ').trim();
  i18n.lang = 'en';
  const found = [];
  for (const [, attributes, content] of html.matchAll(/<\w+([^>]*\bdata-i18n[^>]*)>([^<]*)/g)) {
    const key = (name) => (new RegExp(`\\b${name}="([^"]+)"`).exec(attributes) || [])[1];
    const label = /\baria-label="([^"]*)"/.exec(attributes);
    if (key('data-i18n')) found.push([key('data-i18n'), plain(content)]);
    if (key('data-i18n-label')) found.push([key('data-i18n-label'), label ? label[1] : '(no aria-label)']);
  }
  assert.ok(found.length >= 20, `only ${found.length} words found in index.html`);
  for (const [key, english] of found) assert.equal(english, i18n.t(key), key);
});
