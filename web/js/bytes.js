// Bytes at the page's edge: the work's text files are Windows-1252, links
// carry base64url, and a work is stored as text.

// Windows-1252 bytes 0x80-0x9F as Unicode (0 where the byte is undefined).
const kHigh = [0x20ac, 0, 0x201a, 0x192, 0x201e, 0x2026, 0x2020, 0x2021, 0x2c6, 0x2030, 0x160, 0x2039, 0x152, 0, 0x17d, 0,
  0, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014, 0x2dc, 0x2122, 0x161, 0x203a, 0x153, 0, 0x17e, 0x178];

/** Decodes Windows-1252 bytes into a string (undefined bytes map to U+0080-U+009F). */
export function decode1252(bytes) {
  let text = '';
  for (let i = 0; i < bytes.length; i += 8192) {
    const part = Array.from(bytes.subarray(i, i + 8192), (b) => (b >= 0x80 && b < 0xa0 && kHigh[b - 0x80]) || b);
    text += String.fromCharCode(...part);
  }
  return text;
}

/** Encodes a string as Windows-1252 bytes; characters it lacks become '?'. */
export function encode1252(text) {
  const out = new Uint8Array(text.length);
  for (let i = 0; i < text.length; ++i) {
    const c = text.charCodeAt(i);
    const high = c >= 0x100 ? kHigh.indexOf(c) : -1;
    out[i] = c < 0x80 || (c >= 0xa0 && c < 0x100) ? c : high >= 0 ? 0x80 + high : c < 0xa0 && !kHigh[c - 0x80] ? c : 0x3f;
  }
  return out;
}

/** Base64url without padding of `bytes`. */
export function toBase64Url(bytes) {
  let binary = '';
  for (let i = 0; i < bytes.length; i += 8192) binary += String.fromCharCode(...bytes.subarray(i, i + 8192));
  return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

/** The bytes of base64url (or base64) text; throws on characters outside the alphabet. */
export function fromBase64Url(text) {
  const binary = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
  return Uint8Array.from(binary, (c) => c.charCodeAt(0));
}

/** Whether two byte arrays hold the same bytes. */
export function sameBytes(a, b) {
  if (!a || !b || a.length !== b.length) return false;
  for (let i = 0; i < a.length; ++i) if (a[i] !== b[i]) return false;
  return true;
}
