#include "NumberText.h"

long double ScaleByPowerOfTen(long double value, std::int32_t) {
    return value;
}
std::string FormatFixed(long double, std::int32_t, std::int32_t) {
    return {};
}
std::string FormatScientific(long double, std::int32_t) {
    return {};
}
std::string FormatGeneral(long double) {
    return {};
}
long double ParseReal(std::string_view, std::int32_t& errorPos) {
    errorPos = 1;
    return 0;
}
std::int32_t ParseInteger(std::string_view, std::int32_t& errorPos) {
    errorPos = 1;
    return 0;
}
long double ParseRealLocale(std::string_view) {
    return 0;
}
char DecimalSeparator() {
    return '.';
}
char ThousandSeparator() {
    return ',';
}
void ReloadRegionalSettings() {}
void SetRegionalSeparators(char, char) {}
