#pragma once
// Test helpers: the system's texts are code page 1251 bytes, while test sources are UTF-8.
// Tests write expected texts readably and convert them with Qt's own codec.

#include <string>
#include <string_view>

std::string cp1251(std::string_view utf8);    // UTF-8 text -> code page 1251 bytes
std::string fromCp1251(std::string_view cp);  // code page 1251 bytes -> UTF-8 text
