#pragma once

// Every message of the table reader and the two compilers. The formats that
// name a place take the table's name, then the row, then the column.
#include "console/message.h"

namespace zelvo::tables {

using console::MessagePair;

// Reader.
inline constexpr MessagePair kProcessingTable{"\tProcessing table %s\n", "\tProcesando la tabla %s\n"};
inline constexpr MessagePair kOpenError{"\nImpossible to open HTML entry file",
                                        "\nImposible abrir el archivo de entrada HTML"};
inline constexpr MessagePair kReadError{"\nError reading HTML entry file, in table %s",
                                        "\nError de lectura en el archivo de entrada HTML, en la tabla %s"};
inline constexpr const char* kOutsideTable = "fuera de tabla";
inline constexpr MessagePair kCellTooLong{"\nError: cell too long in table %s, row %d, column %d",
                                          "\nError: celda demasiado larga en tabla %s, fila %d, columna %d"};
inline constexpr MessagePair kCellNotClosed{
    "\nError: cell without closing tag </td> in table %s, row %d, column %d",
    "\nError: celda sin etiqueta de cierre </td> en tabla %s, fila %d, columna %d"};

// Table compiler.
inline constexpr MessagePair kReadingVariables{"\nReading variables in tables...\n\n",
                                               "\nLeyendo variables de las tablas...\n\n"};
inline constexpr MessagePair kCompilingTables{"\nCompiling tables...\n\n", "\nCompilando las tablas...\n\n"};
inline constexpr MessagePair kWrongName{
    "\nError: generator or variable name in table %s, row %d, is wrong",
    "\nError: el nombre del generador o variable en tabla %s, fila %d, es incorrecto"};
inline constexpr MessagePair kTooManySymbols{"\nError: too many generators or calculated variables",
                                             "\nError: exceso de generadores o de variables calculadas"};
inline constexpr MessagePair kCellError{"\nError  in table %s, row %d, column %d",
                                        "\nError en la tabla %s, fila %d, columna %d"};
inline constexpr MessagePair kTooManyConfigValues{
    "\nError: too many configuration values in table %s, row %d, column %d",
    "\nError: exceso de valores de configuraci\xF3n en tabla %s, fila %d, columna %d"};
inline constexpr MessagePair kTooManyGenerators{"\nError: too many generators in table %s, row %d",
                                                "\nError: exceso de generadores en tabla %s, fila %d"};
inline constexpr MessagePair kTooManyParameterColumns{
    "\nError: too many parameter columns in table %s, row %d, column %d",
    "\nError: exceso de columnas de par\xE1metros en tabla %s, fila %d, columna %d"};
inline constexpr MessagePair kTooManyOutputRows{"\nError: too many output channels in table %s, row %d",
                                                "\nError: exceso de canales de salida en tabla %s, fila %d"};
inline constexpr MessagePair kSecondVariableTable{"\nError: only one TCAL table is allowed",
                                                  "\nError: solo se admite una tabla TCAL"};

// Expression compiler.
inline constexpr MessagePair kWrongCharacters{
    "\nError: wrong incorrect characters in table %s, row %d, column %d",
    "\nError: caracteres incorrectos en tabla %s, fila %d, columna %d"};
inline constexpr MessagePair kWrongParentheses{
    "\nError: wrong parentheses number in table %s, row %d, column %d",
    "\nError: n\xFAmero de par\xE9ntesis incorrectos en tabla %s, fila %d, columna %d"};
inline constexpr MessagePair kTooManyConstants{"\nError: memory exceeded for constant number values",
                                               "\nError: excedida la memoria de valores num\xE9ricos constantes"};
inline constexpr MessagePair kUndeclaredVariable{
    "\nError: variable %s not declared, referenced in table %s, row %d",
    "\nError: variable %s no declarada referenciada en tabla %s, fila %d"};
inline constexpr MessagePair kNotRecognized{"\nError: Not recognized element in table %s, row %d, column %d",
                                            "\nError: elemento no reconocido en tabla %s, fila %d, columna %d"};
inline constexpr MessagePair kSyntaxError{"\nSyntax Error in table %s, row %d, column %d",
                                          "\nError de sintaxis en la tabla %s, fila %d, columna %d"};
inline constexpr MessagePair kWrongArgumentCount{
    "\nError: wrong argument number in table %s, row %d, column %d",
    "\nError: n\xFAmero incorrecto de argumentos en tabla %s, fila %d, columna %d"};
inline constexpr MessagePair kNotEnoughArguments{
    "\nError: not enough arguments en table %s, row %d, column %d",
    "\nError: insuficientes argumentos en tabla %s, linea %d, columna %d"};
inline constexpr MessagePair kProgramMemory{"\nError: program memory exceeded",
                                            "\nError: excedida la memoria de programa"};
inline constexpr MessagePair kStackMemory{"\nError: stack memory exceeded in table %s, row %d, column %d",
                                          "\nError: excedida la memoria de pila en tabla %s, fila %d, columna %d"};

}  // namespace zelvo::tables
