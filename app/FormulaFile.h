#pragma once
// The formula file (".frm"): two lines in code page 1251, each ended by CR LF: the formula
// with its control characters blanked, then the comment (whose own CR LF line breaks stay,
// so a comment of several lines takes several lines of the file).

#include <string>

// Every character with a code below 32 becomes a blank.
std::string BlankControlCharacters(std::string text);
// The name with ".frm" appended unless it already contains ".frm" anywhere (case matters:
// "a.txt" → "a.txt.frm", "A.FRM" → "A.FRM.frm", "b.frm" unchanged).
std::string WithFormulaExtension(const std::string& fileName);
// "Пусто", what a missing line of the file reads as.
std::string EmptyLineText();
// "Файл слишком велик для формулы": a file with a line longer than a memo takes (65,535
// characters), or larger than two such lines.
std::string FileTooLargeMessage();

// Writes the two lines to fileName, checking every operation (EInOutError on a failure), through
// the text-file facility's save (OpenTextForSaving): a file that could not be opened for writing
// is refused, and a file replaced through a temporary stays as it was when anything fails.
void WriteFormulaFile(const std::string& fileName, const std::string& formulaLine,
                      const std::string& commentLine);

// Reads fileName into FormulaLine (line 1) and CommentLine (line 2 and every line after it,
// joined by CR LF); a missing line reads as "Пусто". Checks every operation: a failure
// raises EInOutError with FormulaLine and CommentLine as far as they were read, and the
// file is released. A device or pipe is refused as access denied (it may never end), a file
// too large for the memos with Exception(FileTooLargeMessage()).
void ReadFormulaFile(const std::string& fileName);
