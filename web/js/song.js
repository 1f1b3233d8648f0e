// A song as the page plays and draws it, made from the engines' piano roll:
// notes in seconds, bar lines in seconds, each channel's program.

const kLabels = ['fa', 'fd', 'pa', 'pd', 'as', 'ai', 'ea', 'ed'];

/** A tick-to-seconds function from the roll's tempo changes ({tick, microseconds} per quarter; 120 a minute before the first). */
export function clockOf(roll) {
  const division = roll.division || 96;
  const changes = (roll.tempos ?? []).map((t) => ({ tick: t.tick, perTick: (t.microseconds ?? 500000) / 1e6 / division }));
  changes.sort((a, b) => a.tick - b.tick);
  const segments = [{ tick: 0, seconds: 0, perTick: 0.5 / division }];
  for (const change of changes) {
    const last = segments[segments.length - 1];
    const seconds = last.seconds + (change.tick - last.tick) * last.perTick;
    if (change.tick === last.tick) segments.pop();
    segments.push({ tick: change.tick, seconds: change.tick === last.tick ? last.seconds : seconds, perTick: change.perTick });
  }
  return (tick) => {
    let s = segments[0];
    for (const segment of segments) if (segment.tick <= tick) s = segment;
    return s.seconds + (tick - s.tick) * s.perTick;
  };
}

/** The label of a tone type (a number 0-7 or already a label), '' for none. */
export function toneLabel(tone) {
  if (typeof tone === 'string') return tone;
  return kLabels[tone] ?? '';
}

/** The song of an engine roll: {notes: [{channel, pitch, velocity, at, until, tone, given, program}], bars: [seconds], length}. */
export function songOf(roll) {
  const seconds = clockOf(roll);
  const programs = new Array(16).fill(0);
  for (const p of roll.programs ?? []) if (p.channel >= 0 && p.channel < 16) programs[p.channel] = p.program;
  const notes = (roll.notes ?? []).map((n) => ({
    channel: n.channel, pitch: n.pitch, velocity: n.velocity, at: seconds(n.start), until: seconds(n.end),
    tone: toneLabel(n.tone ?? n.tone_type ?? -1), given: n.given ?? n.given_pitch ?? -1, program: programs[n.channel],
  }));
  const bars = (roll.bars ?? []).map((b) => seconds(typeof b === 'number' ? b : b.tick));
  const end = Math.max(roll.end_tick ? seconds(roll.end_tick) : 0, ...notes.map((n) => n.until), 0);
  return { notes, bars, length: end };
}

/** The first bar line at or after `time` (the song's end when there is none). */
export function nextBar(song, time) {
  for (const bar of song.bars) if (bar >= time - 1e-6) return bar;
  return song.length;
}
