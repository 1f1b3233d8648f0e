// The page's words in English and Spanish, the first chosen by the browser's
// language; elements name their text with data-text (and data-title).

const kWords = {
  en: {
    examples: 'Examples', open: 'Open…', save: 'Save', share: 'Share link', compose: 'Compose', harmonize: 'Harmonize',
    all: 'All', live: 'Live', undo: 'Undo', redo: 'Redo', play: 'Play', stop: 'Stop', loop: 'Loop', download: 'Download',
    synth: 'Built-in synthesizer', output: 'Sound', zoomIn: 'Zoom in', zoomOut: 'Zoom out', console: 'Console',
    language: 'Language', template: 'Template', result: 'Roll of', listing: 'composer listing', musicxml: 'MusicXML',
    loading: 'Loading…', ready: 'Ready.', noResult: 'Nothing to play yet: compose first.',
    linkCopied: 'Link copied: opening it opens this work.', linkReady: 'The link is in the address bar.',
    linkTooLarge: 'This work is too large for a link ({0} characters; at most {1}). Save its files instead.',
    linkDamaged: 'The link is damaged or incomplete ({0}); the work kept in this browser is open instead.',
    saved: 'Saved: {0}.', opened: 'Opened: {0}.', notWorkFile: '{0} is not a file of a work; left out.',
    storageFull: 'The browser has no room to keep this work; save its files.', midiNone: 'No MIDI output offered',
    midiDenied: 'The browser gives no MIDI access.', noComposition: 'This work has no composition (incom.htm).',
    engineFailed: 'The engines could not be loaded: {0}', column: 'Column', row: 'Row', help: 'Help',
  },
  es: {
    examples: 'Ejemplos', open: 'Abrir…', save: 'Guardar', share: 'Enlace para compartir', compose: 'Componer',
    harmonize: 'Armonizar', all: 'Todo', live: 'En vivo', undo: 'Deshacer', redo: 'Rehacer', play: 'Tocar', stop: 'Parar',
    loop: 'Repetir', download: 'Descargar', synth: 'Sintetizador propio', output: 'Sonido', zoomIn: 'Acercar',
    zoomOut: 'Alejar', console: 'Consola', language: 'Idioma', template: 'Plantilla', result: 'Rollo de',
    listing: 'listado del compositor', musicxml: 'MusicXML', loading: 'Cargando…', ready: 'Listo.',
    noResult: 'Nada que tocar todavía: compón primero.', linkCopied: 'Enlace copiado: al abrirlo se abre este trabajo.',
    linkReady: 'El enlace está en la barra de direcciones.',
    linkTooLarge: 'Este trabajo es demasiado grande para un enlace ({0} caracteres; como mucho {1}). Guarda sus archivos.',
    linkDamaged: 'El enlace está dañado o incompleto ({0}); se abre el trabajo guardado en este navegador.',
    saved: 'Guardado: {0}.', opened: 'Abierto: {0}.', notWorkFile: '{0} no es un archivo de un trabajo; no se usa.',
    storageFull: 'El navegador no tiene sitio para guardar este trabajo; guarda sus archivos.',
    midiNone: 'Ninguna salida MIDI disponible', midiDenied: 'El navegador no da acceso a MIDI.',
    noComposition: 'Este trabajo no tiene composición (incom.htm).', engineFailed: 'No se pudieron cargar los motores: {0}',
    column: 'Columna', row: 'Fila', help: 'Ayuda',
  },
};

/** 'es' when the browser's first language is Spanish, else 'en'. */
export function browserLanguage(languages = navigator.languages ?? [navigator.language]) {
  return String(languages[0] ?? 'en').toLowerCase().startsWith('es') ? 'es' : 'en';
}

/** The word `key` in `lang` with {0}, {1}… replaced by `args`. */
export function say(lang, key, ...args) {
  const text = kWords[lang]?.[key] ?? kWords.en[key] ?? key;
  return text.replace(/\{(\d)\}/g, (_, n) => String(args[Number(n)]));
}

/** Sets the text of every [data-text] and the title of every [data-title] under `root` in `lang`. */
export function translatePage(root, lang) {
  root.documentElement && (root.documentElement.lang = lang);
  for (const element of root.querySelectorAll('[data-text]')) element.textContent = say(lang, element.dataset.text);
  for (const element of root.querySelectorAll('[data-title]')) element.title = say(lang, element.dataset.title);
}
