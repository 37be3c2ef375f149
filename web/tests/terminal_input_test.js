// The page's terminal driver: what a line read and a key read get for
// what is typed, and what the screen shows meanwhile.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {makeTerminalInput, readByte, readLine, typeBytes} from '../terminal_input.js';

function terminalWith(typed) {
  const shown = [];
  let interrupted = false;
  const input = makeTerminalInput((bytes) => shown.push(...bytes), () => { interrupted = true; });
  typeBytes(input, Buffer.from(typed, 'binary'));
  return {input, shown: () => Buffer.from(shown).toString('binary'), interrupted: () => interrupted};
}

const text = (bytes) => Buffer.from(bytes).toString('binary');

// typed, the lines read, what the screen shows
const LINE_CASES = [
  ['Alicx\x7fe\r', ['Alice\n'], 'Alicx\b \be\r\n'],
  ['ab\x15cd\r', ['cd\n'], 'ab\b \b\b \bcd\r\n'],
  ['x\x01\x7f\r', ['x\n'], 'x^A\b \b\b \b\r\n'],            // a control code shown as ^A is erased whole
  ['\xc3\xa9\x7f1\r', ['1\n'], '\xc3\xa9\b \b1\r\n'],       // é is one character
  ['5 0 7\r2\r', ['5 0 7\n', '2\n'], '5 0 7\r\n2\r\n'],
  ['12\x04', ['12'], '12'],                                 // Ctrl+D ends a line without its end
  ['\x04', [''], ''],                                       // and on an empty line, the input
];

test('lines are edited as in cooked mode', () => {
  for (const [typed, lines, screen] of LINE_CASES) {
    const t = terminalWith(typed);
    assert.deepEqual(lines.map(() => text(readLine(t.input, 100))), lines, JSON.stringify(typed));
    assert.equal(t.shown(), screen, JSON.stringify(typed));
  }
});

test('a long line comes in pieces of the capacity', () => {
  const t = terminalWith('abcdef\r');
  assert.deepEqual([readLine(t.input, 4), readLine(t.input, 4)].map(text), ['abcd', 'ef\n']);
});

test('a key read takes the bytes as sent, without echo, and what was typed ahead', async () => {
  const t = terminalWith('N');  // typed before the program asked for a key
  assert.equal(readByte(t.input, -1), 'N'.charCodeAt(0));
  typeBytes(t.input, Buffer.from('\x1b[A'));
  assert.deepEqual([readByte(t.input, 50), readByte(t.input, 50), readByte(t.input, 50)], [27, 91, 65]);
  assert.equal(t.shown(), 'N');
  assert.equal(await readByte(t.input, 20), -1);  // nothing within the wait
  const waiting = readByte(t.input, -1);
  typeBytes(t.input, [3]);                        // Ctrl+C is a key here
  assert.equal(await waiting, 3);
  assert.equal(t.interrupted(), false);
});

test('a line read waits for Enter; Ctrl+C in cooked mode interrupts', async () => {
  const t = terminalWith('');
  const line = readLine(t.input, 100);
  typeBytes(t.input, Buffer.from('4'));
  typeBytes(t.input, Buffer.from('\r'));
  assert.equal(text(await line), '4\n');
  typeBytes(t.input, [3]);
  assert.equal(t.interrupted(), true);
  assert.equal(t.shown(), '4\r\n^C');
});
