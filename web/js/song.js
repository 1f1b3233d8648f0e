// A song as the page plays and draws it, made from the engines' piano roll:
// notes in seconds, bar lines in seconds, each channel's program.

/** The first program change of each channel in a Standard MIDI File (0 where none): 16 numbers. */
export function programsOf(midi) {
  const programs = new Array(16).fill(-1);
  const view = new DataView(midi.buffer, midi.byteOffset, midi.byteLength);
  for (let at = 14; at + 8 <= midi.length;) {
    const end = Math.min(midi.length, at + 8 + view.getUint32(at + 4));
    let i = at + 8;
    let status = 0;
    const number = () => {
      let n = 0;
      let byte = 0x80;
      while (byte & 0x80 && i < end) n = (n << 7) | ((byte = midi[i++]) & 0x7f);
      return n;
    };
    while (i < end) {
      number();
      if (midi[i] & 0x80) status = midi[i++];
      const kind = status & 0xf0;
      if (status === 0xff || status === 0xf0 || status === 0xf7) {
        if (status === 0xff) ++i;
        const size = number();  // read before i is added to
        i += size;
      } else if (kind === 0xc0 || kind === 0xd0) {
        if (kind === 0xc0 && programs[status & 15] < 0) programs[status & 15] = midi[i] & 0x7f;
        i += 1;
      } else i += 2;
    }
    at = end;
  }
  return programs.map((p) => Math.max(p, 0));
}

/** The song of an engine roll and its MIDI file: {notes: [{channel, pitch, velocity, at, until, tone, given, program}], bars: [seconds], length}. */
export function songOf(roll, midi = new Uint8Array()) {
  const programs = programsOf(midi);
  const notes = (roll.notes ?? []).map((n) => ({
    channel: n.channel, pitch: n.pitch, velocity: n.velocity, at: n.startSeconds, until: n.endSeconds,
    tone: n.tone ?? '', given: n.given ?? -1, program: programs[n.channel],
  }));
  const bars = (roll.bars ?? []).map((b) => b.seconds);
  return { notes, bars, length: Math.max(roll.endSeconds ?? 0, ...notes.map((n) => n.until)) };
}

/** The first bar line at or after `time` (the song's end when there is none). */
export function nextBar(song, time) {
  for (const bar of song.bars) if (bar >= time - 1e-6) return bar;
  return song.length;
}
