// A work in a link: its input files packed, compressed with the browser's
// CompressionStream and written in the fragment, which never reaches a
// server. Reading one back checks every length and name: a damaged link
// gives an error, never a half-read work, and only the engines ever read
// what it held.
import { fromBase64Url, toBase64Url } from './bytes.js';
import { kInputNames } from './work.js';

export const kMaxLink = 64 * 1024;        // characters of fragment a link may carry
const kMaxUnpacked = 4 * 1024 * 1024;     // bytes a link may unpack to
const kPrefix = 'work=1.';

async function through(stream, bytes, limit) {
  const reader = new Blob([bytes]).stream().pipeThrough(stream).getReader();
  const parts = [];
  let size = 0;
  for (;;) {
    const { done, value } = await reader.read();
    if (done) break;
    size += value.length;
    if (size > limit) {
      await reader.cancel();
      throw new Error('too large');
    }
    parts.push(value);
  }
  const out = new Uint8Array(size);
  let at = 0;
  for (const part of parts) out.set(part, (at += part.length) - part.length);
  return out;
}

/** The fragment (without '#') that carries `work`'s input files. */
export async function workToFragment(work) {
  const names = Object.keys(work).filter((name) => kInputNames.includes(name)).sort();
  const head = new TextEncoder().encode(names.map((name) => `${name} ${work[name].length}\n`).join('') + '\n');
  const packed = new Uint8Array(head.length + names.reduce((sum, name) => sum + work[name].length, 0));
  packed.set(head);
  let at = head.length;
  for (const name of names) packed.set(work[name], (at += work[name].length) - work[name].length);
  return kPrefix + toBase64Url(await through(new CompressionStream('deflate-raw'), packed, Infinity));
}

/** Whether `fragment` (without '#') claims to carry a work. */
export function carriesWork(fragment) {
  return fragment.startsWith(kPrefix);
}

/** The work `fragment` carries; throws an Error saying what is wrong with a damaged one. */
export async function fragmentToWork(fragment) {
  if (!carriesWork(fragment)) throw new Error('not a work link');
  if (fragment.length > kMaxLink) throw new Error('too large');
  let packed;
  try {
    packed = await through(new DecompressionStream('deflate-raw'), fromBase64Url(fragment.slice(kPrefix.length)), kMaxUnpacked);
  } catch (error) {
    throw new Error(error.message === 'too large' ? 'too large' : 'not compressed data');
  }
  const end = findBlankLine(packed);
  if (end < 0) throw new Error('no list of files');
  const work = {};
  let at = end + 2;
  for (const line of new TextDecoder().decode(packed.subarray(0, end)).split('\n')) {
    const match = line.match(/^(\S+) (\d{1,8})$/);
    if (!match || !kInputNames.includes(match[1]) || work[match[1]]) throw new Error(`bad entry "${line.slice(0, 40)}"`);
    const size = Number(match[2]);
    if (at + size > packed.length) throw new Error('files cut short');
    work[match[1]] = packed.slice(at, (at += size));
  }
  if (at !== packed.length) throw new Error('bytes after the files');
  if (!work['incom.htm']) throw new Error('no incom.htm');
  return work;
}

// Where the list of files ends: the first empty line, or -1.
function findBlankLine(bytes) {
  for (let i = 0; i + 1 < bytes.length; ++i) if (bytes[i] === 10 && bytes[i + 1] === 10) return i;
  return -1;
}
