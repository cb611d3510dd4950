// The user's decimal symbol and thousands separator. They are read from the locale environment
// without touching the process locale: the C library's own number formatting stays as it is.

#include "NumberText.h"

#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <locale.h>
#include <string_view>

namespace {

struct Separators {
    char decimal = '.';
    char thousand = ',';
};

constexpr char kNoBreakBlank = '\xA0'; // code page 1251

// A symbol of the locale is usable when it is one printable ASCII character (a multi-byte
// symbol of a UTF-8 locale has no single-byte form).
bool SingleAsciiSymbol(const char* symbol) {
    return symbol != nullptr && symbol[0] > ' ' && symbol[0] < 127 && symbol[1] == '\0';
}

bool IsRussian(std::string_view name) {
    return name.size() >= 2 && name.substr(0, 2) == "ru" &&
           (name.size() == 2 || name[2] == '_' || name[2] == '.' || name[2] == '@');
}

Separators ReadFromEnvironment() {
    const char* name = nullptr;
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && value[0] != '\0') {
            name = value;
            break;
        }
    }
    if (name == nullptr) {
        return {};
    }
    if (IsRussian(name)) {
        // Russian settings even when that locale is not installed here.
        return {',', kNoBreakBlank};
    }
    // Another locale: ask the C library for its symbols through a private locale object.
    const locale_t locale = newlocale(LC_NUMERIC_MASK, name, static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) {
        return {};
    }
    Separators result;
    const char* radix = nl_langinfo_l(RADIXCHAR, locale);
    if (SingleAsciiSymbol(radix)) {
        result.decimal = radix[0];
    }
    const char* grouping = nl_langinfo_l(THOUSEP, locale);
    if (SingleAsciiSymbol(grouping) && grouping[0] != result.decimal) {
        result.thousand = grouping[0];
    } else if (result.decimal == ',') {
        result.thousand = kNoBreakBlank;
    }
    freelocale(locale);
    return result;
}

Separators& Current() {
    static Separators separators = ReadFromEnvironment();
    return separators;
}

} // namespace

char DecimalSeparator() {
    return Current().decimal;
}

char ThousandSeparator() {
    return Current().thousand;
}

void ReloadRegionalSettings() {
    Current() = ReadFromEnvironment();
}

void SetRegionalSeparators(char decimalSeparator, char thousandSeparator) {
    Current() = {decimalSeparator, thousandSeparator};
}
