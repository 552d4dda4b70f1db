#pragma once

#include <QChar>

namespace vorlac
{

// The character a byte shows in the Symbol font (Greek letters, mathematical signs), so that a
// statement typed with that font reads the same in any font: 'a' is alpha, 'D' is Delta, 0xB0 the
// degree sign. Bytes the font leaves empty give their Windows-1252 character.
QChar symbolFontChar(unsigned char byte);

} // namespace vorlac
