// What a terminal driver does between the keyboard and the program, for
// the page's terminal: lines are typed and edited in cooked mode (echoed,
// Backspace and Ctrl+U erase, Enter ends the line, Ctrl+D ends the input,
// Ctrl+C interrupts) and given to the program whole; a key read takes
// the bytes as they come (raw mode). As at a POSIX terminal the mode is
// raw only while the program reads keys: bytes that arrive in raw mode
// and are not read as keys are edited into the next line.

const ENTER = 0x0d;
const LINE_FEED = 0x0a;
const BACKSPACE = 0x7f;
const CTRL_C = 0x03;
const CTRL_D = 0x04;
const CTRL_U = 0x15;
const TAB = 0x09;

// The status of a process ended by Ctrl+C (SIGINT), as a shell reports it.
export const INTERRUPTED_STATUS = 130;

// A terminal's input. `echo(bytes)` shows bytes on the screen;
// `interrupt()` is called for Ctrl+C in cooked mode.
export function makeTerminalInput(echo, interrupt) {
  return {
    echo,
    interrupt,
    raw: false,
    rawBytes: [],    // typed in raw mode, not yet read
    line: [],        // the line being edited, as [bytes of one character]
    lines: [],       // ended lines not yet read, as byte arrays; [] ends the input
    waiter: null,    // the read waiting for input: {wake()}
  };
}

// Bytes from the keyboard.
export function typeBytes(input, bytes) {
  if (input.raw) {
    input.rawBytes.push(...bytes);
  } else {
    editLine(input, bytes);
  }
  wakeWaiter(input);
}

// The next line, its line end included (cut to capacity; the rest comes
// with the next read); an empty array once the input has ended. Returns
// the line, or a promise of it when none has been ended yet.
export function readLine(input, capacity) {
  if (input.raw) {
    input.raw = false;
    const typed = input.rawBytes.splice(0);
    editLine(input, typed);
  }
  if (input.lines.length > 0) return takeLine(input, capacity);
  return waitFor(input, () => input.lines.length > 0, () => takeLine(input, capacity));
}

// The next byte in raw mode, or a promise of it; -1 when none arrives
// within timeoutMs (a negative timeout waits as long as it takes).
export function readByte(input, timeoutMs) {
  if (!input.raw) {
    // What was typed in cooked mode and not yet read is read as keys now,
    // as a terminal driver gives it when its mode turns raw.
    input.raw = true;
    input.rawBytes.unshift(...input.lines.flat(), ...input.line.flat());
    input.lines = [];
    input.line = [];
  }
  if (input.rawBytes.length > 0) return input.rawBytes.shift();
  if (timeoutMs === 0) return -1;
  return waitFor(input, () => input.rawBytes.length > 0, () => input.rawBytes.shift(), timeoutMs);
}

// Ends whatever read is waiting, with `reason` as its failure.
export function abandonReads(input, reason) {
  if (input.waiter) input.waiter.fail(reason);
}

function waitFor(input, ready, take, timeoutMs = -1) {
  return new Promise((resolve, reject) => {
    let timer = null;
    const settle = (action) => {
      if (timer !== null) clearTimeout(timer);
      input.waiter = null;
      action();
    };
    input.waiter = {
      wake: () => {
        if (ready()) settle(() => resolve(take()));
      },
      fail: (reason) => settle(() => reject(reason)),
    };
    if (timeoutMs >= 0) timer = setTimeout(() => settle(() => resolve(-1)), timeoutMs);
  });
}

function wakeWaiter(input) {
  if (input.waiter) input.waiter.wake();
}

function takeLine(input, capacity) {
  const line = input.lines[0];
  if (line.length <= capacity) return new Uint8Array(input.lines.shift());
  input.lines[0] = line.slice(capacity);
  return new Uint8Array(line.slice(0, capacity));
}

// The line discipline, byte by byte. A character of several bytes (UTF-8)
// is erased as one.
function editLine(input, bytes) {
  for (const byte of bytes) {
    if (byte === ENTER || byte === LINE_FEED) {
      endLine(input, [LINE_FEED]);
    } else if (byte === BACKSPACE) {
      eraseCharacters(input, 1);
    } else if (byte === CTRL_U) {
      eraseCharacters(input, input.line.length);
    } else if (byte === CTRL_D) {
      // An empty line at Ctrl+D is the end of the input.
      if (input.line.length === 0) input.lines.push([]);
      else endLine(input, []);
    } else if (byte === CTRL_C) {
      input.line = [];
      input.echo(caretForm(byte));
      input.interrupt();
    } else {
      addByte(input, byte);
    }
  }
}

function endLine(input, ending) {
  input.lines.push([...input.line.flat(), ...ending]);
  input.line = [];
  if (ending.length > 0) input.echo([ENTER, LINE_FEED]);
}

function addByte(input, byte) {
  const last = input.line[input.line.length - 1];
  if (byte >= 0x80 && byte < 0xc0 && last && last[0] >= 0xc0 && last.length < sequenceLength(last[0])) {
    last.push(byte);  // a continuation byte belongs to the character before it
  } else {
    input.line.push([byte]);
  }
  input.echo(isControl(byte) ? caretForm(byte) : [byte]);
}

function sequenceLength(lead) {
  if (lead >= 0xf0) return 4;
  if (lead >= 0xe0) return 3;
  return 2;
}

function eraseCharacters(input, count) {
  for (let i = 0; i < count && input.line.length > 0; ++i) {
    const character = input.line.pop();
    const width = isControl(character[0]) ? 2 : 1;
    for (let w = 0; w < width; ++w) input.echo([0x08, 0x20, 0x08]);
  }
}

// Control codes are shown as ^X, as a terminal with echoctl shows them
// (Tab is shown as itself).
function isControl(byte) {
  return (byte < 0x20 && byte !== TAB) || byte === BACKSPACE;
}

function caretForm(byte) {
  return [0x5e, byte === BACKSPACE ? 0x3f : byte + 0x40];
}
