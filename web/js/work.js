// The work: the input files a job reads, by name, as bytes. It is kept in
// the browser's storage, filled from an example or from the user's files.
import { fromBase64Url, toBase64Url } from './bytes.js';

export const kExamples = ['demo', 'first-piece', 'canon', 'generative', 'four-voices', 'Template'];
const kScores = ['inmus.xml', 'inmus.mxl', 'inmus.mid'];
/** The names a work's input files may have. */
export const kInputNames = ['incom.htm', 'conar.txt', 'inarm.xml', 'insec.xml', ...kScores];
const kExampleFiles = ['incom.htm', 'incom_eng.htm', 'incom_spa.htm', 'conar.txt', 'inarm.xml', 'insec.xml', ...kScores];
const kStorageKey = 'zelvo.work';

/** The work's name for a file the user opened (null when it is none of a work's files). */
export function inputName(fileName) {
  const name = fileName.toLowerCase();
  if (kInputNames.includes(name)) return name;
  if (/^incom.*\.html?$/.test(name)) return 'incom.htm';
  if (/\.(musicxml|xml)$/.test(name)) return 'inmus.xml';
  if (name.endsWith('.mxl')) return 'inmus.mxl';
  if (/\.midi?$/.test(name)) return 'inmus.mid';
  return null;
}

/** `work` with `bytes` as the file `name`; a score replaces the score in another form. */
export function withFile(work, name, bytes) {
  const next = { ...work };
  if (kScores.includes(name)) for (const score of kScores) delete next[score];
  next[name] = bytes;
  return next;
}

/** Fetches example `name` from the examples/ folder beside the page; the Template's composition follows `lang`. */
export async function loadExample(name, lang) {
  if (!kExamples.includes(name)) throw new Error(`no example ${name}`);
  const work = {};
  await Promise.all(kExampleFiles.map(async (file) => {
    const answer = await fetch(`examples/${name}/${file}`);
    if (answer.ok) work[file] = new Uint8Array(await answer.arrayBuffer());
  }));
  const own = work[lang === 'es' ? 'incom_spa.htm' : 'incom_eng.htm'];
  if (!work['incom.htm'] && own) work['incom.htm'] = own;
  for (const file of Object.keys(work)) if (!kInputNames.includes(file)) delete work[file];
  if (!work['incom.htm']) throw new Error(`example ${name} has no incom.htm`);
  return work;
}

/** Keeps `work` in the browser's storage; false when the storage refuses it (full or off). */
export function storeWork(work, storage = localStorage) {
  const kept = {};
  for (const [name, bytes] of Object.entries(work)) kept[name] = toBase64Url(bytes);
  try {
    storage.setItem(kStorageKey, JSON.stringify(kept));
    return true;
  } catch {
    return false;
  }
}

/** The work kept in the browser's storage, or null. */
export function storedWork(storage = localStorage) {
  try {
    const kept = JSON.parse(storage.getItem(kStorageKey) ?? 'null');
    if (!kept || typeof kept !== 'object') return null;
    const work = {};
    for (const [name, text] of Object.entries(kept)) if (kInputNames.includes(name)) work[name] = fromBase64Url(text);
    return work['incom.htm'] ? work : null;
  } catch {
    return null;
  }
}
