#pragma once
// The calculation command: the formula memo becomes the engine's statement «f(x) = ...;»,
// x and the number of fraction digits are read from their fields, the statement is parsed
// and evaluated, and the value is written into the result field.

#include "Toolkit.h"

#include <cstddef>
#include <optional>
#include <string>

// What the command reads from the calculator window (code page 1251, memo lines joined by CR LF).
struct CalculationInput {
    std::string memoText;     // Memo1
    std::string xText;        // Edit1
    std::string digitsText;   // Edit3
    bool exponential = false; // CheckBox1
};

// The longest memo text and statement the engine's 16- and 8-bit counters can hold; longer
// ones are refused as a faulty formula instead of wrapping the counters.
inline constexpr std::size_t kMaxMemoLength = 65535;
inline constexpr std::size_t kMaxStatementLength = 255;

// FormulaLine := the memo text; FormulaBody := it with control characters blanked, Latin "X"
// lowered and everything after the first ";" cut off (empty when there is no ";").
void NormaliseFormula(const std::string& memoText);

// Runs the command with the engine's process-wide state. Returns the new caption of the
// result field, or nothing when the command ended at an input check and leaves it as it was.
// Messages go to toolkit.ShowMessage; exceptions (EOverflow from ParseReal, floating-point
// errors of the evaluation) leave the command for the default error handling.
std::optional<std::string> Calculate(const CalculationInput& input, Toolkit& toolkit);

// The texts the command shows (code page 1251).
std::string BadXMessage(); // "Неверно записано число Х"
std::string BadDigitsMessage(); // "Неверно записано число цифр дробной части"
std::string BadFormulaMessage(); // "Где-то в выражении ошибка...Исправьте и повторите попытку"
std::string ResultCaption();     // "Результат= "
