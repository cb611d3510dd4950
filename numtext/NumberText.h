#pragma once
// Numbers as the calculator reads them from text and writes them as text. All arithmetic is in
// the 80-bit extended type; texts are single-byte code page 1251 strings.

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

static_assert(std::numeric_limits<long double>::digits == 64, "needs the x87 extended type");

// value × 10^e through three tables of powers of ten; e >= 5120 gives +infinity, e <= -5120 0.
long double ScaleByPowerOfTen(long double value, std::int32_t e);

// Writers. FormatFixed and FormatScientific always use "." and right-justify in `width`
// (at most 255, never cut); FormatGeneral gives 15 significant digits with the regional
// decimal separator.
std::string FormatFixed(long double value, std::int32_t width, std::int32_t decimals);
std::string FormatScientific(long double value, std::int32_t width);
std::string FormatGeneral(long double value);

// Readers. ParseReal and ParseInteger report a bad text through errorPos (0 = success, else
// a 1-based position) and never raise for it; ParseReal raises EOverflow beyond the extended
// range. ParseRealLocale reads with the regional separator and raises EConvertError.
long double ParseReal(std::string_view text, std::int32_t& errorPos);
std::int32_t ParseInteger(std::string_view text, std::int32_t& errorPos);
long double ParseRealLocale(std::string_view text);

// The user's regional decimal symbol and thousands separator, read from the locale
// environment (LC_ALL, LC_NUMERIC, LANG): "," and a no-break blank for Russian, "." and ","
// when nothing can be read. ReloadRegionalSettings() reads them again.
char DecimalSeparator();
char ThousandSeparator();
void ReloadRegionalSettings();
// Tests and the program may set them directly (for example to check Russian settings).
void SetRegionalSeparators(char decimalSeparator, char thousandSeparator);
