#include "math/vector3.h"

#include <ostream>

namespace demo {

std::ostream& operator<<(std::ostream& out, const Vector3& v) {
    return out << '(' << v.x << ' ' << v.y << ' ' << v.z << ')';
}

}  // namespace demo
