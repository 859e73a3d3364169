#pragma once
// The shape the processes, textures and scenes sections share:
// "{" NAME entry ... "}", each entry reading the rest of itself.

#include <string>

#include "manager/ascii_reader.h"
#include "manager/exceptions.h"
#include "manager/source_location.h"

namespace demo {

// Calls readEntry(name) for each entry up to the closing brace.
template <class ReadEntry>
void readNamedEntries(AsciiReader& reader, ReadEntry readEntry) {
    reader.expectSymbol('{');
    for (;;) {
        Token token = reader.nextToken();
        if (token.isSymbol('}')) return;
        reader.pushBack(token);
        readEntry(reader.readStringOrQuoted());
    }
}

// The same, and a failure of the code that makes an entry (a texture, a
// scene) becomes a ParseError at the script line of the entry's name,
// reported from `refused`; a ParseError stands.
template <class ReadEntry>
void readNamedEntries(AsciiReader& reader, source::Location refused, ReadEntry readEntry) {
    readNamedEntries(reader, [&](const std::string& name) {
        const int line = reader.line();  // an entry may span lines: report its first
        try {
            readEntry(name);
        } catch (const ParseError&) {
            throw;
        } catch (const ExceptionBase& e) {
            ParseError atEntry = reader.error(e.message(), refused);
            throw ParseError(atEntry.text(), atEntry.scriptName(), line, refused.unit, refused.line);
        }
    });
}

}  // namespace demo
