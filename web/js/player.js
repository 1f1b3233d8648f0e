// Playing a song in time: notes are handed to the synthesizer (and to a MIDI
// port) a little ahead of when they sound, so that a new song given while
// playing takes over exactly at the next bar line, and a loop restarts at
// the end without a gap.
import { nextBar } from './song.js';

const kAhead = 0.3;   // seconds scheduled ahead of the clock
const kTick = 40;     // milliseconds between scheduling rounds

/** A player: play(song, loop), replace(song), stop(); onTime(seconds) follows the play position (-1 when stopped). */
export function createPlayer({ context, synth, midi, onTime }) {
  let song = null;
  let next = null;       // a song waiting for its bar line
  let swapAt = -1;
  let origin = 0;        // context time of the song's second 0 in this pass
  let done = 0;          // song seconds already scheduled in this pass
  let loop = false;
  let timer = 0;

  const send = (from, to) => {
    for (const n of song.notes) {
      if (n.at < from || n.at >= to) continue;
      synth?.play({ ...n, at: origin + n.at, until: origin + n.until });
      if (midi) {
        const ms = (t) => performance.now() + (origin + t - context.currentTime) * 1000;
        midi.note(n, ms(n.at), ms(n.until));
      }
    }
  };
  const round = () => {
    const now = context.currentTime - origin;
    onTime?.(Math.min(now, song.length));
    let horizon = now + kAhead;
    while (done < horizon) {
      const end = next && swapAt >= done ? Math.min(horizon, swapAt) : Math.min(horizon, song.length);
      send(done, end);
      done = end;
      if (next && done >= swapAt) {
        song = next;
        next = null;
        midi?.programs(programsOf(song));
        continue;
      }
      if (done >= song.length) {
        if (!loop) {
          if (now >= song.length) stop();
          return;
        }
        origin += song.length;
        horizon -= song.length;
        done = 0;
      }
    }
  };
  const stop = () => {
    clearInterval(timer);
    timer = 0;
    next = null;
    synth?.stop();
    midi?.silence();
    onTime?.(-1);
  };
  return {
    /** Starts `first` from its beginning; `repeat` loops it. */
    play(first, repeat) {
      stop();
      song = first;
      loop = repeat;
      origin = context.currentTime + 0.05;
      done = 0;
      midi?.programs(programsOf(song));
      timer = setInterval(round, kTick);
      round();
    },
    /** Plays `later` instead from the next bar line on (at once when stopped). */
    replace(later) {
      if (!timer) return void (song = later);
      next = later;
      swapAt = nextBar(song, Math.max(done, context.currentTime - origin));
    },
    /** Sets whether the song repeats. */
    setLoop(repeat) {
      loop = repeat;
    },
    stop,
    /** Whether a song is playing. */
    playing: () => timer !== 0,
  };
}

function programsOf(song) {
  const programs = new Array(16).fill(0);
  for (const n of song.notes) programs[n.channel] = n.program ?? 0;
  return programs;
}
