#pragma once
// The calculator's process-wide state, shared by the calculation command, the formula file
// commands and the graph window. Strings are code page 1251.

#include <cstdint>
#include <string>

extern std::string FormulaLine;     // the formula memo's text as last taken (or read from a file)
extern std::string FormulaBody;     // the normalised formula, ending with its first ";" or empty
extern long double XValue;          // x as last read from Edit1
extern std::uint16_t DigitCount;    // fraction digits as last read from Edit3
extern std::string CommentLine;     // the comment as last saved or loaded
extern std::string FormulaFileName; // the file of the last formula file command

// Puts every value back to its start-up state; for tests' fixtures.
void ResetCalculatorState();
