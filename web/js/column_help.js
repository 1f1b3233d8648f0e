// What each column of each kind of table means, in Spanish, worded as the
// engines' English help is (which the module gives for English).

// [meaning, note] per column from 1 (TSAL from 0), as the English help lists them.
const kHelp = {
  TCONF: [
    ['compases que se generan', 'no se genera nada'], ['tempo, pulsos por minuto', 'rechazado: debe ser mayor que 0'],
    ['pulsos por compás (numerador del compás)', 'ningún click en un compás'],
    ['unidad de pulso: 1, 2, 4, 8 o 16 (4 = negra)', 'rechazado'], ['clicks por pulso', '192 dividido por la unidad de pulso'],
    ['semilla aleatoria', 'una semilla nueva del reloj en cada ejecución'],
  ],
  TGENC: [
    ['modo', 'cuándo se calculan las expresiones de la fila: 0 en cada click, 1 al empezar cada periodo, 2 en cada nota'],
    ['compás de inicio', 'donde empieza el generador (compás 1, click 0 es el principio)'], ['click de inicio', ''],
    ['compases del periodo', 'la duración de un periodo de la forma'],
    ['clicks del periodo', '(periodo = compases × clicks por compás + clicks; al menos 1 click)'],
    ['pulso', 'clicks de una nota a la siguiente'], ['compases de duración', 'cuánto toca el generador'],
    ['clicks de duración', ''], ['duración de nota', 'el valor de `Gu`: cuánto debe durar cada nota'],
    ['forma', '1 seno, 2 cuadrada, 3 rampa subiendo, 4 rampa bajando, 5 triángulo'],
    ['máximo', 'el valor en lo alto de la forma'], ['mínimo', 'el valor en lo bajo'],
    ['paso', 'si no es 0, el valor se reduce a un múltiplo entero de él'], ['orden', 'orden de cálculo dentro de un click'],
  ],
  TGENS: [
    ['modo', 'cuándo se calculan las expresiones de la fila: 0 en cada click, 1 al empezar cada pasada, 2 en cada nota'],
    ['secuencia', 'qué secuencia, contando desde 0'], ['compás de inicio', 'donde empieza el generador'], ['click de inicio', ''],
    ['pulsos de estiramiento', 'pulsos añadidos a la duración de la secuencia; cada duración y distancia crece en proporción'],
    ['primera nota', 'primera nota que suena, contando desde 1'], ['notas cortadas', 'notas que se dejan fuera al final'],
    ['silencio', 'semicorcheas de silencio tras cada pasada'], ['compases de duración', 'cuánto toca el generador'],
    ['clicks de duración', ''],
    ['modo de lectura', '1 hacia delante, 2 hacia delante invertida, 3 hacia atrás, 4 hacia atrás invertida'],
    ['desplazamiento alto', 'semitonos añadidos a la nota más alta de la secuencia'],
    ['desplazamiento bajo', 'semitonos añadidos a su nota más baja'],
    ['glissando', 'si no es 0, el valor se desliza de cada nota a la siguiente (modos de lectura 1 y 2)'],
    ['orden', 'orden de cálculo dentro de un click'],
  ],
  TSAL: [
    ['interruptor: cualquier texto aquí apaga la fila', '(vacío: la fila suena)'],
    ['canal MIDI 1 a 16 (el 10 es la batería en General MIDI)', '1'], ['nota 0 a 127 (60 = do central)', '-1'],
    ['duración en clicks', '0'], ['tocar: solo se hace una nota mientras esto no es 0', '0 (nunca suena)'],
    ['velocidad 0 a 127', '100'],
  ],
};

/** The Spanish help of column `column` (from 0) of a table of `kind` ('' for none). */
export function spanishColumnHelp(kind, column) {
  const rows = kHelp[kind];
  const help = rows?.[kind === 'TSAL' ? column : column - 1];
  if (!help) {
    if (kind === 'TCAL') return column === 0 ? 'nombre de la variable' : 'expresión // comentario';
    if ((kind === 'TGENC' || kind === 'TGENS') && column === 0) return 'nombre del generador; la fila 1 tiene los valores por defecto';
    return '';
  }
  const text = `columna ${column}: ${help[0]}`;
  if (!help[1]) return text;
  if (kind === 'TCONF' || kind === 'TSAL') return `${text}\nvacía: ${help[1]}`;
  return `${text}\n${help[1]}\nvacía: el número de la fila 1`;
}
