// Files on the user's disk: downloads of results and of the work's files,
// and the files the user picks to open.

/** Offers `bytes` as a download named `name`. */
export function download(name, bytes, type = 'application/octet-stream') {
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  link.click();
  setTimeout(() => URL.revokeObjectURL(url), 10000);
}

/** Writes `files` ({name: bytes}) into a folder the user picks, or downloads each where the browser cannot; resolves to the names written. */
export async function saveFiles(files) {
  const names = Object.keys(files);
  if (window.showDirectoryPicker) {
    try {
      const folder = await window.showDirectoryPicker({ mode: 'readwrite' });
      for (const name of names) {
        const writable = await (await folder.getFileHandle(name, { create: true })).createWritable();
        await writable.write(files[name]);
        await writable.close();
      }
      return names;
    } catch (error) {
      if (error.name === 'AbortError') return [];
    }
  }
  for (const name of names) download(name, files[name]);
  return names;
}

/** The files of a file input as [{name, bytes}]. */
export async function readPicked(fileList) {
  return Promise.all([...fileList].map(async (file) => ({ name: file.name, bytes: new Uint8Array(await file.arrayBuffer()) })));
}
