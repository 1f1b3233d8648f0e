// Undo and redo over whole versions of a text: a composition is small, so
// keeping each version is simpler and surer than inverting edits.

/** A history holding `first` as its only version. */
export function createHistory(first, limit = 200) {
  const versions = [first];
  let at = 0;
  return {
    /** The version in force. */
    current: () => versions[at],
    /** Records `text` as the newest version, dropping the versions undone. */
    push(text) {
      if (text === versions[at]) return;
      versions.splice(at + 1, versions.length, text);
      if (versions.length > limit) versions.shift();
      at = versions.length - 1;
    },
    /** Steps back one version; false when there is none. */
    undo: () => (at > 0 ? (--at, true) : false),
    /** Steps forward one version; false when there is none. */
    redo: () => (at < versions.length - 1 ? (++at, true) : false),
  };
}
