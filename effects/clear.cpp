#include "effects/clear.h"

#include <GL/gl.h>

#include "manager/ascii_reader.h"
#include "manager/parameters.h"

namespace demo {

namespace {
ProcessRegistrar<Clear> clearType("clear");
}

Clear::Clear(const std::string& name, ProcessType* type, AsciiReader& reader)
    : Process(name, type) {
    ParameterDesc table[] = {
        {"color", PARAM_VECTOR4, colour_.data(), nullptr},
        {nullptr, PARAM_END, nullptr, nullptr},
    };
    reader.readParameters(table);
}

void Clear::run(float) {
    glClearColor(colour_[0], colour_[1], colour_[2], colour_[3]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void Clear::handleEvent(Event* event) {
    if (event->kind() == ClearColourEvent::kKind) {
        colour_ = static_cast<ClearColourEvent*>(event)->colour;
    }
}

Event* Clear::createEvent(const std::string& command, Process*, AsciiReader& reader) {
    if (command != "SET_COLOR") return nullptr;
    Colour colour = reader.readVector4();
    reader.expectSymbol('}');
    return new ClearColourEvent(colour);
}

}  // namespace demo
