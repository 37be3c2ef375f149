// The files of -o in the page: which the page asks for, what each is, and
// the name it is offered under.
import {ENGLISH, say} from './page_texts.js';
import {joinChunks} from './runtime.js';

// The table of every iteration takes some 200 bytes an iteration: the
// page keeps its files in memory, and a longer run's table would not fit.
export const LARGEST_TABLE_RUN = 1000000;
// The most iterations the program plays: a run to an accuracy without -n
// may take as many.
const LONGEST_RUN = 10000000;

// What each file is (the key of its words in page_texts.js, "file.*" and
// "download.*"), its type, and how the page shows it ('image', 'frame',
// or not at all). The longest extension that fits is the file's.
const FILE_KINDS = {
  '.svg': {key: 'svg', type: 'image/svg+xml', shown: 'image'},
  '.graph.svg': {key: 'graph.svg', type: 'image/svg+xml', shown: 'image'},
  '.html': {key: 'html', type: 'text/html', shown: 'frame'},
  '.csv': {key: 'csv', type: 'text/csv', shown: null},
  '.nfg': {key: 'nfg', type: 'text/plain', shown: null},
  '.game': {key: 'game', type: 'text/plain', shown: null},
};

// The kind of a file, with what it is (`what`) and the words of its
// download (`download`, "{name}" standing for the file's name) in `texts`.
export function fileKind(extension, texts = ENGLISH) {
  const known = Object.keys(FILE_KINDS)
      .filter((e) => extension.toLowerCase().endsWith(e))
      .sort((a, b) => b.length - a.length)[0];
  let kind = {key: 'other', type: 'application/octet-stream', shown: null};
  if (known) kind = FILE_KINDS[known];
  else if (extension.toLowerCase().endsWith('.svg')) kind = {...FILE_KINDS['.svg'], key: 'picture'};
  return {...kind, what: texts[`file.${kind.key}`], download: texts[`download.${kind.key}`]};
}

// The extensions to ask the program for, of those it knows, and why the
// table is left out when it is, in `texts`: for a run of more iterations
// than the page can keep the table of (`iterations` as typed for -n;
// `toAccuracy` whether -e is given, which plays up to -n or the program's
// most).
export function keptExtensions(extensions, iterations, toAccuracy, texts = ENGLISH) {
  const most = iterations !== '' ? Number(iterations) : toAccuracy ? LONGEST_RUN : 0;
  if (!(most > LARGEST_TABLE_RUN) || !extensions.includes('.csv')) return {extensions, note: ''};
  const largest = LARGEST_TABLE_RUN.toLocaleString(texts.numbers);
  const why = iterations !== '' ?
      say(texts, 'forIterations', {iterations}) :
      say(texts, 'forAccuracy', {longest: LONGEST_RUN.toLocaleString(texts.numbers), largest});
  return {
    extensions: extensions.filter((e) => e !== '.csv'),
    note: say(texts, 'tableLeftOut', {why, largest}),
  };
}

// The name the files are offered under: the game file's, without its
// extension; else the players' (from the Gambit file of the run, which
// holds them as typed), "Alice-Bob"; else the program's.
export function downloadStem(gameFileName, files, fallback) {
  if (gameFileName) {
    const dot = gameFileName.lastIndexOf('.');
    const stem = safeName(dot > 0 ? gameFileName.slice(0, dot) : gameFileName);
    if (stem !== '') return stem;
  }
  const nfg = files.find((f) => f.name.toLowerCase().endsWith('.nfg'));
  const players = nfg ? playersOf(new TextDecoder().decode(joinChunks(nfg.parts))) : null;
  if (players) {
    const stem = players.map(safeName).filter((n) => n !== '').join('-');
    if (stem !== '') return stem;
  }
  return fallback;
}

// The two players of a Gambit file's head, NFG 1 R "title" { "one" "two" }.
export function playersOf(text) {
  const quoted = '"((?:[^"\\\\]|\\\\.)*)"';
  const head = text.match(new RegExp(`^NFG\\s+1\\s+R\\s+${quoted}\\s*\\{\\s*${quoted}\\s*${quoted}`));
  if (!head) return null;
  return [head[2], head[3]].map((name) => name.replace(/\\(.)/g, '$1'));
}

// A name any file system takes: no separators, reserved or control
// characters, blanks as underscores, at most 60 characters.
function safeName(name) {
  return name.replace(/[\\/:*?"<>|\x00-\x1f\x7f]/g, '')
      .trim()
      .replace(/\s+/g, '_')
      .replace(/^\.+/, '')
      .slice(0, 60);
}
