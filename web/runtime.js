// Runs the program's WebAssembly in the page: the few WASI calls it makes
// (its command line and environment, writes to the terminal, its exit, the game file),
// the functions it imports from the page ("web": reads of lines and keys,
// writes straight to the terminal, the files of -o), and the suspension
// of the program while a read waits for the user (binaryen's asyncify:
// the program's calls are unwound into its own buffer, and wound up again
// once the answer is there).

const WASI_EBADF = 8;
const WASI_EINVAL = 28;
const WASI_ENOENT = 44;
const WASI_ESPIPE = 70;
const FILETYPE_CHARACTER_DEVICE = 2;
const FILETYPE_DIRECTORY = 3;
const FILETYPE_REGULAR_FILE = 4;

// The one folder the program sees, holding at most the game file.
const ROOT_FD = 3;
const GAME_FILE_FD = 4;

// Ends a run from inside the program's calls: its exit, or the page
// abandoning it.
export class ProgramEnd extends Error {
  constructor(status) {
    super(`the program ended with status ${status}`);
    this.status = status;
  }
}

const encoder = new TextEncoder();

// Plays one run of `module`. `terminal` gives the reads and takes the
// writes: write(bytes), readLine(capacity) and readByte(timeoutMs), the
// reads returning a number/bytes at once or a promise of them, or
// throwing/rejecting with a ProgramEnd. `gameFile` is {name, bytes} or
// null. `onFile(file)` is given each file of -o as the program puts it in
// place ({name, parts, size}); `fileRoom` bounds their bytes. Resolves to
// the exit status. `environment` holds the program's environment
// variables as NAME=value strings (its language is chosen from them).
export async function runProgram(module, {
  args, terminal, environment = [], gameFile = null, onFile = () => {}, fileRoom = Infinity,
}) {
  const run = {
    exports: null,
    memory: null,
    suspension: null,   // the promise a read waits on while unwound
    rewinding: false,
    answer: undefined,  // what the waiting read returns when wound up again
    files: makeFileStore(fileRoom, onFile),
    gameFile,
    gamePosition: 0,
    terminal,
  };
  const imports = {
    wasi_snapshot_preview1: wasiCalls(run, args, environment),
    web: webCalls(run),
  };
  const instance = await WebAssembly.instantiate(module, imports);
  run.exports = instance.exports;
  run.memory = instance.exports.memory;
  return playToEnd(run);
}

// The extensions the program's -o knows, from its own list ("a, b or c").
export async function outputExtensions(module) {
  const instance = await WebAssembly.instantiate(module, {
    wasi_snapshot_preview1: new Proxy({}, {get: () => () => WASI_EBADF}),
    web: new Proxy({}, {get: () => () => 0}),
  });
  const list = cString(instance.exports.memory, instance.exports.output_extensions());
  return parseExtensionList(list);
}

// An extension may have several dots (".graph.svg").
export function parseExtensionList(list) {
  return list.match(/(\.[A-Za-z0-9]+)+/g) || [];
}

// The program's own words on options it refuses (the first line it
// writes on standard error), or '' when it takes them. They are given
// before --help, which ends a command line the program takes, in the
// environment given (the language of its words).
export async function commandLineProblem(module, options, environment = []) {
  const decoder = new TextDecoder();
  let said = '';
  const noAnswer = () => {
    throw new ProgramEnd(null);
  };
  const status = await runProgram(module, {
    args: ['brown-robinson', ...options, '--help'],
    environment,
    terminal: {
      write: (bytes) => {
        said += decoder.decode(bytes, {stream: true});
      },
      readLine: noAnswer,
      readByte: noAnswer,
    },
  });
  return status === 2 ? said.split('\n')[0] : '';
}

// Calls the program until it ends, waiting out each suspension between
// the calls.
async function playToEnd(run) {
  for (;;) {
    try {
      run.exports._start();
    } catch (e) {
      if (e instanceof ProgramEnd) return e.status;
      throw e;
    }
    if (run.suspension === null) return 0;  // main returned without exit
    run.exports.asyncify_stop_unwind();
    try {
      run.answer = await run.suspension;
    } catch (e) {
      if (e instanceof ProgramEnd) return e.status;
      throw e;
    }
    run.suspension = null;
    run.rewinding = true;
    run.exports.asyncify_start_rewind(run.dataAddress);
  }
}

// Wraps a read: an answer at hand is returned at once; a promise
// suspends the program, and the read, called again when it is wound up,
// returns what the promise gave.
function suspendable(run, read) {
  return (...args) => {
    if (run.rewinding) {
      run.exports.asyncify_stop_rewind();
      run.rewinding = false;
      return finishRead(run, read, run.answer, args);
    }
    const result = read.start(...args);
    if (!(result instanceof Promise)) return finishRead(run, read, result, args);
    run.suspension = result;
    run.dataAddress = run.exports.asyncify_data();
    run.exports.asyncify_start_unwind(run.dataAddress);
    return 0;
  };
}

function finishRead(run, read, answer, args) {
  return read.finish ? read.finish(answer, ...args) : answer;
}

function bytesAt(run, address, length) {
  return new Uint8Array(run.memory.buffer, address, length);
}

function cString(memory, address) {
  const bytes = new Uint8Array(memory.buffer, address);
  const end = bytes.indexOf(0);
  return new TextDecoder().decode(bytes.subarray(0, end));
}

function webCalls(run) {
  return {
    read_line: suspendable(run, {
      start: (buffer, capacity) => run.terminal.readLine(capacity),
      finish: (line, buffer, capacity) => {
        const taken = line.subarray(0, capacity);
        bytesAt(run, buffer, taken.length).set(taken);
        return taken.length;
      },
    }),
    read_byte: suspendable(run, {start: (timeoutMs) => run.terminal.readByte(timeoutMs)}),
    echo: (text, length) => run.terminal.write(bytesAt(run, text, length).slice()),
    today: () => {
      const now = new Date();
      return now.getFullYear() * 10000 + (now.getMonth() + 1) * 100 + now.getDate();
    },
    file_open: (path) => openFile(run.files, cString(run.memory, path)),
    file_write: (file, bytes, length) => writeFile(run.files, file, () => bytesAt(run, bytes, length)),
    file_commit: (file) => commitFile(run.files, file),
    file_discard: () => discardFiles(run.files),
  };
}

// The files of -o, kept in the page until the run ends. `room` bounds the
// bytes of all of them together; `onCommit(file)` hears of each file as it
// is put in place, {name, parts, size}, its bytes in parts.
export function makeFileStore(room, onCommit) {
  return {room, onCommit, used: 0, open: []};
}

export function openFile(store, name) {
  store.open.push({name, parts: [], size: 0});
  return store.open.length - 1;
}

// Appends a copy of bytes() to the file; false, as a full disk's write
// fails, when the store has no room for it or the page cannot get the
// memory (a table of millions of iterations).
export function writeFile(store, file, bytes) {
  const f = store.open[file];
  if (!f) return false;
  try {
    const view = bytes();
    if (store.used + view.length > store.room) return false;
    f.parts.push(view.slice());
    f.size += view.length;
    store.used += view.length;
    return true;
  } catch (e) {
    if (e instanceof RangeError) return false;
    throw e;
  }
}

export function commitFile(store, file) {
  const f = store.open[file];
  if (!f) return;
  store.open[file] = null;
  store.onCommit(f);
}

// Forgets the files not put in place, and gives their room back.
export function discardFiles(store) {
  for (const f of store.open) if (f) store.used -= f.size;
  store.open = [];
}

export function joinChunks(chunks) {
  const length = chunks.reduce((sum, c) => sum + c.length, 0);
  const whole = new Uint8Array(length);
  let at = 0;
  for (const chunk of chunks) {
    whole.set(chunk, at);
    at += chunk.length;
  }
  return whole;
}

function wasiCalls(run, args, environment) {
  const view = () => new DataView(run.memory.buffer);
  const gamePath = run.gameFile ? encoder.encode(run.gameFile.name) : null;
  const [argsSizesGet, argsGet] = stringListCalls(run, args);
  const [environSizesGet, environGet] = stringListCalls(run, environment);
  return {
    args_sizes_get: argsSizesGet,
    args_get: argsGet,
    environ_sizes_get: environSizesGet,
    environ_get: environGet,
    fd_write: (fd, iovs, count, written) => {
      if (fd !== 1 && fd !== 2) return WASI_EBADF;
      const pieces = ioVectors(run, iovs, count).map(([at, length]) => bytesAt(run, at, length).slice());
      const bytes = joinChunks(pieces);
      run.terminal.write(bytes);
      view().setUint32(written, bytes.length, true);
      return 0;
    },
    fd_read: (fd, iovs, count, read) => {
      if (fd !== GAME_FILE_FD || !run.gameFile) return WASI_EBADF;
      let total = 0;
      for (const [at, length] of ioVectors(run, iovs, count)) {
        const piece = run.gameFile.bytes.subarray(run.gamePosition, run.gamePosition + length);
        bytesAt(run, at, piece.length).set(piece);
        run.gamePosition += piece.length;
        total += piece.length;
      }
      view().setUint32(read, total, true);
      return 0;
    },
    fd_close: () => 0,
    fd_seek: () => WASI_ESPIPE,
    fd_fdstat_get: (fd, stat) => {
      const type = fileTypeOf(run, fd);
      if (type === 0) return WASI_EBADF;
      const v = view();
      v.setUint8(stat, type);
      v.setUint16(stat + 2, 0, true);
      v.setBigUint64(stat + 8, 0xffffffffffffffffn, true);
      v.setBigUint64(stat + 16, 0xffffffffffffffffn, true);
      return 0;
    },
    fd_filestat_get: (fd, stat) => {
      const type = fileTypeOf(run, fd);
      if (type === 0) return WASI_EBADF;
      bytesAt(run, stat, 64).fill(0);
      const v = view();
      v.setBigUint64(stat + 8, BigInt(fd), true);  // each its own file
      v.setUint8(stat + 16, type);
      v.setBigUint64(stat + 24, 1n, true);
      const size = fd === GAME_FILE_FD ? run.gameFile.bytes.length : 0;
      v.setBigUint64(stat + 32, BigInt(size), true);
      return 0;
    },
    fd_prestat_get: (fd, prestat) => {
      if (fd !== ROOT_FD) return WASI_EBADF;
      view().setUint8(prestat, 0);
      view().setUint32(prestat + 4, 1, true);
      return 0;
    },
    fd_prestat_dir_name: (fd, path, length) => {
      if (fd !== ROOT_FD || length < 1) return WASI_EINVAL;
      bytesAt(run, path, 1).set(encoder.encode('/'));
      return 0;
    },
    path_open: (dirFd, dirFlags, path, pathLength, openFlags, base, inheriting, fdFlags, opened) => {
      const asked = bytesAt(run, path, pathLength);
      if (dirFd !== ROOT_FD || !gamePath || !sameBytes(asked, gamePath)) return WASI_ENOENT;
      run.gamePosition = 0;
      view().setUint32(opened, GAME_FILE_FD, true);
      return 0;
    },
    proc_exit: (status) => {
      throw new ProgramEnd(status);
    },
  };
}

// The two calls that hand the program a list of strings, as its command
// line and its environment are handed: their count and bytes, then the
// strings, each ended by a zero, with a pointer to each.
function stringListCalls(run, strings) {
  const all = strings.map((s) => encoder.encode(s + '\0'));
  const sizes = (count, size) => {
    const v = new DataView(run.memory.buffer);
    v.setUint32(count, all.length, true);
    v.setUint32(size, all.reduce((sum, a) => sum + a.length, 0), true);
    return 0;
  };
  const get = (pointers, text) => {
    for (const [i, a] of all.entries()) {
      new DataView(run.memory.buffer).setUint32(pointers + 4 * i, text, true);
      bytesAt(run, text, a.length).set(a);
      text += a.length;
    }
    return 0;
  };
  return [sizes, get];
}

function fileTypeOf(run, fd) {
  if (fd >= 0 && fd <= 2) return FILETYPE_CHARACTER_DEVICE;
  if (fd === ROOT_FD) return FILETYPE_DIRECTORY;
  if (fd === GAME_FILE_FD && run.gameFile) return FILETYPE_REGULAR_FILE;
  return 0;
}

function ioVectors(run, iovs, count) {
  const v = new DataView(run.memory.buffer);
  const vectors = [];
  for (let i = 0; i < count; ++i) {
    vectors.push([v.getUint32(iovs + 8 * i, true), v.getUint32(iovs + 8 * i + 4, true)]);
  }
  return vectors;
}

function sameBytes(a, b) {
  return a.length === b.length && a.every((byte, i) => byte === b[i]);
}
