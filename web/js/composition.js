// The composition file as tables of cells, read from its HTML and written
// back into it: only the text of an edited cell changes, every other byte of
// the markup stays as the author's editor wrote it.

const kTag = /<!--[\s\S]*?-->|<(\/?)(table|tr|td|th)\b[^>]*>/gi;
const kNamed = { amp: '&', lt: '<', gt: '>', quot: '"', apos: "'", nbsp: '\u00a0' };
const kPadding = /^(?:\s|&nbsp;|&#160;|\u00a0|<[^>]*>)*/i;
const kPaddingEnd = /(?:\s|&nbsp;|&#160;|\u00a0|<[^>]*>)*$/i;

/** The text a cell's inner HTML shows: tags dropped, entities decoded, padding trimmed. */
export function cellText(inner) {
  const plain = inner.replace(/<[^>]*>/g, '').replace(/&(#x[0-9a-f]+|#\d+|[a-z]+\d*);/gi, (whole, name) => {
    if (name[0] === '#') {
      const code = name[1] === 'x' || name[1] === 'X' ? parseInt(name.slice(2), 16) : parseInt(name.slice(1), 10);
      return code > 0 && code < 0x110000 ? String.fromCodePoint(code) : whole;
    }
    if (kNamed[name.toLowerCase()] !== undefined) return kNamed[name.toLowerCase()];
    // Rarer names: an inert document decodes them; nothing in it runs.
    return new DOMParser().parseFromString(`<p>${whole}</p>`, 'text/html').body.textContent;
  });
  return plain.replace(/[\s\u00a0]+/g, ' ').trim();
}

/** Escapes text for a cell's HTML. */
export function escapeCell(text) {
  return text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
}

/** The tables of `source`: [{kind, label, rows: [[{text, start, end}]]}], spans being the cells' inner HTML. */
export function readTables(source) {
  const tables = [];
  let table = null;
  let row = null;
  let cell = null;
  const closeCell = (at) => {
    if (cell) {
      cell.end = at;
      cell.text = cellText(source.slice(cell.start, at));
      cell = null;
    }
  };
  for (const match of source.matchAll(kTag)) {
    if (!match[2]) continue;
    const [whole, slash, name] = match;
    const tag = name.toLowerCase();
    const at = match.index;
    if (tag === 'table') {
      closeCell(at);
      row = null;
      if (!slash) tables.push((table = { rows: [] }));
      else table = null;
    } else if (!table) {
      continue;
    } else if (tag === 'tr') {
      closeCell(at);
      row = slash ? null : [];
      if (row) table.rows.push(row);
    } else {
      closeCell(at);
      if (slash) continue;
      if (!row) table.rows.push((row = []));
      row.push((cell = { start: at + whole.length, end: -1, text: '' }));
    }
  }
  closeCell(source.length);
  const counts = {};
  for (const t of tables) {
    const first = t.rows[0]?.[0]?.text ?? '';
    t.kind = /^(TCONF|TCAL|TGENC|TGENS|TSAL|libre|free)$/i.test(first) ? first.toUpperCase() : '';
    const key = t.kind || '#';
    counts[key] = (counts[key] ?? 0) + 1;
    t.place = counts[key];
  }
  for (const t of tables) {
    const many = counts[t.kind || '#'] > 1;
    t.label = t.kind ? (many ? `${t.kind}#${t.place}` : t.kind) : `#${tables.indexOf(t) + 1}`;
  }
  return tables;
}

/** `source` with cell [table][row][column] holding `text`, its padding and outer markup kept. */
export function writeCell(source, tables, table, row, column, text) {
  const cell = tables[table]?.rows[row]?.[column];
  if (!cell) throw new RangeError(`no cell ${table}:${row}:${column}`);
  const inner = source.slice(cell.start, cell.end);
  const lead = inner.match(kPadding)[0];
  const rest = inner.slice(lead.length);
  const trail = rest.match(kPaddingEnd)[0];
  return source.slice(0, cell.start) + lead + escapeCell(text) + rest.slice(rest.length - trail.length) + source.slice(cell.end);
}

const kPlace = /(?:table|tabla) ([A-Za-z]+)(?:#(\d+))?, (?:row|fila|linea) (\d+)(?:, (?:column|columna) (\d+))?/;
const kProcessing = /^\s*(?:Processing table|Procesando la tabla) ([A-Za-z]+)/;

/**
 * The cells a console's messages name: [{table, row, column, message}] with `table` an index into `tables`.
 * A name shared by several tables is the one the console last said it was processing.
 */
export function errorPlaces(consoleText, tables) {
  const places = [];
  let processed = {};
  let inBlock = false;
  for (const line of consoleText.split(/\r?\n/)) {
    const processing = line.match(kProcessing);
    if (processing) {
      if (!inBlock) processed = {};
      inBlock = true;
      const kind = processing[1].toUpperCase();
      processed[kind] = (processed[kind] ?? 0) + 1;
      continue;
    }
    if (line.trim() !== '') inBlock = false;
    const found = line.match(kPlace);
    if (!found) continue;
    const kind = found[1].toUpperCase();
    const wanted = found[2] ? Number(found[2]) : processed[kind] ?? 1;
    const table = tables.findIndex((t) => t.kind === kind && t.place === wanted);
    if (table < 0) continue;
    places.push({ table, row: Number(found[3]), column: found[4] === undefined ? -1 : Number(found[4]), message: line.trim() });
  }
  return places;
}
