// The files of a run in the page: the room they may take, the names they
// are offered under, what each is, and when the table is left out.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {downloadStem, fileKind, keptExtensions, playersOf} from '../run_files.js';
import {
  commitFile, discardFiles, makeFileStore, openFile, parseExtensionList, writeFile,
} from '../runtime.js';

const bytes = (text) => new TextEncoder().encode(text);

test('a write beyond the room, or one the page has no memory for, fails as on a full disk', () => {
  const committed = [];
  const store = makeFileStore(10, (f) => committed.push(f));
  const a = openFile(store, 'a.svg');
  const b = openFile(store, 'b.csv');
  const noMemory = () => {
    throw new RangeError('Array buffer allocation failed');
  };
  // file, bytes, whether the write succeeds
  const writes = [[a, () => bytes('123456'), true], [b, () => bytes('12345'), false],
    [b, () => bytes('1234'), true], [b, noMemory, false], [a, () => bytes(''), true],
    [7, () => bytes('1'), false]];
  for (const [file, what, taken] of writes) assert.equal(writeFile(store, file, what), taken);
  commitFile(store, a);
  discardFiles(store);  // b was never put in place: its room comes back
  assert.deepEqual(committed.map((f) => [f.name, f.size, f.parts.length]), [['a.svg', 6, 2]]);
  assert.equal(writeFile(store, openFile(store, 'c.csv'), () => bytes('1234')), true);
});

test('the files are named after the game file, else the players, else the program', () => {
  const nfg = (head) => [{name: 'brown-robinson.svg', parts: [bytes('<svg/>')]},
    {name: 'brown-robinson.nfg', parts: [bytes(head.slice(0, 9)), bytes(head.slice(9))]}];
  const alice = nfg('NFG 1 R "Alice against Bob" { "Alice" "Bob" }\n');
  // game file, files, the name
  const cases = [
    ['worked.game', alice, 'worked'],
    ['my game.v2.nfg', alice, 'my_game.v2'],
    [null, alice, 'Alice-Bob'],
    [null, nfg('NFG 1 R "t" { "Ann Lee" "B/o\\"b" }'), 'Ann_Lee-Bob'],
    ['.game', alice, 'game'],
    ['/', nfg('NFG 1 R "t" { "" "::" }'), 'brown-robinson'],
    [null, [], 'brown-robinson'],
  ];
  for (const [game, files, stem] of cases) {
    assert.equal(downloadStem(game, files, 'brown-robinson'), stem, JSON.stringify([game, stem]));
  }
  assert.deepEqual(playersOf('NFG 1 R "a" { "x \\"y\\"" "z" }'), ['x "y"', 'z']);
  assert.equal(playersOf('NFG 1 D "a" { "x" "z" }'), null);
});

test('each extension the program lists is a kind of file, the longest fitting', () => {
  const list = parseExtensionList('.svg, .graph.svg, .html, .csv, .nfg or .game');
  assert.deepEqual(list, ['.svg', '.graph.svg', '.html', '.csv', '.nfg', '.game']);
  const shown = list.map((e) => fileKind(e).shown);
  assert.deepEqual(shown, ['image', 'image', 'frame', null, null, null]);
  assert.notEqual(fileKind('.graph.svg').what, fileKind('.svg').what);
  assert.equal(fileKind('.other.svg').shown, 'image');
  assert.equal(fileKind('.pdf').type, 'application/octet-stream');
});

test('the table is left out, with the reason, for more iterations than the page keeps', () => {
  const all = ['.svg', '.csv', '.game'];
  // -n as typed, -e given, whether the table is kept
  const cases = [['', false, true], ['1000000', false, true], ['1000001', false, false],
    ['', true, false], ['1000', true, true], ['10000000', true, false]];
  for (const [iterations, toAccuracy, kept] of cases) {
    const {extensions, note} = keptExtensions(all, iterations, toAccuracy);
    assert.equal(extensions.includes('.csv'), kept, JSON.stringify([iterations, toAccuracy]));
    assert.equal(extensions.length, kept ? 3 : 2);
    assert.equal(note === '', kept);
    if (!kept) assert.match(note, /\.csv.*1,000,000 iterations/);
  }
});
