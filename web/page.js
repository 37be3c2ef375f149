// The page: a terminal running the program, the options of the next run,
// and the files of the last run, shown and offered as downloads, all in
// the language the user reads (the program too).
import {
  browserLanguage, fill, LANGUAGES, PAGE_TEXTS, programEnvironment, say,
} from './page_texts.js';
import {endSentence} from './run_end.js';
import {downloadStem, fileKind, keptExtensions} from './run_files.js';
import {commandLineProblem, outputExtensions, ProgramEnd, runProgram} from './runtime.js';
import {
  abandonReads, INTERRUPTED_STATUS, makeTerminalInput, readByte, readLine, typeBytes,
} from './terminal_input.js';

// The terminal is never narrower than the wide table of a 10 by 10 game
// with entries of eight digits (281 columns), so that such a table keeps
// its lines. Its font is the largest whole size, from SMALLEST_FONT to
// LARGEST_FONT, at which those columns fit the page (11 in a window 1920
// pixels wide): on a narrower page the terminal scrolls sideways; on a
// wider one, at the largest size, it takes the page's width, and longer
// lines fold at its edge.
const FEWEST_COLUMNS = 281;
const ROWS = 32;
const SMALLEST_FONT = 10;
const LARGEST_FONT = 14;
// The program writes its files under this name; the page offers them
// under the game's.
const OUTPUT_NAME = 'brown-robinson';
// The page keeps the files of a run in its memory: beyond this many bytes
// a write fails, as on a full disk, and the program says so.
const FILE_ROOM = 512 * 1024 * 1024;

const terminal = new Terminal({
  cols: FEWEST_COLUMNS,
  rows: ROWS,
  convertEol: true,  // the program's line ends, as a terminal driver turns them
  screenReaderMode: true,
  scrollback: 100000,
  fontFamily: 'monospace',
  fontSize: SMALLEST_FONT,
  lineHeight: 1.15,  // room below the baseline: at these sizes a line's underscores are cut off
});
window.terminal = terminal;
const consoleBox = document.getElementById('console');
terminal.open(document.getElementById('terminal'));

// Whether the program waits for a single key now (a test types a key that
// ends the run only then, as a person does who sees the question).
window.readsKey = () => Boolean(page.input && page.input.raw);

const encoder = new TextEncoder();
const page = {
  module: WebAssembly.compileStreaming(fetch('brown-robinson.wasm')),
  input: null,     // the terminal input of the run under way
  runNumber: 0,
  urls: [],        // the object URLs of the files shown and offered, released at the next run
  gameFile: null,  // {name, bytes} from the user's disk
  keyBytes: [],    // the bytes of the last key the program read since its last line
  typed: false,    // whether a key has been typed in the run under way
  language: chosenLanguage(),
  status: (texts) => texts.loading,  // the status, in the language of `texts`
  note: () => '',  // why a file is left out of the run, likewise
  shown: null,     // {files, gameFile} of the last run, once it has written them
};

// The language the user chose in this session, else the browser's.
function chosenLanguage() {
  const chosen = sessionValue('language');
  return LANGUAGES.includes(chosen) ? chosen : browserLanguage(navigator.languages);
}

// The session's storage, or none where the browser keeps none for the
// page (its settings may forbid it, and then any use of it throws).
function sessionValue(name, value) {
  try {
    if (value === undefined) return sessionStorage.getItem(name);
    sessionStorage.setItem(name, value);
  } catch (e) {
    if (!(e instanceof DOMException)) throw e;
  }
  return null;
}

const texts = () => PAGE_TEXTS[page.language];

// The font and the columns that fill the console's width, measured with
// the cells the terminal draws now (a cell's width is in proportion to
// the font's size).
function fitColumns() {
  const screen = terminal.element.querySelector('.xterm-screen');
  const viewport = terminal.element.querySelector('.xterm-viewport');
  const cell = screen.getBoundingClientRect().width / terminal.cols;
  if (!(cell > 0)) return;
  // The terminal's scroll bar lies over its right edge: the terminal is
  // made that much wider than its screen.
  const scrollBar = viewport.offsetWidth - viewport.clientWidth;
  terminal.element.style.paddingRight = `${scrollBar}px`;
  const style = getComputedStyle(consoleBox);
  const room = consoleBox.clientWidth - parseFloat(style.paddingLeft) -
      parseFloat(style.paddingRight) - scrollBar;
  const cellPerSize = cell / terminal.options.fontSize;
  const fitting = Math.floor(room / FEWEST_COLUMNS / cellPerSize);
  const size = Math.min(LARGEST_FONT, Math.max(SMALLEST_FONT, fitting));
  const columns = Math.max(FEWEST_COLUMNS, Math.floor(room / (cellPerSize * size)));
  if (size !== terminal.options.fontSize) terminal.options.fontSize = size;
  if (columns !== terminal.cols) terminal.resize(columns, ROWS);
}
new ResizeObserver(fitColumns).observe(consoleBox);

terminal.onData((text) => {
  if (!page.input) return;
  page.typed = true;
  typeBytes(page.input, encoder.encode(text));
});

const field = (id) => document.getElementById(id);

// Everything the page says, in its language.
function showLanguage() {
  const t = texts();
  document.documentElement.lang = page.language;
  field('language').value = page.language;
  for (const element of document.querySelectorAll('[data-text]')) {
    element.textContent = t[element.dataset.text];
  }
  for (const element of document.querySelectorAll('[data-label]')) {
    element.setAttribute('aria-label', t[element.dataset.label]);
  }
  showGameFile();
  field('status').textContent = page.status(t);
  field('files-note').textContent = page.note(t);
  if (page.shown) showFiles(page.shown.files, page.shown.gameFile);
}

// A run nothing has been typed in yet starts again in the language
// chosen, for the program to speak it as well; one under way keeps its
// language to its end.
field('language').addEventListener('change', async (event) => {
  page.language = event.target.value;
  sessionValue('language', page.language);
  showLanguage();
  if (field('problem').textContent !== '') await optionsTaken(false);
  if (page.input && !page.typed) startRun();
});

field('options').addEventListener('submit', async (event) => {
  event.preventDefault();
  if (await optionsTaken(true)) startRun();
});

for (const id of ['iterations', 'accuracy']) field(id).addEventListener('change', () => optionsTaken(false));

field('game-file').addEventListener('change', async (event) => {
  const file = event.target.files[0];
  page.gameFile = file ? {name: file.name, bytes: new Uint8Array(await file.arrayBuffer())} : null;
  showGameFile();
});

field('clear-game-file').addEventListener('click', () => {
  field('game-file').value = '';
  page.gameFile = null;
  showGameFile();
});

function showGameFile() {
  field('game-file-name').textContent =
      page.gameFile ? say(texts(), 'gameFile', {name: page.gameFile.name}) : '';
  field('clear-game-file').hidden = !page.gameFile;
}

// The options with a value, as the program is given them.
function valueOptions() {
  const options = [];
  const iterations = field('iterations').value.trim();
  if (iterations !== '') options.push(['iterations', `--iterations=${iterations}`]);
  const accuracy = field('accuracy').value.trim();
  if (accuracy !== '') options.push(['accuracy', `--accuracy=${accuracy}`]);
  return options;
}

// Whether the program takes the values typed: it is asked itself, and a
// value it refuses is refused here in its words (and the field is given
// the focus, when `focus`).
async function optionsTaken(focus) {
  const module = await page.module;
  let problem = '';
  for (const id of ['iterations', 'accuracy']) field(id).setAttribute('aria-invalid', 'false');
  for (const [id, option] of valueOptions()) {
    const said = problem === '' ?
        await commandLineProblem(module, [option], programEnvironment(page.language)) :
        '';
    field(id).setAttribute('aria-invalid', said === '' ? 'false' : 'true');
    if (focus && said !== '' && problem === '') field(id).focus();
    problem = problem || said;
  }
  field('problem').textContent = problem;
  return problem === '';
}

// The command line of the next run, as the options on the page say.
function commandLine(extensions) {
  const args = ['brown-robinson'];
  if (field('exact').checked) args.push('--exact');
  if (field('wide').checked) args.push('--wide');
  if (field('steps').checked) args.push('--steps');
  args.push(...valueOptions().map(([, option]) => option));
  for (const extension of extensions) args.push(`--output=${OUTPUT_NAME}${extension}`);
  // The program sees the game file in its one folder, "/".
  if (page.gameFile) args.push('--', `/${page.gameFile.name}`);
  return args;
}

async function startRun() {
  const runNumber = ++page.runNumber;
  if (page.input) abandonReads(page.input, new ProgramEnd(null));
  clearFiles();
  terminal.reset();
  terminal.focus();
  setStatus((t) => t.running);
  const module = await page.module;
  const input = makeTerminalInput(
      (bytes) => terminal.write(new Uint8Array(bytes)),
      () => abandonReads(input, new ProgramEnd(INTERRUPTED_STATUS)));
  page.input = input;
  page.keyBytes = [];
  page.typed = false;
  const outputs = await outputExtensions(module);
  const iterations = field('iterations').value.trim();
  const toAccuracy = field('accuracy').value.trim() !== '';
  const keptFor = (t) => keptExtensions(outputs, iterations, toAccuracy, t);
  const kept = keptFor(texts());
  page.note = (t) => keptFor(t).note;
  field('files-note').textContent = kept.note;
  const gameFile = page.gameFile ? {...page.gameFile} : null;
  const files = [];
  const status = await runProgram(module, {
    args: commandLine(kept.extensions),
    environment: programEnvironment(page.language),
    gameFile,
    fileRoom: FILE_ROOM,
    onFile: (file) => {
      if (runNumber !== page.runNumber) return;
      // The program puts all its files in place at once, then reads its
      // last key: they are shown together once it waits for it.
      if (files.push(file) === 1) queueMicrotask(() => showFiles(files, gameFile));
      page.keyBytes = [];
      setStatus((t) => t.waiting);
    },
    terminal: {
      write: (bytes) => terminal.write(bytes),
      readLine: (capacity) => {
        page.keyBytes = [];
        return readLine(input, capacity);
      },
      readByte: (timeoutMs) => noteKeyByte(runNumber, readByte(input, timeoutMs)),
    },
  });
  if (runNumber !== page.runNumber) return;  // a newer run has taken over
  page.input = null;
  const keyBytes = [...page.keyBytes];
  setStatus((t) => endSentence(status, keyBytes, t));
}

// Keeps the bytes the program reads as keys, to name the one that ends it.
function noteKeyByte(runNumber, byte) {
  const note = (b) => {
    if (b >= 0 && runNumber === page.runNumber) page.keyBytes.push(b);
    return b;
  };
  return byte instanceof Promise ? byte.then(note) : note(byte);
}

// Sets the status: `describe(texts)` says it in the language of texts.
function setStatus(describe) {
  page.status = describe;
  field('status').textContent = describe(texts());
}

function clearFiles() {
  clearShown();
  page.shown = null;
  page.note = () => '';
  field('files-note').textContent = '';
}

function clearShown() {
  for (const url of page.urls) URL.revokeObjectURL(url);
  page.urls = [];
  field('downloads').replaceChildren();
  field('shown').replaceChildren();
}

// Offers each file as a download named after the game, and shows the
// pictures and the report.
function showFiles(files, gameFile) {
  clearShown();
  page.shown = {files, gameFile};
  const stem = downloadStem(gameFile && gameFile.name, files, OUTPUT_NAME);
  for (const file of files) {
    const extension = file.name.slice(OUTPUT_NAME.length);
    const kind = fileKind(extension, texts());
    const url = URL.createObjectURL(new Blob(file.parts, {type: kind.type}));
    page.urls.push(url);
    const link = document.createElement('a');
    link.href = url;
    link.download = stem + extension;
    link.textContent = fill(kind.download, {name: link.download});
    const item = document.createElement('li');
    item.append(link);
    field('downloads').append(item);
    if (kind.shown) field('shown').append(shownFile(kind, url, link.download));
  }
}

// A picture as an image, the report in a frame that may run nothing.
function shownFile(kind, url, name) {
  const figure = document.createElement('figure');
  const caption = document.createElement('figcaption');
  caption.textContent = `${kind.what[0].toUpperCase()}${kind.what.slice(1)} (${name})`;
  let view;
  if (kind.shown === 'image') {
    view = document.createElement('img');
    view.alt = kind.what;
  } else {
    view = document.createElement('iframe');
    view.sandbox = '';
    view.title = kind.what;
  }
  view.src = url;
  figure.append(caption, view);
  return figure;
}

showLanguage();
startRun();
