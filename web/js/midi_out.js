// Web MIDI output: the song's notes sent to a port the browser offers (a
// DAW, a hardware synthesizer), each stamped with the time it is due.

/** The browser's MIDI outputs as [{id, name}] (empty when it offers none or refuses). */
export async function midiOutputs() {
  if (!navigator.requestMIDIAccess) return [];
  try {
    const access = await navigator.requestMIDIAccess();
    return [...access.outputs.values()].map((port) => ({ id: port.id, name: port.name, port }));
  } catch {
    return [];
  }
}

/** A sender on `port`: note(n, onMs, offMs) sends one note; programs(list) sets each channel's; silence() ends every note. */
export function createMidiSender(port) {
  return {
    note(n, onMs, offMs) {
      port.send([0x90 | n.channel, n.pitch, Math.max(1, n.velocity)], onMs);
      port.send([0x80 | n.channel, n.pitch, 0], offMs);
    },
    programs(programs) {
      programs.forEach((program, channel) => channel !== 9 && port.send([0xc0 | channel, program & 127]));
    },
    silence() {
      port.clear?.();
      for (let channel = 0; channel < 16; ++channel) {
        port.send([0xb0 | channel, 120, 0]);  // all sound off
        port.send([0xb0 | channel, 123, 0]);  // all notes off
      }
    },
  };
}
