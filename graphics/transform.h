#pragma once

#include "math/matrix.h"
#include "math/quaternion.h"
#include "math/vector3.h"

namespace demo {

class Serializable {
public:
    virtual ~Serializable() = default;
    virtual void serialize() = 0;
    virtual void deserialize() = 0;
};

class TransformInterface : public Serializable {
public:
    virtual const float* inverseMatrix() const = 0;
    virtual const float* matrix() const = 0;
    virtual Vector3 getPosition() const = 0;
};

// The coordinate frame of a scene node, camera or light. Owners write the
// position, orientation and scale, then call updateMatrices before reading
// `matrix` (object to parent) or `inverseMatrix` (parent to object, a camera's
// view).
class Transform : public TransformInterface {
public:
    Transform();
    explicit Transform(const Vector3& position);
    Transform(const Vector3& upDirection, const Vector3& position, const Vector3& target);

    void serialize() override;
    void deserialize() override;
    const float* inverseMatrix() const override { return inverse.data(); }
    const float* matrix() const override { return objectMatrix.data(); }
    Vector3 getPosition() const override { return {objectMatrix[12], objectMatrix[13], objectMatrix[14]}; }
    virtual void setPosition(const Vector3& position);

    // Zero components become 1, so the inverse never divides by zero.
    void setScale(const Vector3& s);

    // Turn the frame about its own local axes.
    void rotateYPos(float angle);
    void rotateYNeg(float angle);
    void rotateXNeg(float angle);
    void rotateZPos(float angle);
    void rotateZNeg(float angle);

    // Moves by v expressed in the frame's local axes.
    void moveLocal(const Vector3& v);

    // Points local +Z at target with local +Y towards `up`, then rolls about
    // local Z. A target at the position leaves the orientation as it is; an
    // `up` along the view direction is replaced by a perpendicular one.
    void lookAt(const Vector3& target, float roll);

    // The transpose of the orientation's rotation: row j is local axis j.
    Matrix3 orientationMatrix() const;

    void updateMatrices();
    void rebuildInverse();

    Matrix4 objectMatrix = identityMatrix4();
    Matrix4 spareMatrix = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    Matrix4 inverse = identityMatrix4();
    float scale[3] = {1.0f, 1.0f, 1.0f};
    Quaternion orientation{0, 0, 0, 1};
    Vector3 up{0, 1, 0};

private:
    void turn(float angle, const Vector3& axis);
};

}  // namespace demo
