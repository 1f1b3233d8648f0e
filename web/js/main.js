// The page: the work, its grids, the jobs, the roll and the sound wired
// together. Automation face: ?example=NAME&run=compose|harmonize|all loads
// and runs an example; #console holds the console text (data-status the
// exit status); the roll's canvas carries data-notes and data-file; the
// body gets data-ready once the page can be used.
import { loadEngine } from './engine.js';
import { decode1252, encode1252 } from './bytes.js';
import { errorPlaces, readTables, writeCell } from './composition.js';
import { download, readPicked, saveFiles } from './files.js';
import { createGrid } from './grid.js';
import { createHistory } from './history.js';
import { browserLanguage, say, translatePage } from './i18n.js';
import { createMidiSender, midiOutputs } from './midi_out.js';
import { createPlayer } from './player.js';
import { createRoll } from './roll.js';
import { carriesWork, fragmentToWork, kMaxLink, workToFragment } from './share.js';
import { songOf } from './song.js';
import { createSynth } from './synth.js';
import { inputName, kExamples, loadExample, storedWork, storeWork, withFile } from './work.js';

const $ = (id) => document.getElementById(id);
const state = { lang: 'en', work: {}, results: {}, history: null, tables: [], engine: null, audio: null, midi: null };

const grid = createGrid($('grid'), {
  onEdit: (table, row, column, text) => edit(table, row, column, text),
  help: (kind, column) => state.engine?.columnHelp(kind, column, state.lang) ?? '',
});
const roll = createRoll($('roll'), $('roll-frame'), $('cursor'));
let player = null;

function tell(text, problem = false) {
  $('status').textContent = text;
  $('status').classList.toggle('problem', problem);
}

function showWork() {
  const source = decode1252(state.work['incom.htm'] ?? new Uint8Array());
  state.history = createHistory(source);
  state.tables = readTables(source);
  grid.show(state.tables);
  if (!state.work['incom.htm']) tell(say(state.lang, 'noComposition'), true);
}

function setComposition(source) {
  state.tables = readTables(source);
  state.work = withFile(state.work, 'incom.htm', encode1252(source));
  if (!storeWork(state.work)) tell(say(state.lang, 'storageFull'), true);
  grid.show(state.tables);
}

function showRoll(file) {
  const bytes = state.results[file];
  $('roll-file').value = file;
  // The tones file labels the harmonizer's notes, not the composer's.
  const layout = bytes && state.engine.roll(bytes, file === 'outar.mid' ? state.results['outar.tones'] : undefined);
  if (layout?.error) tell(`${file}: ${layout.error}`, true);
  const song = layout && !layout.error ? songOf(layout, bytes) : { notes: [], bars: [], length: 0 };
  roll.show(song, bytes ? file : '');
  return song;
}

/** Runs `command` on the work; a failed job keeps the last results and marks the cells its console names. */
async function run(command, options = {}) {
  const started = performance.now();
  const result = state.engine.run({ files: state.work, command, lang: state.lang, options });
  $('console').textContent = result.errors ? result.console + result.errors : result.console;
  $('console').dataset.status = String(result.status);
  grid.mark(errorPlaces(result.console, state.tables));
  if (result.status !== 0) return result;
  state.results = { ...state.results, ...result.files };
  const file = command === 'compose' || !state.results['outar.mid'] ? 'outco.mid' : 'outar.mid';
  const song = showRoll(file);
  if (player?.playing()) player.replace(song);
  performance.measure(`zelvo-${command}`, { start: started });
  return result;
}

async function edit(table, row, column, text) {
  const started = performance.now();
  const source = writeCell(state.history.current(), state.tables, table, row, column, text);
  state.history.push(source);
  setComposition(source);
  if ($('live').checked) {
    await run('all');
    performance.measure('zelvo-live-edit', { start: started });
  }
}

function stepHistory(step) {
  if (!step()) return;
  setComposition(state.history.current());
  if ($('live').checked) run('all');
}

async function openExample(name) {
  player?.stop();
  state.work = await loadExample(name, state.lang);
  state.results = {};
  storeWork(state.work);
  showWork();
  $('console').textContent = '';
  delete $('console').dataset.status;
  roll.show({ notes: [], bars: [], length: 0 }, '');
}

async function openPicked(files) {
  const opened = [];
  for (const { name, bytes } of await readPicked(files)) {
    const as = inputName(name);
    if (!as) {
      tell(say(state.lang, 'notWorkFile', name), true);
      continue;
    }
    state.work = withFile(state.work, as, bytes);
    opened.push(as);
  }
  storeWork(state.work);
  showWork();
  if (opened.length) tell(say(state.lang, 'opened', opened.join(', ')));
}

async function share() {
  const fragment = await workToFragment(state.work);
  if (fragment.length > kMaxLink) return tell(say(state.lang, 'linkTooLarge', fragment.length, kMaxLink), true);
  history.replaceState(null, '', `${location.pathname}${location.search}#${fragment}`);
  try {
    await navigator.clipboard.writeText(location.href);
    tell(say(state.lang, 'linkCopied'));
  } catch {
    tell(say(state.lang, 'linkReady'));
  }
}

async function downloadResult(name) {
  if (!name) return;
  let bytes = state.results[name];
  if (!bytes && name.endsWith('.musicxml')) {
    const notated = state.engine.run({ files: state.work, command: 'all', lang: state.lang, options: { notation: true } });
    bytes = notated.files[name];
  }
  if (bytes) download(name, bytes);
  else tell(say(state.lang, 'noResult'), true);
}

function audio() {
  state.audio ??= new AudioContext();
  state.audio.resume();
  return state.audio;
}

function play() {
  const song = showRoll($('roll-file').value);
  if (!song.notes.length) return tell(say(state.lang, 'noResult'), true);
  player?.stop();
  const context = audio();
  player = createPlayer({
    context, synth: state.midi ? null : createSynth(context), midi: state.midi, onTime: (t) => roll.cursorAt(t),
  });
  player.play(song, $('loop').checked);
}

async function chooseOutput(id) {
  player?.stop();
  const port = id ? (await midiOutputs()).find((o) => o.id === id) : null;
  state.midi = port ? createMidiSender(port.port) : null;
}

async function listOutputs() {
  const outputs = await midiOutputs();
  for (const output of outputs) $('output').append(new Option(output.name, output.id));
}

function setLanguage(lang) {
  state.lang = lang;
  localStorage.setItem('zelvo.lang', lang);
  $('language').value = lang;
  translatePage(document, lang);
  const template = $('examples').querySelector('option[value="Template"]');
  if (template) template.textContent = say(lang, 'template');
  grid.show(state.tables);
}

function wire() {
  for (const name of kExamples) $('examples').append(new Option(name === 'Template' ? say(state.lang, 'template') : name, name));
  $('examples').onchange = () => openExample($('examples').value);
  $('open').onclick = () => $('open-files').click();
  $('open-files').onchange = () => openPicked($('open-files').files);
  $('save').onclick = async () => tell(say(state.lang, 'saved', (await saveFiles(state.work)).join(', ')));
  $('share').onclick = share;
  $('undo').onclick = () => stepHistory(state.history.undo);
  $('redo').onclick = () => stepHistory(state.history.redo);
  for (const command of ['compose', 'harmonize', 'all']) $(command).onclick = () => run(command);
  $('language').onchange = () => setLanguage($('language').value);
  $('play').onclick = play;
  $('stop').onclick = () => player?.stop();
  $('loop').onchange = () => player?.setLoop($('loop').checked);
  $('output').onfocus = listOutputs;
  $('output').onchange = () => chooseOutput($('output').value);
  $('roll-file').onchange = () => showRoll($('roll-file').value);
  $('zoom-in').onclick = () => roll.zoom(1.5);
  $('zoom-out').onclick = () => roll.zoom(1 / 1.5);
  $('download').onchange = () => downloadResult($('download').value).finally(() => ($('download').value = ''));
  document.addEventListener('keydown', (event) => {
    if (!(event.ctrlKey || event.metaKey) || event.target.tagName === 'INPUT') return;
    if (event.key === 'z') stepHistory(state.history.undo);
    if (event.key === 'y') stepHistory(state.history.redo);
  });
}

async function start() {
  const query = new URLSearchParams(location.search);
  setLanguage(query.get('lang') ?? localStorage.getItem('zelvo.lang') ?? browserLanguage());
  wire();
  tell(say(state.lang, 'loading'));
  try {
    state.engine = await loadEngine();
  } catch (error) {
    return tell(say(state.lang, 'engineFailed', error.message), true);
  }
  const fragment = location.hash.slice(1);
  let problem = '';
  if (carriesWork(fragment)) {
    try {
      state.work = await fragmentToWork(fragment);
      storeWork(state.work);
      // Kept in storage from now on: a reload opens the work as edited since.
      history.replaceState(null, '', location.pathname + location.search);
    } catch (error) {
      problem = say(state.lang, 'linkDamaged', error.message);
    }
  }
  let example = kExamples.includes(query.get('example')) ? query.get('example') : '';
  if (example) await openExample(example);
  else if (!state.work['incom.htm']) {
    const kept = storedWork();
    if (kept) state.work = kept;
    else await openExample((example = 'demo'));
  }
  $('examples').value = example;
  showWork();
  tell(problem || say(state.lang, 'ready'), Boolean(problem));
  performance.mark('zelvo-ready');
  document.body.dataset.ready = '1';
  const command = query.get('run');
  if (['compose', 'harmonize', 'all'].includes(command)) await run(command);
  document.body.dataset.ran = command ?? '';
}

start();
