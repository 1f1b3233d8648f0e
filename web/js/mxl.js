// Compressed MusicXML: a zip archive whose META-INF/container.xml names the
// score. Unpacked with the browser's DecompressionStream, with the same
// limit as the desktop program's reader.

export const kMaxUnpacked = 64 * 1024 * 1024;

/** Whether `bytes` begin as a zip archive does. */
export function looksLikeZip(bytes) {
  return bytes.length >= 4 && bytes[0] === 0x50 && bytes[1] === 0x4b && bytes[2] === 3 && bytes[3] === 4;
}

// The archive's entries from its central directory: [{name, method, size, offset}].
function entries(bytes) {
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  let end = -1;
  for (let i = bytes.length - 22; i >= Math.max(0, bytes.length - 22 - 65535); --i) {
    if (view.getUint32(i, true) === 0x06054b50) {
      end = i;
      break;
    }
  }
  if (end < 0) throw new Error('not a zip archive');
  const count = view.getUint16(end + 10, true);
  let at = view.getUint32(end + 16, true);
  const list = [];
  for (let k = 0; k < count; ++k) {
    if (at + 46 > bytes.length || view.getUint32(at, true) !== 0x02014b50) throw new Error('broken zip directory');
    const nameLength = view.getUint16(at + 28, true);
    const name = new TextDecoder().decode(bytes.subarray(at + 46, at + 46 + nameLength));
    list.push({ name, method: view.getUint16(at + 10, true), packed: view.getUint32(at + 20, true), offset: view.getUint32(at + 42, true) });
    at += 46 + nameLength + view.getUint16(at + 30, true) + view.getUint16(at + 32, true);
  }
  return { list, view };
}

async function inflate(bytes, entry, view) {
  const at = entry.offset;
  if (at + 30 > bytes.length || view.getUint32(at, true) !== 0x04034b50) throw new Error('broken zip entry');
  const start = at + 30 + view.getUint16(at + 26, true) + view.getUint16(at + 28, true);
  const data = bytes.subarray(start, start + entry.packed);
  if (entry.method === 0) return data.slice();
  if (entry.method !== 8) throw new Error(`zip method ${entry.method}`);
  const reader = new Blob([data]).stream().pipeThrough(new DecompressionStream('deflate-raw')).getReader();
  const parts = [];
  let size = 0;
  for (let part = await reader.read(); !part.done; part = await reader.read()) {
    if ((size += part.value.length) > kMaxUnpacked) throw new Error('the score unpacks to too many bytes');
    parts.push(part.value);
  }
  const out = new Uint8Array(size);
  let offset = 0;
  for (const part of parts) out.set(part, (offset += part.length) - part.length);
  return out;
}

/** The score a compressed MusicXML file holds; throws saying what is wrong with the archive. */
export async function unpackMxl(bytes) {
  const { list, view } = entries(bytes);
  const container = list.find((e) => e.name === 'META-INF/container.xml');
  if (!container) throw new Error('no META-INF/container.xml');
  const text = new TextDecoder().decode(await inflate(bytes, container, view));
  const root = text.match(/<rootfile\b[^>]*\bfull-path\s*=\s*["']([^"']+)["']/);
  if (!root) throw new Error('the container names no score');
  const score = list.find((e) => e.name === root[1]);
  if (!score) throw new Error(`no ${root[1]} in the archive`);
  return inflate(bytes, score, view);
}
