#include "player/show_sections.h"

#include <cmath>

#include "manager/ascii_reader.h"
#include "manager/file_system.h"
#include "manager/parameters.h"
#include "manager/source_location.h"
#include "manager/window.h"

namespace demo {

namespace {

constexpr source::Location kBadTempo{source::kDemoPlayer, 112};

// "part name begin tempo"
class PartReader : public CustomParameter {
public:
    explicit PartReader(TimelineParts& parts) : parts_(parts) {}

    void readParameter(const char*, AsciiReader& reader) override {
        std::string name = reader.readStringOrQuoted();
        float begin = reader.readNumber();
        float tempo = reader.readNumber();
        // Beats are converted with 60 / tempo; anything not finite would
        // give event times that are not numbers.
        if (!(tempo > 0.0f) || !std::isfinite(tempo)) throw reader.error("Tempo must be above 0.", kBadTempo);
        if (!std::isfinite(begin)) throw reader.error("The part's begin is not a finite number.", kBadTempo);
        parts_.add(name, begin, tempo);
    }

private:
    TimelineParts& parts_;
};

}  // namespace

void readDataSection(AsciiReader& reader) {
    reader.expectSymbol('{');
    for (;;) {
        Token token = reader.nextToken();
        if (token.isSymbol('}')) return;
        reader.pushBack(token);
        FileSystem::instance()->addDirectory(reader.readStringOrQuoted());
    }
}

void readScreenSection(AsciiReader& reader, DisplaySettings& settings) {
    bool singleBuffer = !settings.doubleBuffer;
    bool noCursor = !settings.showCursor;
    ParameterDesc table[] = {
        {"width", PARAM_INT, &settings.width, nullptr},
        {"height", PARAM_INT, &settings.height, nullptr},
        {"bits", PARAM_INT, &settings.colourBits, nullptr},
        {"fullscreen", PARAM_FLAG, &settings.fullscreen, nullptr},
        {"singlebuffer", PARAM_FLAG, &singleBuffer, nullptr},
        {"nocursor", PARAM_FLAG, &noCursor, nullptr},
        {nullptr, PARAM_END, nullptr, nullptr},
    };
    reader.readParameters(table);
    settings.doubleBuffer = !singleBuffer;
    settings.showCursor = !noCursor;
}

void readMusicSection(AsciiReader& reader, MusicSettings& music, TimelineParts& parts) {
    PartReader partReader(parts);
    ParameterDesc table[] = {
        {"file", PARAM_STRING, &music.file, nullptr},
        {"starttime", PARAM_FLOAT, &music.startTime, nullptr},
        {"stoptime", PARAM_FLOAT, &music.stopTime, nullptr},
        {"part", PARAM_CUSTOM, static_cast<CustomParameter*>(&partReader), nullptr},
        {nullptr, PARAM_END, nullptr, nullptr},
    };
    reader.readParameters(table);
}

}  // namespace demo
