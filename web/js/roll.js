// The piano roll on a canvas: a row per pitch, a colour per channel, tone
// types written over their notes, the given pitch of a changed note as a
// dashed outline, bar lines numbered; a cursor line follows the player.

// Sixteen colours told apart on white, channel 10 (drums) in grey.
const kColours = ['#1f77b4', '#d62728', '#2ca02c', '#ff7f0e', '#9467bd', '#8c564b', '#e377c2', '#17becf',
  '#bcbd22', '#555555', '#393b79', '#ad494a', '#637939', '#8c6d31', '#7b4173', '#3182bd'];
const kKeys = 34;      // pixels of pitch names on the left
const kTop = 16;       // pixels of bar numbers above
const kMaxWidth = 30000;

/** The colour of channel 0-15. */
export function channelColour(channel) {
  return kColours[channel & 15];
}

/** The lowest and highest pitch rows a song needs, two rows of margin each side. */
export function pitchRange(notes) {
  let low = 127;
  let high = 0;
  for (const n of notes) for (const p of n.given >= 0 ? [n.pitch, n.given] : [n.pitch]) (low = Math.min(low, p)), (high = Math.max(high, p));
  return low > high ? [58, 62] : [Math.max(0, low - 2), Math.min(127, high + 2)];
}

/** A roll drawing into `canvas` inside the scrolling `frame`, with `cursor` an element moved over it. */
export function createRoll(canvas, frame, cursor) {
  let song = { notes: [], bars: [], length: 0 };
  let perSecond = 60;

  const draw = () => {
    const height = canvas.clientHeight || 320;
    const width = Math.min(kMaxWidth, Math.max(frame.clientWidth || 600, kKeys + Math.ceil(song.length * perSecond) + 8));
    canvas.width = width;
    canvas.height = height;
    canvas.style.width = `${width}px`;
    const g = canvas.getContext('2d');
    g.fillStyle = '#fff';
    g.fillRect(0, 0, width, height);
    const [low, high] = pitchRange(song.notes);
    const row = (height - kTop) / (high - low + 1);
    const x = (t) => kKeys + t * perSecond;
    const y = (p) => kTop + (high - p) * row;
    g.font = '9px sans-serif';
    g.strokeStyle = '#ddd';
    g.fillStyle = '#666';
    for (let p = low; p <= high; ++p) {
      if (p % 12) continue;
      g.beginPath();
      g.moveTo(kKeys, y(p) + row);
      g.lineTo(width, y(p) + row);
      g.stroke();
      g.fillText(`C${p / 12 - 1}`, 2, y(p) + row - 1);
    }
    g.strokeStyle = '#999';
    song.bars.forEach((bar, i) => {
      g.beginPath();
      g.moveTo(x(bar), kTop);
      g.lineTo(x(bar), height);
      g.stroke();
      g.fillText(String(i + 1), x(bar) + 2, kTop - 4);
    });
    let drawn = 0;
    for (const n of song.notes) {
      const x0 = x(n.at);
      const w = Math.max(1.5, x(n.until) - x0);
      if (n.given >= 0 && n.given !== n.pitch) {
        g.setLineDash([3, 2]);
        g.strokeStyle = channelColour(n.channel);
        g.strokeRect(x0 + 0.5, y(n.given) + 0.5, w - 1, row - 1);
        g.setLineDash([]);
      }
      g.globalAlpha = (70 + (n.velocity * 185) / 127) / 255;
      g.fillStyle = channelColour(n.channel);
      g.fillRect(x0, y(n.pitch), w, row);
      g.globalAlpha = 1;
      if (n.tone) {
        g.fillStyle = '#000';
        g.fillText(n.tone, x0 + 1, y(n.pitch) - 1);
      }
      ++drawn;
    }
    canvas.dataset.notes = String(drawn);
  };

  return {
    /** Shows `song`, the result named `file`, and redraws. */
    show(next, file) {
      song = next;
      canvas.dataset.file = file;
      draw();
    },
    /** Multiplies the horizontal scale by `factor` (kept between 5 and 800 pixels a second). */
    zoom(factor) {
      perSecond = Math.min(800, Math.max(5, perSecond * factor));
      draw();
    },
    /** Puts the play cursor at `seconds` (hidden when negative), scrolling it into view. */
    cursorAt(seconds) {
      cursor.hidden = seconds < 0;
      if (seconds < 0) return;
      const left = kKeys + seconds * perSecond;
      cursor.style.left = `${left}px`;
      if (left < frame.scrollLeft || left > frame.scrollLeft + frame.clientWidth - 20) frame.scrollLeft = left - 40;
    },
    redraw: draw,
  };
}
