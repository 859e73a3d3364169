#pragma once
// The shape the textures, scenes and processes sections share:
// "{" NAME entry ... "}", each entry reading the rest of itself.

#include <string>

#include "manager/ascii_reader.h"
#include "manager/exceptions.h"
#include "manager/source_location.h"

namespace demo {

// Calls readEntry(name) for each entry up to the closing brace. A failure of
// the code that makes an entry (a texture, a scene) becomes a ParseError at
// the script line of the entry's name, reported from `refused`; a
// ParseError stands.
template <class ReadEntry>
void readNamedEntries(AsciiReader& reader, source::Location refused, ReadEntry readEntry) {
    reader.expectSymbol('{');
    for (;;) {
        Token token = reader.nextToken();
        if (token.isSymbol('}')) return;
        reader.pushBack(token);
        std::string name = reader.readStringOrQuoted();
        const int line = reader.line();  // an entry may span lines: report its first
        try {
            readEntry(name);
        } catch (const ParseError&) {
            throw;
        } catch (const ExceptionBase& e) {
            ParseError atEntry = reader.error(e.message(), refused);
            throw ParseError(atEntry.text(), atEntry.scriptName(), line, refused.unit, refused.line);
        }
    }
}

}  // namespace demo
