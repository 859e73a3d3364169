#pragma once
// The one way to put a fake in place of a platform piece (the display, the
// music stream, the performance counter): each piece is an interface with a
// process-wide real implementation, and a slot where a test puts its own.

namespace demo::platform {

template <class Piece>
class Replaceable {
public:
    // The fake when one is in place, else the real piece.
    static Piece& current() { return fake_ != nullptr ? *fake_ : Piece::real(); }
    // Puts a fake in place (not owned); null restores the real piece.
    static void replace(Piece* fake) { fake_ = fake; }

private:
    static inline Piece* fake_ = nullptr;
};

}  // namespace demo::platform
