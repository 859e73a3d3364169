#include "manager/event.h"

#include "manager/process.h"

namespace demo {

Event::~Event() {
    if (target != nullptr) ProcessManager::instance()->release(target);
}

}  // namespace demo
