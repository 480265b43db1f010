#pragma once

#include <cstdint>
#include <string>

// Conversions between the two Cyrillic code pages of the program's tables, DOS 866 ("OEM")
// and Windows 1251 ("ANSI"), the letter case of 1251 text, and 1251 <-> Unicode for the
// widgets. Fixed tables, no C-library locale: numbers and case never depend on the
// environment.
namespace platform {

// Byte by byte, 866 -> 1251 and 1251 -> 866. Every byte maps somewhere: letters and common
// signs to their counterpart, others to a best fit or '?'.
unsigned char OemToAnsiChar(unsigned char c);
unsigned char AnsiToOemChar(unsigned char c);
void OemToAnsi(std::string& text); // in place
void AnsiToOem(std::string& text); // in place

// Letter case of 1251 text: A-Z, a-z and every Cyrillic letter of 1251 (Ё/ё and the
// Ukrainian and Belarusian letters included). Other bytes are left as they are.
unsigned char ToUpper1251(unsigned char c);
unsigned char ToLower1251(unsigned char c);
void ToUpper1251(std::string& text); // in place
void ToLower1251(std::string& text); // in place
bool IsAlpha1251(unsigned char c);
bool IsUpper1251(unsigned char c);
bool IsLower1251(unsigned char c);

// 1251 <-> Unicode. A code point without a 1251 byte gives '?'.
char32_t Cp1251ToUnicode(unsigned char c);
unsigned char UnicodeToCp1251(char32_t codePoint);

} // namespace platform
