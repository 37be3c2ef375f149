// The page's words in each language: the language the page starts in,
// every text in every language, and the sentences made from them.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {
  browserLanguage, fill, LANGUAGE_NAMES, LANGUAGES, PAGE_TEXTS, programEnvironment,
} from '../page_texts.js';
import {endSentence} from '../run_end.js';
import {fileKind, keptExtensions} from '../run_files.js';

const placeholders = (text) => [...text.matchAll(/\{(\w+)\}/g)].map((m) => m[1]).sort();

test('the page speaks the first of the browser\'s languages it knows, else English', () => {
  // navigator.languages, the page's language
  const cases = [[['ru-RU', 'en-US'], 'ru'], [['uk'], 'uk'], [['de-DE', 'uk-UA', 'ru'], 'uk'],
    [['en-GB', 'ru'], 'en'], [['RU_ru'], 'ru'], [['de', 'fr'], 'en'], [[], 'en'],
    [undefined, 'en'], [['ukr', 'rus'], 'en']];
  for (const [languages, language] of cases) {
    assert.equal(browserLanguage(languages), language, JSON.stringify(languages));
  }
});

test('every text is in every language, translated, with the same names to fill in', () => {
  const english = PAGE_TEXTS.en;
  assert.deepEqual(Object.keys(PAGE_TEXTS).sort(), [...LANGUAGES].sort());
  assert.deepEqual(Object.keys(LANGUAGE_NAMES).sort(), [...LANGUAGES].sort());
  for (const language of LANGUAGES) {
    const texts = PAGE_TEXTS[language];
    assert.deepEqual(Object.keys(texts).sort(), Object.keys(english).sort(), language);
    for (const [key, text] of Object.entries(texts)) {
      assert.deepEqual(placeholders(text), placeholders(english[key]), `${language} ${key}`);
      if (language !== 'en') assert.notEqual(text, english[key], `${language} ${key}`);
    }
  }
});

test('the program is given a UTF-8 locale of the page\'s language', () => {
  for (const language of LANGUAGES) {
    const environment = Object.fromEntries(programEnvironment(language).map((v) => v.split('=')));
    assert.match(environment.LANG, /\.UTF-8$/);
    if (language === 'en') assert.equal(environment.LANGUAGE, undefined);
    else assert.deepEqual([environment.LANGUAGE, environment.LANG.split('_')[0]], [language, language]);
  }
});

test('the sentences made of the texts are whole in every language', () => {
  const bytes = (text) => [...new TextEncoder().encode(text)];
  for (const language of LANGUAGES) {
    const t = PAGE_TEXTS[language];
    const million = (1000000).toLocaleString(t.numbers);
    const made = [endSentence(113, bytes('q'), t), endSentence(32, bytes(' '), t),
      endSentence(130, [], t), endSentence(7, [], t),
      keptExtensions(['.csv'], '1000001', false, t).note,
      keptExtensions(['.csv'], '', true, t).note,
      fill(fileKind('.graph.svg', t).download, {name: 'x.graph.svg'})];
    for (const sentence of made) assert.doesNotMatch(sentence, /[{}]|undefined/, sentence);
    assert.ok(made[0].includes('113') && made[1].includes(t['key.Space']), made.join('\n'));
    assert.ok(made[4].includes('.csv') && made[4].includes(million), made[4]);
    assert.ok(made[6].includes(fileKind('.graph.svg', t).what.slice(0, 5)), made[6]);
  }
});
