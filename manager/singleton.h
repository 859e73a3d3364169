#pragma once

namespace demo {

// Data-less base of the singletons (file system, process manager, progress
// bar and the managers), with only a virtual destructor.
class Singleton {
public:
    virtual ~Singleton() = default;
};

}  // namespace demo
