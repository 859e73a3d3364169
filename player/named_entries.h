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
// the entry's script line, reported from `refused`; a ParseError stands.
template <class ReadEntry>
void readNamedEntries(AsciiReader& reader, source::Location refused, ReadEntry readEntry) {
    reader.expectSymbol('{');
    for (;;) {
        Token token = reader.nextToken();
        if (token.isSymbol('}')) return;
        reader.pushBack(token);
        std::string name = reader.readStringOrQuoted();
        try {
            readEntry(name);
        } catch (const ParseError&) {
            throw;
        } catch (const ExceptionBase& e) {
            throw reader.error(e.message(), refused);
        }
    }
}

}  // namespace demo
