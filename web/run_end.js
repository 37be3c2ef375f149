// What the page says when a run ends: the program's exit status is the
// first code of the key that ended it, which a person knows by the key's
// name, not by its code. Each function takes the texts of the page's
// language (page_texts.js).
import {ENGLISH, say} from './page_texts.js';

// The bytes xterm sends for the keys that have names.
const NAMED_KEYS = {
  '\x1b': 'Esc', '\r': 'Enter', '\t': 'Tab', ' ': 'Space', '\x7f': 'Backspace',
  '\x1bOP': 'F1', '\x1bOQ': 'F2', '\x1bOR': 'F3', '\x1bOS': 'F4',
  '\x1b[15~': 'F5', '\x1b[17~': 'F6', '\x1b[18~': 'F7', '\x1b[19~': 'F8',
  '\x1b[20~': 'F9', '\x1b[21~': 'F10', '\x1b[23~': 'F11', '\x1b[24~': 'F12',
  '\x1b[A': 'Up', '\x1b[B': 'Down', '\x1b[C': 'Right', '\x1b[D': 'Left',
  '\x1b[H': 'Home', '\x1b[F': 'End', '\x1b[2~': 'Insert', '\x1b[3~': 'Delete',
  '\x1b[5~': 'Page Up', '\x1b[6~': 'Page Down',
};

const decoder = new TextDecoder();

// The name of the key whose bytes these are: "q", "é", "Esc", "F1",
// "Alt+q", "Ctrl+C"; bytes no key sends are shown in caret form. The
// names a keyboard does not print on its keys are in the page's language.
export function keyName(bytes, texts = ENGLISH) {
  const text = decoder.decode(Uint8Array.from(bytes));
  if (text in NAMED_KEYS) {
    const name = NAMED_KEYS[text];
    return `key.${name}` in texts ? texts[`key.${name}`] : name;
  }
  const characters = [...text];
  if (characters.length === 2 && characters[0] === '\x1b') {
    return `Alt+${keyName(encode(characters[1]), texts)}`;
  }
  if (characters.length !== 1) return [...bytes].map(caretForm).join('');
  const code = text.codePointAt(0);
  if (code < 0x20) return `Ctrl+${String.fromCharCode(code + 0x40)}`;
  return text;
}

function encode(text) {
  return new TextEncoder().encode(text);
}

function caretForm(byte) {
  if (byte < 0x20) return `^${String.fromCharCode(byte + 0x40)}`;
  if (byte === 0x7f) return '^?';
  return String.fromCharCode(byte);
}

// Whether `status` is the exit status the program gives for the key of
// these bytes: its one code (a character of the first 256 is its own
// code), or the lead code 0 or 224 of a key of two codes.
function endedByKey(status, bytes) {
  if (bytes.length === 0) return false;
  const characters = [...decoder.decode(Uint8Array.from(bytes))];
  if (characters.length === 1 && characters[0].codePointAt(0) < 256) {
    return status === characters[0].codePointAt(0);
  }
  return status === 0 || status === 0xe0;
}

// The other statuses the program ends with: the key of what each means.
const STATUS_MEANINGS = {1: 'status1', 2: 'status2', 130: 'status130'};

// The sentence of the run's end. `keyBytes` are the bytes of the last key
// the program read, if it read one since its last line.
export function endSentence(status, keyBytes, texts = ENGLISH) {
  if (endedByKey(status, keyBytes)) {
    return say(texts, 'endedWithKey', {key: keyName(keyBytes, texts), status});
  }
  const meaning = STATUS_MEANINGS[status];
  if (meaning) return say(texts, 'endedFor', {meaning: texts[meaning], status});
  return say(texts, 'ended', {status});
}
