#pragma once
// The cache of loaded scenes and the factory that makes them. A scene
// description is a quoted type word followed by what that type reads: for
// "3DS", the quoted 3DS file name.

#include <deque>
#include <map>
#include <memory>
#include <string>

#include "graphics/opengl/scene.h"
#include "manager/resource_cache.h"
#include "manager/singleton.h"

namespace demo {

class AsciiReader;

class SceneCreator {
  public:
    virtual ~SceneCreator() = default;
    virtual Scene* create(const std::string& name, AsciiReader& reader) = 0;
    virtual std::string name() const = 0;
};

// Reads the quoted file name and loads it; the scene is named after the
// file. A file that holds no scene is an ExceptionBase naming it.
class SceneCreator3DS : public SceneCreator {
  public:
    Scene* create(const std::string& name, AsciiReader& reader) override;
    std::string name() const override { return "3DS"; }
};

class SceneManager : public ResourceCache<Scene>, public Singleton {
  public:
    static SceneManager* instance();

    // Reads one description and stores the new scene under its own name
    // (an earlier scene of that name that nobody holds is destroyed), timed
    // and counted as one progress step; one reference, the caller's. Nothing
    // is stored when the description fails or its creator makes no scene
    // (null).
    Scene* loadTimed(const std::string& name, AsciiReader& reader);
    // The type word, then what the creator of that type makes (null when it
    // makes none). An unknown word is a ParseError at the reader's line.
    Scene* create(const std::string& name, AsciiReader& reader);

    // Creators wait here until the next create enters them by type word.
    void addCreator(std::unique_ptr<SceneCreator> creator);

    // The cache's creator on a miss: a 3DS file (by its extension, in any
    // case) loaded as it is, or a file holding a description, read as
    // loadTimed reads one; either is stored under the scene's own name too,
    // and a description that makes no scene gives null.
    Scene* createByName(const std::string& name);

    // Creators not yet entered in `types`, and the creators by type word.
    std::deque<std::unique_ptr<SceneCreator>> pending;
    std::map<std::string, std::unique_ptr<SceneCreator>> types;

  protected:
    Scene* create(const std::string& name) override;  // createByName

  private:
    SceneManager();
    // Stores the new scene under its own name; an earlier scene of that name
    // that nobody holds is destroyed. Null stores nothing.
    Scene* keep(Scene* scene);
};

}  // namespace demo
