#pragma once

// Every message of the table reader and the two compilers. The formats that
// name a place take the table's name, then the row, then the column.
#include "console/message_id.h"

namespace zelvo::tables {


// Reader.
inline constexpr console::MessageId kProcessingTable = console::MessageId::kProcessingTable;
inline constexpr console::MessageId kOpenError = console::MessageId::kOpenError;
inline constexpr console::MessageId kReadError = console::MessageId::kReadError;
inline constexpr const char* kOutsideTable = "fuera de tabla";
inline constexpr console::MessageId kCellTooLong = console::MessageId::kCellTooLong;
inline constexpr console::MessageId kCellNotClosed = console::MessageId::kCellNotClosed;

// Table compiler.
inline constexpr console::MessageId kReadingVariables = console::MessageId::kReadingVariables;
inline constexpr console::MessageId kCompilingTables = console::MessageId::kCompilingTables;
inline constexpr console::MessageId kWrongName = console::MessageId::kWrongName;
inline constexpr console::MessageId kTooManySymbols = console::MessageId::kTooManySymbols;
inline constexpr console::MessageId kCellError = console::MessageId::kCellError;
inline constexpr console::MessageId kTooManyConfigValues = console::MessageId::kTooManyConfigValues;
inline constexpr console::MessageId kTooManyGenerators = console::MessageId::kTooManyGenerators;
inline constexpr console::MessageId kTooManyParameterColumns = console::MessageId::kTooManyParameterColumns;
inline constexpr console::MessageId kTooManyOutputRows = console::MessageId::kTooManyOutputRows;
inline constexpr console::MessageId kSecondVariableTable = console::MessageId::kSecondVariableTable;

// Expression compiler.
inline constexpr console::MessageId kWrongCharacters = console::MessageId::kWrongCharacters;
inline constexpr console::MessageId kWrongParentheses = console::MessageId::kWrongParentheses;
inline constexpr console::MessageId kTooManyConstants = console::MessageId::kTooManyConstants;
inline constexpr console::MessageId kUndeclaredVariable = console::MessageId::kUndeclaredVariable;
inline constexpr console::MessageId kNotRecognized = console::MessageId::kNotRecognized;
inline constexpr console::MessageId kSyntaxError = console::MessageId::kSyntaxError;
inline constexpr console::MessageId kWrongArgumentCount = console::MessageId::kWrongArgumentCount;
inline constexpr console::MessageId kNotEnoughArguments = console::MessageId::kNotEnoughArguments;
inline constexpr console::MessageId kProgramMemory = console::MessageId::kProgramMemory;
inline constexpr console::MessageId kStackMemory = console::MessageId::kStackMemory;

}  // namespace zelvo::tables
