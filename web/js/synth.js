// The built-in synthesizer: a few WebAudio nodes per note, one timbre per
// General MIDI family, drums from filtered noise, all into one compressor so
// that many voices never clip. It plays into a live AudioContext or renders
// a whole song into an OfflineAudioContext.

// One row per family of eight programs: wave, attack, decay, sustain level, release (s), filter cutoff (Hz).
const kFamilies = [
  ['triangle', 0.005, 0.6, 0.25, 0.25, 5000],  // piano
  ['sine', 0.002, 0.4, 0.1, 0.3, 8000],        // chromatic percussion
  ['square', 0.01, 0.05, 0.9, 0.08, 2500],     // organ
  ['sawtooth', 0.003, 0.5, 0.15, 0.2, 2200],   // guitar
  ['triangle', 0.005, 0.3, 0.6, 0.1, 900],     // bass
  ['sawtooth', 0.12, 0.2, 0.85, 0.35, 3000],   // strings
  ['sawtooth', 0.15, 0.2, 0.85, 0.4, 2600],    // ensemble
  ['sawtooth', 0.03, 0.1, 0.8, 0.12, 4500],    // brass
  ['square', 0.02, 0.1, 0.8, 0.1, 3200],       // reed
  ['sine', 0.04, 0.1, 0.85, 0.15, 6000],       // pipe
  ['square', 0.005, 0.1, 0.7, 0.1, 6000],      // synth lead
  ['sawtooth', 0.3, 0.3, 0.8, 0.6, 1800],      // synth pad
  ['triangle', 0.1, 0.3, 0.6, 0.5, 4000],      // synth effects
  ['sawtooth', 0.004, 0.4, 0.2, 0.2, 3500],    // ethnic
  ['sine', 0.001, 0.25, 0.0, 0.1, 5000],       // percussive
  ['square', 0.01, 0.3, 0.3, 0.2, 1500],       // sound effects
];
const kDrumChannel = 9;

/** The timbre of General MIDI program 0-127: {wave, attack, decay, sustain, release, cutoff}. */
export function timbre(program) {
  const [wave, attack, decay, sustain, release, cutoff] = kFamilies[(program >> 3) & 15];
  return { wave, attack, decay, sustain, release, cutoff };
}

/** The frequency in Hz of MIDI pitch `pitch` (equal temperament, A4 = 440 Hz). */
export function frequency(pitch) {
  return 440 * 2 ** ((pitch - 69) / 12);
}

/** A synthesizer on `context`: play(note) schedules one note {channel, pitch, velocity, at, until, program}; stop() silences all. */
export function createSynth(context) {
  const out = context.createDynamicsCompressor();
  out.threshold.value = -18;
  out.ratio.value = 4;
  const master = context.createGain();
  master.gain.value = 0.5;
  out.connect(master).connect(context.destination);
  let noise = null;
  const voices = new Set();

  const noiseBuffer = () => {
    if (noise) return noise;
    noise = context.createBuffer(1, context.sampleRate, context.sampleRate);
    const data = noise.getChannelData(0);
    let seed = 1;
    for (let i = 0; i < data.length; ++i) data[i] = ((seed = (seed * 16807) % 2147483647) / 1073741823.5) - 1;
    return noise;
  };
  const track = (source, at, until) => {
    const voice = { source };
    voices.add(voice);
    source.onended = () => voices.delete(voice);
    source.start(at);
    source.stop(until);
  };

  const drum = (note, level) => {
    const gain = context.createGain();
    const low = note.pitch <= 36;
    const length = low ? 0.3 : note.pitch >= 42 && note.pitch <= 46 ? (note.pitch === 46 ? 0.35 : 0.08) : 0.2;
    gain.gain.setValueAtTime(level, note.at);
    gain.gain.exponentialRampToValueAtTime(0.001, note.at + length);
    if (low) {
      const body = context.createOscillator();
      body.frequency.setValueAtTime(120, note.at);
      body.frequency.exponentialRampToValueAtTime(45, note.at + length);
      body.connect(gain).connect(out);
      track(body, note.at, note.at + length);
      return;
    }
    const source = context.createBufferSource();
    source.buffer = noiseBuffer();
    const band = context.createBiquadFilter();
    band.type = note.pitch >= 42 ? 'highpass' : 'bandpass';
    band.frequency.value = note.pitch >= 42 ? 7000 : 1800;
    source.connect(band).connect(gain).connect(out);
    track(source, note.at, note.at + length);
  };

  return {
    play(note) {
      const level = 0.3 * (note.velocity / 127) ** 1.5;
      if (level <= 0) return;
      if (note.channel === kDrumChannel) return drum(note, level * 1.5);
      const t = timbre(note.program ?? 0);
      const end = Math.max(note.until, note.at + 0.02);
      const oscillator = context.createOscillator();
      oscillator.type = t.wave;
      oscillator.frequency.value = frequency(note.pitch);
      const filter = context.createBiquadFilter();
      filter.frequency.value = t.cutoff;
      const gain = context.createGain();
      const peak = note.at + Math.min(t.attack, (end - note.at) / 2);
      gain.gain.setValueAtTime(0, note.at);
      gain.gain.linearRampToValueAtTime(level, peak);
      gain.gain.setTargetAtTime(level * t.sustain, peak, t.decay / 3);
      gain.gain.setTargetAtTime(0, end, t.release / 4);
      oscillator.connect(filter).connect(gain).connect(out);
      track(oscillator, note.at, end + t.release);
    },
    stop() {
      for (const voice of voices) voice.source.stop();
      voices.clear();
    },
    /** Notes sounding or waiting to sound. */
    voices: () => voices.size,
  };
}

/** Renders `notes` (as play() takes them, times in seconds) lasting `seconds` into an AudioBuffer, offline. */
export async function renderSong(notes, seconds, sampleRate = 22050) {
  const context = new OfflineAudioContext(2, Math.max(1, Math.ceil(seconds * sampleRate)), sampleRate);
  const synth = createSynth(context);
  for (const note of notes) synth.play(note);
  return context.startRendering();
}
