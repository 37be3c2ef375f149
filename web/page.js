// The page: a terminal running the program, the options of the next run,
// and the files of the last run offered as downloads.
import {outputExtensions, ProgramEnd, runProgram} from './runtime.js';
import {
  abandonReads, INTERRUPTED_STATUS, makeTerminalInput, readByte, readLine, typeBytes,
} from './terminal_input.js';

// Wide enough for the wide table of a 10 by 10 game; on a narrow screen
// the terminal scrolls sideways instead of folding the table's lines.
const COLUMNS = 160;
const ROWS = 32;
// The files of -o are named after the program, as a user would name them.
const OUTPUT_NAME = 'brown-robinson';
// The table of every iteration takes some 200 bytes an iteration: kept in
// the page's memory, a run longer than this would exhaust the tab.
const LARGEST_TABLE_RUN = 1000000;

const terminal = new Terminal({
  cols: COLUMNS,
  rows: ROWS,
  convertEol: true,  // the program's line ends, as a terminal driver turns them
  screenReaderMode: true,
  scrollback: 100000,
  fontFamily: 'monospace',
});
window.terminal = terminal;
terminal.open(document.getElementById('terminal'));

// Whether the program waits for a single key now (a test types a key that
// ends the run only then, as a person does who sees the question).
window.readsKey = () => Boolean(page.input && page.input.raw);

const encoder = new TextEncoder();
const page = {
  module: WebAssembly.compileStreaming(fetch('brown-robinson.wasm')),
  input: null,     // the terminal input of the run under way
  runNumber: 0,
  downloads: [],   // the object URLs offered, released at the next run
  gameFile: null,  // {name, bytes} from the user's disk
};

terminal.onData((text) => {
  if (page.input) typeBytes(page.input, encoder.encode(text));
});

document.getElementById('options').addEventListener('submit', (event) => {
  event.preventDefault();
  startRun();
});

document.getElementById('game-file').addEventListener('change', async (event) => {
  const file = event.target.files[0];
  page.gameFile = file ? {name: file.name, bytes: new Uint8Array(await file.arrayBuffer())} : null;
  document.getElementById('game-file-name').textContent =
      file ? `Game file: ${file.name} (used from the next run)` : '';
});

// The command line of the next run, as the options on the page say.
function commandLine(extensions) {
  const args = ['brown-robinson'];
  if (document.getElementById('exact').checked) args.push('--exact');
  if (document.getElementById('wide').checked) args.push('--wide');
  const iterations = document.getElementById('iterations').value.trim();
  if (iterations !== '') args.push(`--iterations=${iterations}`);
  const longRun = iterations !== '' && Number(iterations) > LARGEST_TABLE_RUN;
  for (const extension of extensions) {
    if (longRun && extension === '.csv') continue;
    args.push(`--output=${OUTPUT_NAME}${extension}`);
  }
  // The program sees the game file in its one folder, "/".
  if (page.gameFile) args.push('--', `/${page.gameFile.name}`);
  return args;
}

async function startRun() {
  const runNumber = ++page.runNumber;
  if (page.input) abandonReads(page.input, new ProgramEnd(null));
  clearDownloads();
  terminal.reset();
  terminal.focus();
  setStatus('The program is running.');
  const module = await page.module;
  const input = makeTerminalInput(
      (bytes) => terminal.write(new Uint8Array(bytes)),
      () => abandonReads(input, new ProgramEnd(INTERRUPTED_STATUS)));
  page.input = input;
  const args = commandLine(await outputExtensions(module));
  const gameFile = page.gameFile ? {...page.gameFile} : null;
  const result = await runProgram(module, {
    args,
    gameFile,
    terminal: {
      write: (bytes) => terminal.write(bytes),
      readLine: (capacity) => readLine(input, capacity),
      readByte: (timeoutMs) => readByte(input, timeoutMs),
    },
  });
  if (runNumber !== page.runNumber) return;  // a newer run has taken over
  page.input = null;
  setStatus(`The program ended with exit status ${result.status}.`);
  offerDownloads(result.files);
}

function setStatus(text) {
  document.getElementById('status').textContent = text;
}

function clearDownloads() {
  for (const url of page.downloads) URL.revokeObjectURL(url);
  page.downloads = [];
  document.getElementById('downloads').replaceChildren();
}

const FILE_KINDS = {
  '.html': ['the report', 'text/html'],
  '.svg': ['the picture', 'image/svg+xml'],
  '.csv': ['the table', 'text/csv'],
  '.nfg': ['the game for Gambit', 'text/plain'],
  '.game': ['the game as a game file', 'text/plain'],
};

function offerDownloads(files) {
  const list = document.getElementById('downloads');
  for (const file of files) {
    const extension = file.name.slice(file.name.lastIndexOf('.')).toLowerCase();
    const [kind, type] = FILE_KINDS[extension] || ['a file', 'application/octet-stream'];
    const url = URL.createObjectURL(new Blob([file.bytes], {type}));
    page.downloads.push(url);
    const link = document.createElement('a');
    link.href = url;
    link.download = file.name;
    link.textContent = `Download ${kind} (${file.name})`;
    const item = document.createElement('li');
    item.append(link);
    list.append(item);
  }
}

startRun();
