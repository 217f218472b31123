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
