#include "manager/text_pool.h"

#include <string>
#include <unordered_set>

namespace demo {
namespace {

// Never destroyed: texts handed out stay valid through static destruction.
// Set nodes do not move, so pointers into the strings stay valid as it grows.
std::unordered_set<std::string>& pool() {
    static auto* texts = new std::unordered_set<std::string>();
    return *texts;
}

}  // namespace

const char* internText(std::string_view text) {
    return pool().emplace(text).first->c_str();
}

std::size_t internedTextCount() { return pool().size(); }

}  // namespace demo
