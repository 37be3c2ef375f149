// The sentence of a run's end: the key that ended it, by name, when the
// exit status is that key's code; else what the status means.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {endSentence, keyName} from '../run_end.js';

const bytes = (text) => [...new TextEncoder().encode(text)];

test('keys are named as a person knows them', () => {
  const cases = [['q', 'q'], ['é', 'é'], ['\x1b', 'Esc'], ['\x1bOP', 'F1'], ['\x1b[24~', 'F12'],
    ['\x1b[A', 'Up'], ['\x1bq', 'Alt+q'], ['\x1b7', 'Alt+7'], ['\x03', 'Ctrl+C'],
    ['\r', 'Enter'], [' ', 'Space'], ['\x1b[1;5A', '^[[1;5A']];
  for (const [typed, name] of cases) assert.equal(keyName(bytes(typed)), name, JSON.stringify(typed));
});

test('the end names the key whose code is the exit status, or tells what the status means', () => {
  // status, the last key's bytes, the sentence
  const cases = [
    [113, 'q', 'The program ended with q, exit status 113.'],
    [233, 'é', 'The program ended with é, exit status 233.'],
    [0, '\x1bOP', 'The program ended with F1, exit status 0.'],
    [224, '\x1b[24~', 'The program ended with F12, exit status 224.'],
    [1, 'N', 'The program ended (the input ended before the game was complete, or the output failed), exit status 1.'],
    [130, '', 'The program ended (interrupted with Ctrl+C), exit status 130.'],
    [2, '', 'The program ended (the command line was wrong), exit status 2.'],
    [0, '', 'The program ended with exit status 0.'],
  ];
  for (const [status, key, sentence] of cases) assert.equal(endSentence(status, bytes(key)), sentence);
});
