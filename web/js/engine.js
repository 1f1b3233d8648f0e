// The engines in the page: the WebAssembly module (zelvo-engine.js, built by
// `make web`) behind a small interface. Every job runs the native program's
// command line on a work folder in the module's memory, so its console text,
// exit status and files are the desktop program's to the byte.
import createZelvoModule from './zelvo-engine.js';

const WORK = '/work';
const SCRATCH = '/scratch';
const decoder = new TextDecoder();
const encoder = new TextEncoder();

// The job commands and the arguments they take after --work and --lang.
const JOBS = new Set(['compose', 'harmonize', 'all']);

function sameBytes(a, b) {
  if (!b || a.length !== b.length) return false;
  for (let i = 0; i < a.length; i++) if (a[i] !== b[i]) return false;
  return true;
}

class Engine {
  #module = null;
  #out = [];
  #err = [];

  // Loads (or, after the module stopped on a fault, reloads) the module.
  async start() {
    this.#module = await createZelvoModule({
      // Every byte the program writes, unbuffered, so that the console text
      // keeps a last line without its newline.
      stdout: (byte) => { if (byte !== null) this.#out.push(byte & 255); },
      stderr: (byte) => { if (byte !== null) this.#err.push(byte & 255); },
      print: () => {},
      printErr: () => {},
    });
    return this;
  }

  // Runs one command line; {console, errors, status}. A fault that stops
  // the module (memory exhausted) gives status -1 and loads it afresh, for
  // the calls after.
  #command(args) {
    const m = this.#ready();
    this.#out = [];
    this.#err = [];
    const words = ['zelvo', ...args];
    const pointers = words.map((word) => {
      const size = m.lengthBytesUTF8(word) + 1;
      const pointer = m._malloc(size);
      m.stringToUTF8(word, pointer, size);
      return pointer;
    });
    const argv = m._malloc(4 * (pointers.length + 1));
    pointers.forEach((pointer, i) => m.setValue(argv + 4 * i, pointer, 'i32'));
    m.setValue(argv + 4 * pointers.length, 0, 'i32');
    let status;
    try {
      status = m._zelvo_command(words.length, argv);
      pointers.forEach((pointer) => m._free(pointer));
      m._free(argv);
    } catch (fault) {
      this.#module = null;
      this.start().catch(() => {});
      this.#err.push(...encoder.encode(`zelvo: the engine stopped: ${fault}\n`));
      status = -1;
    }
    return {
      console: decoder.decode(new Uint8Array(this.#out)),
      errors: decoder.decode(new Uint8Array(this.#err)),
      status,
    };
  }

  #ready() {
    if (!this.#module) throw new Error('the engine is loading again after a fault: try once more');
    return this.#module;
  }

  #emptyFolder(folder) {
    const fs = this.#module.FS;
    const walk = (path) => {
      for (const name of fs.readdir(path)) {
        if (name === '.' || name === '..') continue;
        const child = `${path}/${name}`;
        if (fs.isDir(fs.stat(child).mode)) {
          walk(child);
          fs.rmdir(child);
        } else {
          fs.unlink(child);
        }
      }
    };
    fs.mkdirTree(folder);
    walk(folder);
  }

  #writeFiles(folder, files) {
    const fs = this.#module.FS;
    for (const [name, bytes] of Object.entries(files || {})) {
      const path = `${folder}/${name}`;
      const slash = path.lastIndexOf('/');
      fs.mkdirTree(path.slice(0, slash));
      fs.writeFile(path, bytes instanceof Uint8Array ? bytes : encoder.encode(String(bytes)));
    }
  }

  #readFiles(folder, prefix = '') {
    const fs = this.#module.FS;
    const files = {};
    for (const name of fs.readdir(folder)) {
      if (name === '.' || name === '..') continue;
      const path = `${folder}/${name}`;
      if (fs.isDir(fs.stat(path).mode)) {
        Object.assign(files, this.#readFiles(path, `${prefix}${name}/`));
      } else {
        files[prefix + name] = fs.readFile(path);
      }
    }
    return files;
  }

  // run({files, command, lang, options}) -> {console, errors, status, files}:
  // one job on the work's files ({name: Uint8Array}); command is compose,
  // harmonize, all or check; lang en or es; options.notation also writes the
  // results as MusicXML (options.grid: 16, 8t, 32 or exact). `files` holds
  // every file the job wrote or changed.
  run({ files = {}, command, lang = 'en', options = {} }) {
    this.#ready();
    let args;
    if (command === 'check') {
      args = ['--lang', lang, 'check', '--work', WORK];
    } else if (JOBS.has(command)) {
      args = ['--work', WORK, '--lang', lang];
      if (options.notation) args.push('--notation');
      if (options.notation && options.grid) args.push('--grid', String(options.grid));
      args.push(command);
    } else {
      throw new Error(`unknown command ${command}`);
    }
    this.#emptyFolder(WORK);
    this.#writeFiles(WORK, files);
    const result = this.#command(args);
    const written = {};
    if (this.#module) {
      for (const [name, bytes] of Object.entries(this.#readFiles(WORK))) {
        const given = files[name];
        if (!sameBytes(bytes, given instanceof Uint8Array ? given : given && encoder.encode(String(given)))) {
          written[name] = bytes;
        }
      }
    }
    return { ...result, files: written };
  }

  // roll(midiBytes, tonesBytes?) -> the roll's layout (app/web/roll_json.h):
  // {division, endTick, endSeconds, lowest, highest, channels, notes:
  // [{channel, pitch, start, end, velocity, tone, given, startSeconds,
  // endSeconds}], bars, held}, or {error} for a file that cannot be read.
  roll(midiBytes, tonesBytes = new Uint8Array(0)) {
    const m = this.#ready();
    const midi = m._malloc(midiBytes.length + 1);
    const tones = m._malloc(tonesBytes.length + 1);
    m.HEAPU8.set(midiBytes, midi);
    m.HEAPU8.set(tonesBytes, tones);
    const text = m._zelvo_roll(midi, midiBytes.length, tones, tonesBytes.length);
    m._free(midi);
    m._free(tones);
    const json = m.UTF8ToString(text);
    m._free(text);
    return JSON.parse(json);
  }

  // columnHelp(kind, column, lang) -> what column `column` (from 0) of a
  // table of kind TCONF, TCAL, TSAL, TGENC or TGENS means ('' for none), in
  // English or Spanish, as the desktop's editor shows it.
  columnHelp(kind, column, lang = 'en') {
    const m = this.#ready();
    const size = m.lengthBytesUTF8(kind) + 1;
    const name = m._malloc(size);
    m.stringToUTF8(kind, name, size);
    const text = m._zelvo_column_help(name, column, lang === 'es' ? 1 : 0);
    m._free(name);
    const help = m.UTF8ToString(text);
    m._free(text);
    return help;
  }

  // notate(midiBytes, {grid}) -> {console, errors, status, xml}: a MIDI file
  // as MusicXML (xml: Uint8Array, absent when the command failed).
  notate(midiBytes, { grid } = {}) {
    this.#ready();
    this.#emptyFolder(SCRATCH);
    this.#writeFiles(SCRATCH, { 'in.mid': midiBytes });
    const args = ['notate', `${SCRATCH}/in.mid`, '-o', `${SCRATCH}/out.musicxml`];
    if (grid) args.push('--grid', String(grid));
    const result = this.#command(args);
    const files = this.#module ? this.#readFiles(SCRATCH) : {};
    return { ...result, xml: files['out.musicxml'] };
  }

  // chords(name, scoreBytes, {firstPart}) -> {console, errors, status,
  // harmony}: the harmony file of a lead sheet's chord symbols (name is the
  // score's file name, whose ending tells .musicxml, .xml or .mxl).
  chords(name, scoreBytes, { firstPart } = {}) {
    this.#ready();
    this.#emptyFolder(SCRATCH);
    const base = name.replace(/^.*[\\/]/, '');
    this.#writeFiles(SCRATCH, { [base]: scoreBytes });
    const args = ['chords', `${SCRATCH}/${base}`, '-o', `${SCRATCH}/harmony.out`];
    if (firstPart) args.push('--first-part', String(firstPart));
    const result = this.#command(args);
    const files = this.#module ? this.#readFiles(SCRATCH) : {};
    return { ...result, harmony: files['harmony.out'] };
  }
}

// loadEngine() -> Engine: the module loaded and ready.
export async function loadEngine() {
  return new Engine().start();
}
